#include "model/element.h"

#include <cmath>
#include <cstring>

#include "model/drawing.h"
#include "model/element3d.h"
#include "model/project.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"

namespace lunvik {

using platform::HostFunctionTable;

bool deferMemoLoading() { return Environment::instance().models().deferMemoLoading; }
void setDeferMemoLoading(bool on) { Environment::instance().models().deferMemoLoading = on; }

Element::Element(const platform::ElementRecord& record, const ElementLink& link) : link_(link), record_(record) {}

Element::Element(int32_t typeID) : link_(typeID, 0, platform::Guid{}) { record_.header.typeID = typeID; }

Element::Element(const Element& other)
    : link_(other.link_),
      record_(other.record_),
      transforms_(other.transforms_ ? std::make_unique<TransformList>(*other.transforms_) : nullptr),
      drawing_(other.drawing_),
      defaultsLoaded_(other.defaultsLoaded_) {}

Element::~Element() = default;

const Element3D* Element::model3D() const {
  if (!model3D_ && link_.index() != 0) model3D_ = std::make_unique<Element3D>(link_);
  return model3D_.get();
}

std::unique_ptr<Element3D> Element::takeModel3D() {
  model3D();
  return std::move(model3D_);
}

void Element::setLink(const ElementLink& link) {
  link_ = link;
  link_.toHeader(record_.header);
}

void Element::clearIdentity() {
  link_.clearIdentity();
  record_.header.index = 0;
  record_.header.guid = platform::Guid{};
}

int32_t Element::userDataFlags() const {
  platform::UserDataRecord record{};
  if (host().call(&HostFunctionTable::HostGetElementUserData, &header(), &record) != platform::kNoError) return 0;
  disposeHandle(record.data);
  return record.flags;
}

bool Element::userData(std::string& data, int32_t* value) const {
  platform::UserDataRecord record{};
  if (host().call(&HostFunctionTable::HostGetElementUserData, &header(), &record) != platform::kNoError) return false;
  if (!record.data) return false;
  data.assign(*record.data, handleSize(record.data));
  disposeHandle(record.data);
  if (value) *value = record.value;
  return true;
}

bool Element::setUserData(const std::string& data, bool force, bool mark, int32_t value) {
  if (data.empty()) return false;
  if (!force) {
    std::string old;
    int32_t oldValue = 0;
    if (userData(old, &oldValue) && old == data && oldValue == value) return false;
  }
  HandleOwner handle(newHandle(data.data(), data.size()));
  if (!handle.get()) return false;
  platform::UserDataRecord record{};
  record.version = 1;
  record.platform = Environment::platformCode();
  record.data = handle.get();
  record.value = value;
  platform::ElementHeader h = header();
  if (host().call(&HostFunctionTable::HostSetElementUserData, &h, &record) != platform::kNoError) return false;
  if (mark) markUserData(true);
  header() = h;
  link_.setFromHeader(h);
  return true;
}

bool Element::removeUserData() {
  platform::UserDataRecord record{};
  record.version = 1;
  record.platform = Environment::platformCode();
  platform::ElementHeader h = header();
  if (host().call(&HostFunctionTable::HostSetElementUserData, &h, &record) != platform::kNoError) return false;
  header() = h;
  return true;
}

bool Element::markUserData(bool on) {
  if (host().call(&HostFunctionTable::HostLinkElement, &header(), on) != platform::kNoError) return false;
  header().marked = on ? 1 : 0;
  return true;
}

std::unique_ptr<Pen> Element::getPen(int32_t) const { return nullptr; }
int32_t Element::setPen(const Pen& pen, int32_t) { return pen.index(); }

double Element::elevation(bool absolute) const { return absolute ? storeyElevation() : 0.0; }

double Element::storeyElevation() const {
  Drawing* d = drawing();
  if (!d || d->kind() != platform::kDatabasePlan) return 0.0;
  const Storey* s = d->storey(header().storey);
  return s ? s->elevation() : 0.0;
}

double Element::height() const {
  auto box = boundingBox();
  return box ? box->max().getZ() - box->min().getZ() : 0.0;
}
double Element::width() const {
  auto box = boundingBox();
  return box ? box->max().getX() - box->min().getX() : 0.0;
}
double Element::depth() const {
  auto box = boundingBox();
  return box ? box->max().getY() - box->min().getY() : 0.0;
}
double Element::perimeter() const {
  auto poly = outline();
  return poly ? poly->length2D() : 0.0;
}
double Element::area() const {
  auto poly = outline();
  return poly ? poly->area(true) : 0.0;
}

std::unique_ptr<CadCube> Element::boundingBox() const {
  CadCube extent;
  if (const Element3D* model = model3D())
    if (model->extent(extent)) return std::make_unique<CadCube>(extent);
  if (link_.isResolved()) {
    if (auto box = hostBox()) {
      double z = elevation(true);
      box->min().z() += z;
      box->max().z() += z;
      return box;
    }
  }
  return ownBox();
}

std::unique_ptr<CadCube> Element::hostBox() const {
  // The host finds the element by its GUID in whichever database it lives.
  platform::ElementHeader element = header();
  link_.toHeader(element);
  platform::Box3DRecord box{};
  if (host().call(&HostFunctionTable::HostDatabase, platform::fourcc("CABO"), &element, &box, nullptr) !=
      platform::kNoError)
    return nullptr;
  if (!std::isfinite(box.xMin) || !std::isfinite(box.yMin) || !std::isfinite(box.zMin) || !std::isfinite(box.xMax) ||
      !std::isfinite(box.yMax) || !std::isfinite(box.zMax))
    return nullptr;
  return std::make_unique<CadCube>(CadPoint(box.xMin, box.yMin, box.zMin), CadPoint(box.xMax, box.yMax, box.zMax));
}

std::unique_ptr<CadCube> Element::ownBox() const {
  auto poly = outline();
  if (!poly) return nullptr;
  auto box = poly->boundingBox();
  if (!box) return nullptr;
  double z = elevation(true);
  box->min().z() += z;
  box->max().z() += z;
  return box;
}

void Element::addTransformation(std::unique_ptr<Transformation> transformation) {
  if (!transformation) return;
  if (!transforms_) transforms_ = std::make_unique<TransformList>();
  transforms_->push_back(std::move(transformation));
}

std::unique_ptr<Transformation> Element::takeTransformation() {
  if (!transforms_ || transforms_->empty()) return nullptr;
  std::unique_ptr<Transformation> first(transforms_->release(0));
  if (transforms_->empty()) transforms_.reset();
  return first;
}

std::unique_ptr<platform::ElementRecord> Element::hostRecord() const {
  auto record = std::make_unique<platform::ElementRecord>(record_);
  link_.toHeader(record->header);
  return record;
}

bool Element::loadMemo(int32_t, MemoStore*) { return true; }

std::unique_ptr<ElementMemoStore> Element::buildMemo(int32_t& mask) const {
  mask = 0;
  return std::make_unique<ElementMemoStore>();
}

platform::GSErr Element::getDefaults(platform::ElementRecord& record) const {
  record = platform::ElementRecord{};
  record.header.typeID = typeID();
  record.header.variation = header().variation;
  return host().call(&HostFunctionTable::HostGetElementDefaults, &record, nullptr);
}

platform::GSErr Element::loadDefaultsRecord() {
  platform::ElementRecord fresh{};
  platform::GSErr err = getDefaults(fresh);
  if (err == platform::kNoError) {
    platform::ElementHeader keep = record_.header;
    record_ = fresh;
    record_.header.typeID = keep.typeID;
    record_.header.index = keep.index;
    record_.header.guid = keep.guid;
    defaultsLoaded_ = true;
  }
  return err;
}

std::unique_ptr<ElementMemoStore> Element::fetchMemo(int32_t mask) const {
  Drawing* d = drawing_;
  if (!d) {
    if (!link_.isResolved()) return nullptr;
    Addon* addon = theAddon();
    Project* project = addon ? addon->project() : nullptr;
    d = project ? project->drawing(link_.database()) : nullptr;
  }
  if (!d) return nullptr;
  return d->getMemo(link_, mask);
}

// ---- creators ----

void ElementCreators::add(int32_t typeID, ElementCreator creator) {
  if (!addon_) addon_ = std::make_unique<std::multimap<int32_t, ElementCreator>>();
  addon_->emplace(typeID, creator);
}

void ElementCreators::remove(int32_t typeID, ElementCreator creator) {
  if (!addon_) return;
  auto range = addon_->equal_range(typeID);
  for (auto it = range.first; it != range.second; ++it) {
    if (it->second == creator) {
      addon_->erase(it);
      return;
    }
  }
}

void ElementCreators::clear() {
  framework_.clear();
  addon_.reset();
}

std::unique_ptr<Element> ElementCreators::create(const platform::ElementRecord& record,
                                                 const ElementLink& link) const {
  const int32_t kind = record.header.typeID;
  const std::multimap<int32_t, ElementCreator>* lists[] = {addon_.get(), &framework_};
  for (const auto* list : lists) {
    if (!list) continue;
    auto range = list->equal_range(kind);
    for (auto it = range.first; it != range.second; ++it)
      if (auto element = it->second(record, link)) return element;
  }
  return nullptr;
}

}  // namespace lunvik
