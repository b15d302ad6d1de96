// Databases and drawings: the plan, the 3D model, sections, elevations and the other
// databases of the project; iteration with filters, reading, storing and editing elements,
// selection, groups and storeys.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "geometry/cad_cube.h"
#include "geometry/cad_line.h"
#include "geometry/transformation.h"
#include "model/element.h"
#include "model/element_link.h"
#include "model/storey.h"
#include "platform/element_records.h"

namespace lunvik {

class BaseElemSelection;
class Library;
class Project;
class Specification;

// A host database.
class Database {
 public:
  virtual ~Database() = default;
  // The database's identity.
  virtual const platform::DatabaseRecord& identity() const = 0;
  // The database's kind.
  virtual int32_t kind() const = 0;
};

// One database of the project as the framework sees it.
class Drawing : public Database {
 public:
  // The predicate of iteration and lookup.
  class Filter {
   public:
    Filter(int32_t filterBits, int32_t typeID, bool selectedOnly, bool reuseCount, bool withUserDataOnly);
    Filter(int32_t typeID, bool selectedOnly, bool reuseCount, bool withUserDataOnly);
    Filter(bool selectedOnly = false, bool withUserDataOnly = false);
    Filter(const Filter&) = default;
    virtual ~Filter() = default;
    virtual std::unique_ptr<Filter> clone() const { return std::make_unique<Filter>(*this); }
    // True by default; subclasses narrow it.
    virtual bool accept(const Element&) const { return true; }

    int32_t lastCount = 0;
    int32_t filterBits = 0;
    int32_t typeID = 0;
    bool reuseCount = false;
    bool selectedOnly = false;
    bool withUserDataOnly = false;
    bool stepOverKinds = true;
  };

  // Walks the elements that pass a filter; advancing deletes the current element, storing it
  // first when write-back is set.
  class iterator {
   public:
    iterator() = default;
    iterator(Drawing* drawing, std::unique_ptr<Element> current, std::unique_ptr<Filter> filter, bool writeBack);
    iterator(iterator&&) noexcept = default;
    iterator& operator=(iterator&&) noexcept = default;
    virtual ~iterator();
    // Gives the current element to the caller; the iterator steps on from its link.
    virtual std::unique_ptr<Element> release();
    virtual bool writeBack() const { return writeBack_; }
    virtual void setWriteBack(bool on) { writeBack_ = on; }
    iterator& operator++();
    Element* get() const { return current_.get(); }
    Element* operator->() const { return current_.get(); }
    Element& operator*() const { return *current_; }
    explicit operator bool() const { return current_ != nullptr || released_; }
    bool atEnd() const { return !current_ && !released_; }
    // The current element as T, or null.
    template <typename T>
    T* as() const { return dynamic_cast<T*>(current_.get()); }

   private:
    Drawing* drawing_ = nullptr;
    std::unique_ptr<Element> current_;
    std::unique_ptr<Filter> filter_;
    ElementLink position_;
    bool writeBack_ = false;
    bool released_ = false;
  };

  Drawing(Project* project, const platform::DatabaseRecord& identity);
  ~Drawing() override;
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;

  // Deletes the selection cache and the storey list.
  virtual void releaseCaches();
  // Reads the element with the link's GUID (falls back to getElement); null when missing.
  virtual std::unique_ptr<Element> findByGuid(const ElementLink& link);
  // The cached selection, loaded on demand.
  virtual const ElemRefList* selection();
  // Replaces the host's selection by refs.
  virtual bool select(const ElemRefList& refs);
  // True at the first selected element that passes filter.
  virtual bool hasSelected(const Filter& filter);
  virtual bool select(const BaseElemSelection& selection);
  virtual bool deselectAll();
  virtual bool addToSelection(const BaseElemSelection& selection);
  virtual bool addToSelection(const ElementLink& link);
  virtual bool removeFromSelection(const ElementLink& link);
  // With selectedOnly the cached selection's entries (of kind when given); otherwise the
  // host's count of kind (kind 0 sums kinds 1 to 32); with checkEach only existing ones.
  virtual int32_t count(int32_t typeID, bool selectedOnly, bool checkEach);
  // The index of the element with guid (0 when the host does not know it).
  virtual int32_t indexOfGuid(const platform::Guid& guid, int32_t* typeID, uint32_t* variation);
  // A new memo of the element (mask 0: every part), or null.
  virtual std::unique_ptr<ElementMemoStore> getMemo(const ElementLink& link, int32_t mask);
  // Reads the element's header by kind and index and rebuilds link; false on failure.
  virtual bool readHeader(ElementLink& link, platform::ElementHeader* header);
  // Writes the element back: created when asNew, unknown to the host or of another drawing;
  // otherwise changed in place.
  virtual bool store(Element& element, bool asNew = false);
  // Applies source's record (or the element's) to the element, then its queued edits.
  virtual bool change(Element& element, const Element* source, int32_t mask);
  // Applies one edit to the element of link; link follows the edited (or copied) element.
  virtual bool applyTransformation(ElementLink& link, const Transformation& transformation);
  // The given edit, or every queued one in turn (stopping at the first failure).
  virtual bool applyTransformations(Element& element, const Transformation* transformation);
  virtual bool remove(const ElementLink& link);
  virtual bool group(const BaseElemSelection& selection);
  virtual bool ungroup(const BaseElemSelection& selection);
  virtual bool lock(const BaseElemSelection& selection);
  virtual bool unlock(const BaseElemSelection& selection);
  virtual bool hide(const ElemRefList& refs);
  virtual bool redraw(const ElemRefList& refs);
  const platform::DatabaseRecord& identity() const override { return identity_; }
  int32_t kind() const override { return identity_.kind; }
  virtual platform::GSErr lastError() const { return lastError_; }
  virtual Library* library() const;
  virtual Specification* specification() const;
  virtual Drawing* database() { return this; }
  // The plan's current storey, or null.
  virtual const Storey* currentStorey();
  virtual bool goToStorey(const Storey& storey, bool flag);
  virtual bool zoomTo(const CadCube& box);
  virtual bool zoomTo(const CadPoint& corner1, const CadPoint& corner2);
  // The drawing's extent (whole) or visible zoom; null on failure.
  virtual std::unique_ptr<CadCube> extent(bool whole);
  virtual double scale();
  // The model length one screen pixel spans: the distance between the model points of the
  // screen points (0, 0) and (0, 100) ('PTOC'), over 100; 0 on failure.
  virtual double pixelSize();
  virtual bool redrawAll();
  virtual bool rebuild(int32_t flags);
  virtual bool rebuildAll();
  // Reads the host's selection into the cache when not cached.
  virtual void loadSelection();
  // The next element (forward or back) from link that passes filter; null at the end.
  virtual std::unique_ptr<Element> findNext(const ElementLink& link, bool forward, Filter& filter);
  // Reads one element; null when it is missing, filtered out or of an unknown kind.
  virtual std::unique_ptr<Element> getElement(const ElementLink& link, const Filter* filter);
  // Moves link on past the last kind; false in every drawing but the cut planes.
  virtual bool nextKind(ElementLink& link);
  // A copy of link; cut planes map a proxy link to the element behind it.
  virtual bool resolveLink(ElementLink& out, const ElementLink& link, const Filter* filter);
  virtual void setLastError(platform::GSErr code) { lastError_ = code; }

  // An iterator at the first element that passes filter.
  iterator begin(const Filter& filter, bool writeBack = false);
  // Changes the display order of the selection ('OFR1' to the front, 'OBA1' to the back).
  bool displayOrder(uint32_t code, const BaseElemSelection& selection);
  // The plan's storeys (loaded on demand); empty in other drawings.
  const StoreyList& storeys();
  // The storey of that number, or null.
  const Storey* storey(int16_t number);
  Project* project() const { return project_; }
  // Makes this drawing the host's current database.
  bool activate();
  // True when the host succeeded with the last call.
  bool succeeded() const { return lastError_ == platform::kNoError; }

 protected:
  // Records the code and answers whether it is success.
  bool record(platform::GSErr code) {
    lastError_ = code;
    return code == platform::kNoError;
  }
  // The user-data check of a filter.
  bool passesUserData(const platform::ElementHeader& header) const;
  // Runs an element tool on the links of a selection.
  bool elementTool(uint32_t code, const BaseElemSelection& selection);
  bool selectItems(const ElemRefList& refs, bool add);
  // Finds a link in the sorted selection cache.
  bool inSelection(const ElementLink& link);

  Project* project_;
  platform::DatabaseRecord identity_;
  std::unique_ptr<ElemRefList> selectionCache_;
  std::unique_ptr<StoreyList> storeys_;
  int16_t currentStorey_ = 0;
  platform::GSErr lastError_ = platform::kNoError;
  bool selectionSorted_ = false;
};

// The floor plan.
class Plan : public Drawing {
 public:
  explicit Plan(Project* project) : Drawing(project, platform::DatabaseRecord{platform::kDatabasePlan, 0, 0, 0}) {}
};

// The 3D model window.
class Model : public Drawing {
 public:
  explicit Model(Project* project) : Drawing(project, platform::DatabaseRecord{platform::kDatabaseModel, 0, 0, 0}) {}
};

// The other drawing kinds.
class City : public Drawing {
 public:
  using Drawing::Drawing;
};
class Layout : public Drawing {
 public:
  using Drawing::Drawing;
};
class Detail : public Drawing {
 public:
  using Drawing::Drawing;
};
class Worksheet : public Drawing {
 public:
  using Drawing::Drawing;
};
class Document3D : public Drawing {
 public:
  using Drawing::Drawing;
};

// A section or an elevation: its own elements and proxies standing for plan elements.
class CutPlane : public Drawing {
 public:
  using Drawing::Drawing;
  // Past the last kind, iteration moves on to the proxies (kind 29).
  bool nextKind(ElementLink& link) override;
  // A proxy link becomes the link of the element behind it.
  bool resolveLink(ElementLink& out, const ElementLink& link, const Filter* filter) override;
  // Proxies are read as the plan elements behind them.
  std::unique_ptr<Element> getElement(const ElementLink& link, const Filter* filter) override;
  // The cut line (plan coordinates) and the view angle; false on failure.
  bool cutLine(CadPoint& begin, CadPoint& end, double& angle);
  // The model position of a view point: h along the cut line, v up.
  bool toModel(double h, double v, CadPoint& model);
  // The view position of a model point.
  bool toView(const CadPoint& model, double& h, double& v);
};

class Section : public CutPlane {
 public:
  using CutPlane::CutPlane;
};
class Elevation : public CutPlane {
 public:
  using CutPlane::CutPlane;
};
class InteriorElevation : public CutPlane {
 public:
  using CutPlane::CutPlane;
};

// Keeps the filter of a proxy: accepts section proxies only.
class IsElementProxy : public Drawing::Filter {
 public:
  IsElementProxy() : Filter(platform::kSectionProxy, false, false, false) {}
  std::unique_ptr<Filter> clone() const override { return std::make_unique<IsElementProxy>(*this); }
  bool accept(const Element& element) const override { return element.typeID() == platform::kSectionProxy; }
};

// Accepts the section and elevation references.
class IsCutPlaneRef : public Drawing::Filter {
 public:
  IsCutPlaneRef() = default;
  std::unique_ptr<Filter> clone() const override { return std::make_unique<IsCutPlaneRef>(*this); }
  bool accept(const Element& element) const override {
    return element.typeID() == platform::kSectionReference || element.typeID() == platform::kElevationReference;
  }
};

}  // namespace lunvik
