#include "model/project.h"

#include "runtime/addon.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"

namespace lunvik {

using platform::fourcc;
using platform::HostFunctionTable;

Project::Project()
    : store_(std::make_unique<ObjectStore>(kPreferenceStoreName)),
      library_(std::make_unique<Library>(this)),
      plan_(std::make_unique<Plan>(this)),
      model_(std::make_unique<Model>(this)),
      specification_(std::make_unique<Specification>()) {}

Project::~Project() = default;

template <typename T, typename L>
Drawing* Project::listDrawing(std::unique_ptr<L>& list, const platform::DatabaseRecord& database, uint32_t query,
                              uint32_t query2) {
  if (!list) {
    list = std::make_unique<L>();
    for (uint32_t q : {query, query2}) {
      if (q == 0) continue;
      platform::GSHandle ids = nullptr;
      if (host().call(&HostFunctionTable::HostDatabase, q, &ids, nullptr, nullptr) == platform::kNoError && ids) {
        std::size_t n = handleSize(ids) / sizeof(platform::DatabaseRecord);
        const auto* r = reinterpret_cast<const platform::DatabaseRecord*>(*ids);
        for (std::size_t i = 0; i < n; ++i) list->put({r[i].number, r[i].index}, std::make_unique<T>(this, r[i]));
      }
      disposeHandle(ids);
    }
  }
  std::pair<int16_t, int32_t> key(database.number, database.index);
  if (T* found = list->get(key)) return found;
  platform::DatabaseRecord id = database;
  auto made = std::make_unique<T>(this, id);
  T* out = made.get();
  list->put(key, std::move(made));
  return out;
}

Drawing* Project::drawing(const platform::DatabaseRecord& database) {
  switch (database.kind) {
    case platform::kDatabasePlan: return plan_.get();
    case platform::kDatabaseModel: return model_.get();
    case platform::kDatabaseSection: return listDrawing<Section>(sectionList_, database, fourcc("GSDI"));
    case platform::kDatabaseDetail: return listDrawing<Detail>(detailList_, database, fourcc("GDDI"));
    case platform::kDatabaseLayout:
    case platform::kDatabaseMasterLayout:
      return listDrawing<Layout>(layoutList_, database, fourcc("GLDI"), fourcc("GMDI"));
    case platform::kDatabaseElevation: return listDrawing<Elevation>(elevationList_, database, fourcc("GEDI"));
    case platform::kDatabaseInteriorElevation:
      return listDrawing<InteriorElevation>(interiorElevationList_, database, fourcc("GIED"));
    case platform::kDatabaseWorksheet: return listDrawing<Worksheet>(worksheetList_, database, fourcc("GWDI"));
    case platform::kDatabaseDocument3D: return listDrawing<Document3D>(document3DList_, database, fourcc("GD3D"));
    default: return nullptr;
  }
}

Drawing* Project::currentDrawing() {
  int32_t kind = 0, index = 0;
  int16_t number = 0;
  if (host().call(&HostFunctionTable::HostDatabase, fourcc("GDAT"), &kind, &index, &number) != platform::kNoError)
    return nullptr;
  return drawing(platform::DatabaseRecord{kind, number, 0, index});
}

Drawing* Project::workingDrawing() {
  if (Drawing* d = currentDrawing()) workingDrawing_ = d;
  return workingDrawing_;
}

Drawing* Project::frontDrawing() {
  if (Drawing* d = currentDrawing()) frontDrawing_ = d;
  return frontDrawing_;
}

bool Project::activate(Drawing& target) {
  int32_t kind = 0, index = 0;
  int16_t number = 0;
  platform::GSErr err = host().call(&HostFunctionTable::HostDatabase, fourcc("GDAT"), &kind, &index, &number);
  const platform::DatabaseRecord& id = target.identity();
  if (err == platform::kNoError && kind == id.kind && index == id.index && number == id.number) return true;
  platform::DatabaseRecord wanted = id;
  err = host().call(&HostFunctionTable::HostDatabase, fourcc("CDAT"), &wanted, nullptr, nullptr);
  target.setLastError(err);
  if (err != platform::kNoError) return false;
  workingDrawing_ = &target;
  return true;
}

void Project::forEachDrawing(void (*fn)(Drawing&)) {
  fn(*plan_);
  fn(*model_);
  auto each = [fn](auto& list) {
    if (list)
      for (auto& entry : *list) fn(*entry.second);
  };
  each(sectionList_);
  each(detailList_);
  each(elevationList_);
  each(interiorElevationList_);
  each(layoutList_);
  each(worksheetList_);
  each(document3DList_);
}

void Project::close() {
  forEachDrawing([](Drawing& d) { d.releaseCaches(); });
  sectionList_.reset();
  detailList_.reset();
  elevationList_.reset();
  interiorElevationList_.reset();
  layoutList_.reset();
  worksheetList_.reset();
  document3DList_.reset();
  workingDrawing_ = nullptr;
  frontDrawing_ = nullptr;
  specification_->releaseCaches();
}

void Project::dropCaches() {
  library_->releaseCaches();
  forEachDrawing([](Drawing& d) { d.releaseCaches(); });
  specification_->releaseCaches();
  workingDrawing_ = nullptr;
  frontDrawing_ = nullptr;
}

void Project::rebuildPlan() const {
  host().call(&HostFunctionTable::HostInterface, fourcc("RBPL"), nullptr, nullptr, nullptr);
}

}  // namespace lunvik
