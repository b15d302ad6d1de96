// The open project as the add-on sees it.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "model/attribute.h"
#include "model/drawing.h"
#include "model/library.h"
#include "runtime/containers.h"
#include "storage/object_store.h"

namespace lunvik {

// An ordered owning map from (number, index) to the drawings of one database kind.
template <typename T>
class DatabaseList : public Map<std::pair<int16_t, int32_t>, T> {};

class SectionList : public DatabaseList<Section> {};
class DetailList : public DatabaseList<Detail> {};
class ElevationList : public DatabaseList<Elevation> {};
class InteriorElevationList : public DatabaseList<InteriorElevation> {};
class LayoutList : public DatabaseList<Layout> {};
class WorksheetList : public DatabaseList<Worksheet> {};
class Document3DList : public DatabaseList<Document3D> {};

// The project: its drawings, library and attributes, fetched from the host on demand, and
// its own store of preference packages (saved as the add-on's module data).
class Project {
 public:
  Project();
  virtual ~Project();
  Project(const Project&) = delete;
  Project& operator=(const Project&) = delete;

  // The project's own package store.
  ObjectStore& store() const { return *store_; }
  ObjectStore& objectStore() const { return *store_; }
  // The loaded libraries.
  Library& library() const { return *library_; }
  // The floor plan.
  Plan& plan() const { return *plan_; }
  // The 3D model.
  Model& model() const { return *model_; }
  // The attribute catalogue.
  Specification& specification() const { return *specification_; }
  // The drawing of a database identity by its kind (the lists load on first use); null for
  // a kind without drawings or a database the host does not have.
  Drawing* drawing(const platform::DatabaseRecord& database);
  // The drawing of the host's current database, asked each time and cached in its own slot.
  Drawing* workingDrawing();
  Drawing* frontDrawing();
  // Makes drawing the host's current database; true at once when it is.
  bool activate(Drawing& drawing);
  // Releases every drawing's caches and deletes the lists; forgets the working drawings.
  void close();
  // Forgets every cached answer of the host (libraries, drawings, attributes).
  virtual void dropCaches();
  // Has the host rebuild the plan's drawing.
  void rebuildPlan() const;

 private:
  template <typename T, typename L>
  Drawing* listDrawing(std::unique_ptr<L>& list, const platform::DatabaseRecord& database, uint32_t query,
                       uint32_t query2 = 0);
  Drawing* currentDrawing();
  void forEachDrawing(void (*fn)(Drawing&));

  std::unique_ptr<ObjectStore> store_;
  std::unique_ptr<Library> library_;
  std::unique_ptr<Plan> plan_;
  std::unique_ptr<Model> model_;
  std::unique_ptr<Specification> specification_;
  std::unique_ptr<SectionList> sectionList_;
  std::unique_ptr<DetailList> detailList_;
  std::unique_ptr<ElevationList> elevationList_;
  std::unique_ptr<InteriorElevationList> interiorElevationList_;
  std::unique_ptr<LayoutList> layoutList_;
  std::unique_ptr<WorksheetList> worksheetList_;
  std::unique_ptr<Document3DList> document3DList_;
  Drawing* workingDrawing_ = nullptr;
  Drawing* frontDrawing_ = nullptr;
};

}  // namespace lunvik
