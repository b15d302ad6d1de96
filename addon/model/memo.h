// Memo parts: the variable-length data of an element (polygons, gables, parameters) moved
// between the host's memo record and objects.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "geometry/cad_poly.h"
#include "model/parameter_list.h"
#include "platform/element_records.h"

namespace lunvik {

// Typed access to the handles of a host memo record.
class MemoStore {
 public:
  virtual ~MemoStore() = default;
  virtual platform::ElementMemoRecord& record() = 0;
  platform::GSHandle& coords() { return polygon_ ? polygon_[0] : record().coords; }
  platform::GSHandle& contourEnds() { return polygon_ ? polygon_[1] : record().contourEnds; }
  platform::GSHandle& arcs() { return polygon_ ? polygon_[2] : record().arcs; }
  platform::GSHandle& vertexIDs() { return polygon_ ? polygon_[3] : record().vertexIDs; }
  platform::GSHandle& params() { return record().params; }
  platform::GSHandle& gables() { return record().gables; }
  platform::GSHandle& text() { return record().text; }
  platform::GSHandle& members() { return record().members; }
  platform::GSHandle& skins() { return record().skins; }
  // Redirects the four polygon parts to a secondary polygon (four handles), or back (null).
  void redirectPolygon(platform::GSHandle* polygon) { polygon_ = polygon; }

 private:
  platform::GSHandle* polygon_ = nullptr;
};

// Wraps an element memo: a new zeroed one when given none; frees it with all its handles
// when destroyed unless it has been handed on.
class ElementMemoStore : public MemoStore {
 public:
  ElementMemoStore();
  // Takes over memo (its handles become the store's).
  explicit ElementMemoStore(const platform::ElementMemoRecord& memo);
  ~ElementMemoStore() override;
  ElementMemoStore(const ElementMemoStore&) = delete;
  ElementMemoStore& operator=(const ElementMemoStore&) = delete;

  platform::ElementMemoRecord& record() override { return memo_; }
  // Hands the memo on: the caller frees it (freeMemo) from now on.
  platform::ElementMemoRecord release();
  // Frees every handle of a memo (parameter arrays included) and zeroes it.
  static void freeMemo(platform::ElementMemoRecord& memo);

 private:
  platform::ElementMemoRecord memo_{};
  bool released_ = false;
};

// Wraps an attribute's memo (the same record: a composite's skins, a zone category's
// parameters), freeing it as ElementMemoStore does.
class AttributeMemoStore : public ElementMemoStore {
 public:
  using ElementMemoStore::ElementMemoStore;
};

class Element;

// One part of an element's memo, with a loaded flag.
class Memo {
 public:
  virtual ~Memo() = default;
  virtual bool isLoaded() const { return loaded_; }
  // When not loaded, asks the owner to load the memo with mask; then whether it is loaded.
  virtual bool ensureLoaded(int32_t mask);
  // The owning element's loadMemo.
  virtual bool load(int32_t mask, MemoStore* store);
  // Puts this part into a memo being built.
  virtual bool write(MemoStore& store) const = 0;
  // Replaces this part from a memo read from the host and marks it loaded.
  virtual bool read(MemoStore& store) = 0;
  // The memo mask bit of this part.
  virtual int32_t maskBit() const = 0;
  void setLoaded(bool loaded) { loaded_ = loaded; }
  void setOwner(Element* owner) { owner_ = owner; }
  Element* owner() const { return owner_; }

 protected:
  bool loaded_ = false;
  Element* owner_ = nullptr;
};

// The parameters of a placed library part; every list operation loads them first.
class ParameterMemo : public Memo, public ParameterList {
 public:
  ParameterMemo() = default;
  ParameterMemo(const ParameterMemo& other) : Memo(other), ParameterList(other) { owner_ = nullptr; }
  ParameterMemo& operator=(const ParameterMemo&) = default;
  int32_t indexOf(const CadString& name) const override;
  Parameter* parameter(int32_t position) override;
  const Parameter* parameter(int32_t position) const override;
  Parameter* parameter(const CadString& name) override;
  const Parameter* parameter(const CadString& name) const override;
  int32_t count() const override;
  bool write(MemoStore& store) const override;
  bool read(MemoStore& store) override;
  int32_t maskBit() const override { return platform::kMemoParams; }

 private:
  void loadNow() const { const_cast<ParameterMemo*>(this)->ensureLoaded(platform::kMemoParams); }
};

// One skin of a composite, outside first.
struct Skin {
  int16_t fill = 0;
  int16_t pen = 0;
  bool core = false;
  double thickness = 0;
};

// The skins of a composite.
class ConstructionMemo : public Memo {
 public:
  bool write(MemoStore& store) const override;
  bool read(MemoStore& store) override;
  int32_t maskBit() const override { return platform::kMemoSkins; }
  std::vector<Skin>& skins() { return skins_; }
  const std::vector<Skin>& skins() const { return skins_; }

 private:
  std::vector<Skin> skins_;
};

// One host gable record, kept unchanged.
struct Gable {
  uint8_t bytes[88];
};

// The gables of an element.
class GableMemo : public Memo {
 public:
  bool write(MemoStore& store) const override;
  bool read(MemoStore& store) override;
  int32_t maskBit() const override { return platform::kMemoGables; }
  std::vector<Gable>& gables() { return gables_; }

 private:
  std::vector<Gable> gables_;
};

// A polygon with its vertex numbering (the host's polygon memo format).
class PolygonMemo : public Memo {
 public:
  PolygonMemo() = default;
  PolygonMemo(const PolygonMemo& other);
  PolygonMemo& operator=(const PolygonMemo& other);
  bool write(MemoStore& store) const override;
  bool read(MemoStore& store) override;
  int32_t maskBit() const override { return platform::kMemoPolygon; }
  // The polygon, or null when the memo holds none.
  const CadPoly* polygon() const { return polygon_.get(); }
  CadPoly* polygon() { return polygon_.get(); }
  // Takes over polygon (null empties the memo).
  void setPolygon(std::unique_ptr<CadPoly> polygon) { polygon_ = std::move(polygon); }

  // Reads the four polygon handles into a polygon; null when they do not form one (every
  // index is checked against the handles' sizes).
  static std::unique_ptr<CadPoly> readPolygon(platform::GSHandle coords, platform::GSHandle ends,
                                              platform::GSHandle arcs, platform::GSHandle vertexIDs);
  // Writes polygon into the four handles (new ones); false when memory runs out.
  static bool writePolygon(const CadPoly& polygon, platform::GSHandle& coords, platform::GSHandle& ends,
                           platform::GSHandle& arcs, platform::GSHandle& vertexIDs);

 protected:
  std::unique_ptr<CadPoly> polygon_;
};

// The polygon part of elements with levels (meshes): a polygon plus one level per vertex.
class PolygonLevelMemo : public PolygonMemo {
 public:
  std::vector<double>& levels() { return levels_; }

 private:
  std::vector<double> levels_;
};

}  // namespace lunvik
