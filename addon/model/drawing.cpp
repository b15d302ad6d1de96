#include "model/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/project.h"
#include "model/selection.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"

namespace lunvik {

using platform::fourcc;
using platform::GSErr;
using platform::HostFunctionTable;
using platform::kNoError;

// ---- filters ----

Drawing::Filter::Filter(int32_t bits, int32_t kind, bool selected, bool reuse, bool userData)
    : filterBits(bits), typeID(kind), reuseCount(reuse), selectedOnly(selected), withUserDataOnly(userData) {}
Drawing::Filter::Filter(int32_t kind, bool selected, bool reuse, bool userData)
    : Filter(0, kind, selected, reuse, userData) {}
Drawing::Filter::Filter(bool selected, bool userData) : Filter(0, 0, selected, false, userData) {}

// ---- iterators ----

Drawing::iterator::iterator(Drawing* drawing, std::unique_ptr<Element> current, std::unique_ptr<Filter> filter,
                            bool writeBack)
    : drawing_(drawing), current_(std::move(current)), filter_(std::move(filter)), writeBack_(writeBack) {
  if (current_) position_ = current_->link();
}

Drawing::iterator::~iterator() = default;

std::unique_ptr<Element> Drawing::iterator::release() {
  if (current_) {
    position_ = current_->link();
    released_ = true;
  }
  return std::move(current_);
}

Drawing::iterator& Drawing::iterator::operator++() {
  if (!drawing_ || (!current_ && !released_)) return *this;
  if (current_) {
    if (writeBack_) drawing_->store(*current_);
    position_ = current_->link();
    // Stepping goes by the stepped link, not the (maybe proxied) element's.
    if (position_.proxyType() == platform::kSectionProxy)
      position_ = ElementLink(platform::kSectionProxy, position_.proxyIndex(), position_.proxyGuid(),
                              position_.proxyDatabase());
    current_.reset();
  }
  released_ = false;
  current_ = drawing_->findNext(position_, true, *filter_);
  if (current_) {
    position_ = current_->link();
    if (position_.proxyType() == platform::kSectionProxy)
      position_ = ElementLink(platform::kSectionProxy, position_.proxyIndex(), position_.proxyGuid(),
                              position_.proxyDatabase());
  }
  return *this;
}

// ---- drawings ----

Drawing::Drawing(Project* project, const platform::DatabaseRecord& identity) : project_(project), identity_(identity) {}
Drawing::~Drawing() = default;

bool Drawing::activate() { return project_ ? project_->activate(*this) : record(platform::kErrNoProject); }

void Drawing::releaseCaches() {
  selectionCache_.reset();
  storeys_.reset();
  selectionSorted_ = false;
}

Library* Drawing::library() const { return project_ ? &project_->library() : nullptr; }
Specification* Drawing::specification() const { return project_ ? &project_->specification() : nullptr; }

bool Drawing::passesUserData(const platform::ElementHeader& header) const {
  Addon* addon = theAddon();
  if (!addon || !addon->checksElementLinks()) return true;
  platform::UserDataRecord record{};
  if (host().call(&HostFunctionTable::HostGetElementUserData, &header, &record) != kNoError) return false;
  bool has = record.data != nullptr;
  disposeHandle(record.data);
  return has;
}

std::unique_ptr<Element> Drawing::findByGuid(const ElementLink& link) {
  if (!activate()) return nullptr;
  ElementLink resolved;
  if (!resolveLink(resolved, link, nullptr)) return nullptr;
  if (!platform::isZero(resolved.guidValue())) {
    platform::ElementRecord found{};
    platform::Guid guid = resolved.guidValue();
    if (record(host().call(&HostFunctionTable::HostDatabase, fourcc("GEFA"), &guid, &found, nullptr))) {
      ElementLink fresh(found.header);
      fresh.setDatabase(identity_);
      auto element = Environment::instance().models().creators.create(found, fresh);
      if (element) {
        element->setDrawing(this);
        if (!deferMemoLoading()) element->loadMemo(platform::kMemoAll, nullptr);
        return element;
      }
    }
  }
  return getElement(link, nullptr);
}

void Drawing::loadSelection() {
  if (selectionCache_) return;
  if (!activate()) return;
  platform::GSHandle items = nullptr;
  int32_t n = 0;
  auto cache = std::make_unique<ElemRefList>();
  cache->reserve(1000);
  if (record(host().call(&HostFunctionTable::HostGetSelection, &items, &n)) && items) {
    std::size_t count = std::min<std::size_t>(std::size_t(std::max(n, 0)), handleSize(items) / sizeof(platform::SelectionItem));
    const auto* item = reinterpret_cast<const platform::SelectionItem*>(*items);
    for (std::size_t i = 0; i < count; ++i) {
      auto link = std::make_unique<ElementLink>(ElementLink::fromSelectionItem(item[i], identity_));
      // The index is what stepping compares; the host knows it from the GUID.
      link->setIndex(indexOfGuid(item[i].guid, nullptr, nullptr));
      cache->push_back(std::move(link));
    }
  }
  disposeHandle(items);
  selectionCache_ = std::move(cache);
  selectionSorted_ = false;
}

const ElemRefList* Drawing::selection() {
  loadSelection();
  return selectionCache_.get();
}

bool Drawing::selectItems(const ElemRefList& refs, bool add) {
  std::vector<platform::SelectionItem> items;
  items.reserve(refs.size());
  for (const auto& link : refs) items.push_back(link->selectionItem());
  return record(host().call(&HostFunctionTable::HostSelectElements, items.data(), int32_t(items.size()), add));
}

bool Drawing::select(const ElemRefList& refs) {
  if (!deselectAll()) return false;
  if (!selectItems(refs, true)) return false;
  if (Environment::instance().groupsSuspended()) {
    selectionCache_ = refs.clone();
    selectionSorted_ = false;
  }
  return true;
}

bool Drawing::select(const BaseElemSelection& selection) { return select(*selection.refs()); }

bool Drawing::hasSelected(const Filter& filter) {
  if (!activate()) return false;
  platform::GSHandle items = nullptr;
  int32_t n = 0;
  if (!record(host().call(&HostFunctionTable::HostGetSelection, &items, &n)) || !items) return false;
  HandleOwner own(items);
  std::size_t count = std::min<std::size_t>(std::size_t(std::max(n, 0)), handleSize(items) / sizeof(platform::SelectionItem));
  const auto* item = reinterpret_cast<const platform::SelectionItem*>(*items);
  for (std::size_t i = 0; i < count; ++i) {
    ElementLink link = ElementLink::fromSelectionItem(item[i], identity_);
    int32_t kind = 0;
    uint32_t variation = 0;
    int32_t index = indexOfGuid(item[i].guid, &kind, &variation);
    if (index == 0) continue;
    if (filter.typeID != 0 && kind != filter.typeID) continue;
    if (host().call(&HostFunctionTable::HostFilterElement, kind, index, filter.filterBits, variation) != kNoError) continue;
    if (filter.withUserDataOnly) {
      platform::ElementHeader header{};
      header.typeID = kind;
      header.index = index;
      header.guid = item[i].guid;
      if (!passesUserData(header)) continue;
    }
    return true;
  }
  return false;
}

bool Drawing::deselectAll() {
  if (!activate()) return false;
  selectionCache_.reset();
  selectionSorted_ = false;
  return record(host().call(&HostFunctionTable::HostSelectElements, nullptr, 0, false));
}

bool Drawing::addToSelection(const BaseElemSelection& selection) {
  if (!activate()) return false;
  selectionCache_.reset();
  return selectItems(*selection.refs(), true);
}

bool Drawing::addToSelection(const ElementLink& link) {
  if (!activate()) return false;
  selectionCache_.reset();
  platform::SelectionItem item = link.selectionItem();
  return record(host().call(&HostFunctionTable::HostSelectElements, &item, 1, true));
}

bool Drawing::removeFromSelection(const ElementLink& link) {
  if (!activate()) return false;
  selectionCache_.reset();
  platform::SelectionItem item = link.selectionItem();
  return record(host().call(&HostFunctionTable::HostSelectElements, &item, 1, false));
}

int32_t Drawing::count(int32_t typeID, bool selectedOnly, bool checkEach) {
  if (selectedOnly) {
    loadSelection();
    if (!selectionCache_) return 0;
    if (typeID == 0) return int32_t(selectionCache_->size());
    int32_t n = 0;
    for (const auto& link : *selectionCache_)
      if (link->typeID() == typeID) ++n;
    return n;
  }
  if (!activate()) return 0;
  if (typeID == 0) {
    int32_t sum = 0;
    for (int32_t k = 1; k <= platform::kLastSteppedKind; ++k) sum += count(k, false, checkEach);
    return sum;
  }
  int32_t n = 0;
  if (!record(host().call(&HostFunctionTable::HostGetElementList, typeID, &n, nullptr))) return 0;
  if (n < 0) return 0;
  if (!checkEach) return n;
  int32_t existing = 0;
  for (int32_t i = 1; i <= n; ++i)
    if (host().call(&HostFunctionTable::HostFilterElement, typeID, i, 0, 0u) == kNoError) ++existing;
  return existing;
}

int32_t Drawing::indexOfGuid(const platform::Guid& guid, int32_t* typeID, uint32_t* variation) {
  if (platform::isZero(guid)) return 0;
  platform::ElementHeader header{};
  platform::Guid g = guid;
  if (!record(host().call(&HostFunctionTable::HostDatabase, fourcc("GIDH"), &g, &header, nullptr))) return 0;
  if (typeID) *typeID = header.typeID;
  if (variation) *variation = header.variation;
  return header.index;
}

std::unique_ptr<ElementMemoStore> Drawing::getMemo(const ElementLink& link, int32_t mask) {
  if (!activate()) return nullptr;
  platform::ElementMemoRecord memo{};
  platform::Guid guid = link.guidValue();
  if (!record(host().call(&HostFunctionTable::HostGetElementMemo, &guid, &memo, mask == 0 ? platform::kMemoAll : mask)))
    return nullptr;
  return std::make_unique<ElementMemoStore>(memo);
}

bool Drawing::readHeader(ElementLink& link, platform::ElementHeader* header) {
  if (!activate()) return false;
  platform::ElementRecord element{};
  element.header.typeID = link.typeID();
  element.header.index = link.index();
  if (element.header.index == 0) element.header.index = indexOfGuid(link.guidValue(), nullptr, nullptr);
  if (!record(host().call(&HostFunctionTable::HostGetElement, &element))) return false;
  link.setFromHeader(element.header);
  link.setDatabase(identity_);
  if (header) *header = element.header;
  return true;
}

bool Drawing::store(Element& element, bool asNew) {
  if (!activate()) return false;
  std::unique_ptr<platform::ElementRecord> host_record = element.hostRecord();
  int32_t mask = 0;
  std::unique_ptr<ElementMemoStore> memo = element.buildMemo(mask);
  if (!memo && element.needsMemo()) return record(platform::kErrBadParameter);
  const ElementLink& link = element.link();
  bool create = asNew || !link.isResolved() || (link.database().kind != 0 && link.database() != identity_);
  GSErr err;
  if (create) {
    host_record->header.index = 0;
    host_record->header.guid = platform::Guid{};
    err = host().call(&HostFunctionTable::HostCreateElement, host_record.get(), memo ? &memo->record() : nullptr);
  } else {
    err = host().call(&HostFunctionTable::HostChangeElement, host_record.get(), memo ? &memo->record() : nullptr, mask);
  }
  if (!record(err)) return false;
  element.header() = host_record->header;
  ElementLink fresh = link;
  fresh.setFromHeader(host_record->header);
  fresh.setDatabase(identity_);
  element.setLink(fresh);
  element.setDrawing(this);
  return true;
}

bool Drawing::change(Element& element, const Element* source, int32_t mask) {
  if (!activate()) return false;
  const Element& from = source ? *source : element;
  std::unique_ptr<platform::ElementRecord> host_record = from.hostRecord();
  element.link().toHeader(host_record->header);
  int32_t memoMask = 0;
  std::unique_ptr<ElementMemoStore> memo = from.buildMemo(memoMask);
  if (!record(host().call(&HostFunctionTable::HostChangeElement, host_record.get(), memo ? &memo->record() : nullptr,
                          mask ? mask : memoMask)))
    return false;
  element.header() = host_record->header;
  ElementLink fresh = element.link();
  fresh.setFromHeader(host_record->header);
  element.setLink(fresh);
  return applyTransformations(element, nullptr);
}

bool Drawing::applyTransformation(ElementLink& link, const Transformation& transformation) {
  if (!activate()) return false;
  platform::SelectionItem item = link.selectionItem();
  if (!record(host().call(&HostFunctionTable::HostEditElements, &item, 1, &transformation.record()))) return false;
  int32_t kind = 0;
  uint32_t variation = 0;
  int32_t index = indexOfGuid(item.guid, &kind, &variation);
  link.setGuid(item.guid);
  link.setIndex(index);
  if (kind) link.setTypeID(kind);
  return true;
}

bool Drawing::applyTransformations(Element& element, const Transformation* transformation) {
  ElementLink link = element.link();
  if (transformation) {
    if (!applyTransformation(link, *transformation)) return false;
  } else {
    while (std::unique_ptr<Transformation> next = element.takeTransformation()) {
      if (!applyTransformation(link, *next)) {
        element.setLink(link);
        return false;
      }
    }
  }
  element.setLink(link);
  return true;
}

bool Drawing::remove(const ElementLink& link) {
  if (!activate()) return false;
  platform::ElementHeader header{};
  link.toHeader(header);
  if (header.index == 0) header.index = indexOfGuid(link.guidValue(), nullptr, nullptr);
  selectionCache_.reset();
  return record(host().call(&HostFunctionTable::HostDeleteElements, &header, 1));
}

bool Drawing::elementTool(uint32_t code, const BaseElemSelection& selection) {
  if (!activate()) return false;
  auto refs = selection.refs();
  std::vector<platform::SelectionItem> items;
  for (const auto& link : *refs) items.push_back(link->selectionItem());
  selectionCache_.reset();
  return record(host().call(&HostFunctionTable::HostElementTool, items.data(), int32_t(items.size()), code));
}

bool Drawing::group(const BaseElemSelection& s) { return elementTool(fourcc("GRUP"), s); }
bool Drawing::ungroup(const BaseElemSelection& s) { return elementTool(fourcc("UGRP"), s); }
bool Drawing::lock(const BaseElemSelection& s) { return elementTool(fourcc("LOCK"), s); }
bool Drawing::unlock(const BaseElemSelection& s) { return elementTool(fourcc("ULCK"), s); }
bool Drawing::displayOrder(uint32_t code, const BaseElemSelection& s) { return elementTool(code, s); }

bool Drawing::hide(const ElemRefList& refs) {
  if (!activate()) return false;
  bool all = true;
  for (const auto& link : refs) {
    platform::Guid g = link->guidValue();
    if (!record(host().call(&HostFunctionTable::HostDatabase, fourcc("HDEE"), &g, nullptr, nullptr))) all = false;
  }
  return all;
}

bool Drawing::redraw(const ElemRefList& refs) {
  if (!activate()) return false;
  bool all = true;
  for (const auto& link : refs) {
    platform::Guid g = link->guidValue();
    if (!record(host().call(&HostFunctionTable::HostDatabase, fourcc("DRWE"), &g, nullptr, nullptr))) all = false;
  }
  return all;
}

const StoreyList& Drawing::storeys() {
  if (!storeys_) {
    storeys_ = std::make_unique<StoreyList>();
    if (identity_.kind == platform::kDatabasePlan) {
      int16_t current = 0;
      platform::GSHandle records = nullptr;
      if (record(host().call(&HostFunctionTable::HostEnvironment, fourcc("GSTO"), &current, &records, nullptr)) &&
          records) {
        std::size_t n = handleSize(records) / sizeof(platform::StoreyRecord);
        const auto* r = reinterpret_cast<const platform::StoreyRecord*>(*records);
        for (std::size_t i = 0; i < n; ++i) {
          double height = i + 1 < n ? r[i + 1].elevation - r[i].elevation : 2.5;
          storeys_->push_back(new Storey(this, r[i], height));
        }
        currentStorey_ = current;
      }
      disposeHandle(records);
    }
  }
  return *storeys_;
}

const Storey* Drawing::storey(int16_t number) { return storeys().find(number); }

const Storey* Drawing::currentStorey() {
  if (identity_.kind != platform::kDatabasePlan) return nullptr;
  storeys();
  return storeys_->find(currentStorey_);
}

bool Drawing::goToStorey(const Storey& storey, bool) {
  if (!activate()) return false;
  int16_t number = storey.number();
  if (!record(host().call(&HostFunctionTable::HostEnvironment, fourcc("CSTO"), &number, nullptr, nullptr))) return false;
  currentStorey_ = number;
  return true;
}

bool Drawing::zoomTo(const CadCube& box) {
  CadCube b(box);
  return zoomTo(b.min(), b.max());
}

bool Drawing::zoomTo(const CadPoint& corner1, const CadPoint& corner2) {
  if (!activate()) return false;
  platform::BoxRecord box{};
  box.xMin = std::min(corner1.getX(), corner2.getX());
  box.yMin = std::min(corner1.getY(), corner2.getY());
  box.xMax = std::max(corner1.getX(), corner2.getX());
  box.yMax = std::max(corner1.getY(), corner2.getY());
  return record(host().call(&HostFunctionTable::HostAutomate, fourcc("ZOOM"), &box, nullptr, nullptr));
}

std::unique_ptr<CadCube> Drawing::extent(bool whole) {
  if (!activate()) return nullptr;
  platform::BoxRecord box{};
  if (!record(host().call(&HostFunctionTable::HostAutomate, whole ? fourcc("GEX2") : fourcc("GZOM"), &box, nullptr,
                          nullptr)))
    return nullptr;
  return std::make_unique<CadCube>(CadPoint(box.xMin, box.yMin, 0), CadPoint(box.xMax, box.yMax, 0));
}

double Drawing::scale() {
  if (!activate()) return 0;
  double s = 0;
  return record(host().call(&HostFunctionTable::HostAutomate, fourcc("GSCL"), &s, nullptr, nullptr)) ? s : 0;
}

double Drawing::pixelSize() {
  if (!activate()) return 0;
  platform::Coord2D screen[2] = {{0, 0}, {0, 100}};
  platform::Coord2D model[2] = {};
  for (int i = 0; i < 2; ++i)
    if (!record(host().call(&HostFunctionTable::HostAutomate, fourcc("PTOC"), &screen[i], &model[i], nullptr)))
      return 0;
  double size = std::hypot(model[1].x - model[0].x, model[1].y - model[0].y) / 100.0;
  return std::isfinite(size) ? size : 0;
}

bool Drawing::redrawAll() {
  return activate() && record(host().call(&HostFunctionTable::HostAutomate, fourcc("DRDB"), nullptr, nullptr, nullptr));
}
bool Drawing::rebuild(int32_t flags) {
  return activate() && record(host().call(&HostFunctionTable::HostAutomate, fourcc("RBLD"), &flags, nullptr, nullptr));
}
bool Drawing::rebuildAll() {
  return activate() && record(host().call(&HostFunctionTable::HostAutomate, fourcc("RBDB"), nullptr, nullptr, nullptr));
}

bool Drawing::inSelection(const ElementLink& link) {
  loadSelection();
  if (!selectionCache_) return false;
  if (!selectionSorted_) {
    std::sort(selectionCache_->begin(), selectionCache_->end(),
              [](const std::unique_ptr<ElementLink>& a, const std::unique_ptr<ElementLink>& b) {
                return ElementLink::lessByKindAndIndex(*a, *b);
              });
    selectionSorted_ = true;
  }
  ElementLink probe(link.typeID(), link.index(), platform::Guid{});
  auto it = std::lower_bound(selectionCache_->begin(), selectionCache_->end(), probe,
                             [](const std::unique_ptr<ElementLink>& a, const ElementLink& b) {
                               int32_t ka = a->typeID(), kb = b.typeID();
                               return ka != kb ? ka < kb : a->index() < b.index();
                             });
  return it != selectionCache_->end() && (*it)->typeID() == link.typeID() && (*it)->index() == link.index();
}

bool Drawing::resolveLink(ElementLink& out, const ElementLink& link, const Filter*) {
  out = link;
  if (out.index() == 0 && !platform::isZero(out.guidValue())) {
    int32_t kind = 0;
    uint32_t variation = 0;
    int32_t index = indexOfGuid(out.guidValue(), &kind, &variation);
    if (index == 0) return false;
    out.setIndex(index);
    if (out.typeID() == 0) out.setTypeID(kind);
  }
  return out.typeID() != 0;
}

std::unique_ptr<Element> Drawing::getElement(const ElementLink& link, const Filter* filter) {
  if (link.database().kind != 0 && link.database() != identity_ && project_) {
    Drawing* owner = project_->drawing(link.database());
    if (owner && owner != this) return owner->getElement(link, filter);
  }
  if (!activate()) return nullptr;
  if (filter && filter->selectedOnly && !inSelection(link)) return nullptr;
  ElementLink resolved;
  if (!resolveLink(resolved, link, filter)) return nullptr;
  if (filter && filter->typeID != 0 && resolved.typeID() != filter->typeID) return nullptr;
  const int32_t bits = filter ? filter->filterBits : 0;
  if (host().call(&HostFunctionTable::HostFilterElement, resolved.typeID(), resolved.index(), bits,
                  resolved.variation()) != kNoError)
    return nullptr;
  platform::ElementRecord element{};
  element.header.typeID = resolved.typeID();
  element.header.index = resolved.index();
  if (!record(host().call(&HostFunctionTable::HostGetElement, &element))) return nullptr;
  if (filter && filter->withUserDataOnly && !passesUserData(element.header)) return nullptr;
  resolved.setFromHeader(element.header);
  resolved.setDatabase(identity_);
  std::unique_ptr<Element> made = Environment::instance().models().creators.create(element, resolved);
  if (!made) return nullptr;
  made->setDrawing(this);
  if (filter && !filter->accept(*made)) return nullptr;
  if (!deferMemoLoading()) made->loadMemo(platform::kMemoAll, nullptr);
  return made;
}

bool Drawing::nextKind(ElementLink&) { return false; }

std::unique_ptr<Element> Drawing::findNext(const ElementLink& from, bool forward, Filter& filter) {
  if (from.database().kind != 0 && from.database() != identity_ && project_) {
    Drawing* owner = project_->drawing(from.database());
    if (owner && owner != this) return owner->findNext(from, forward, filter);
  }
  if (!activate()) return nullptr;
  const int32_t step = forward ? 1 : -1;
  int32_t kind = from.typeID();
  int32_t index = from.index();
  int32_t n = 0;
  if (kind == 0) {
    kind = filter.typeID != 0 ? filter.typeID : 1;
    n = count(kind, false, false);
    index = forward ? 0 : n + 1;
  } else {
    n = filter.reuseCount && filter.lastCount > 0 ? filter.lastCount : count(kind, false, false);
  }
  for (;;) {
    index += step;
    if (index < 1 || index > n) {
      // Another kind only without a kind in the filter; past the last kind the drawing may
      // step on (cut planes to their proxies).
      if (filter.typeID == 0) {
        kind += step;
        if (kind < 1 || kind > platform::kLastSteppedKind) return nullptr;
      } else {
        ElementLink cursor(kind, 0, platform::Guid{}, identity_);
        if (!forward || !filter.stepOverKinds || !nextKind(cursor)) return nullptr;
        kind = cursor.typeID();
      }
      n = count(kind, false, false);
      index = forward ? 0 : n + 1;
      continue;
    }
    ElementLink candidate(kind, index, platform::Guid{}, identity_);
    if (auto element = getElement(candidate, &filter)) {
      filter.lastCount = n;
      return element;
    }
  }
}

Drawing::iterator Drawing::begin(const Filter& filter, bool writeBack) {
  std::unique_ptr<Filter> own = filter.clone();
  ElementLink start(filter.typeID != 0 ? filter.typeID : 1, 0, platform::Guid{}, identity_);
  std::unique_ptr<Element> first = findNext(start, true, *own);
  return iterator(this, std::move(first), std::move(own), writeBack);
}

// ---- cut planes ----

bool CutPlane::nextKind(ElementLink& link) {
  if (link.typeID() == platform::kSectionProxy) return false;
  link = ElementLink(platform::kSectionProxy, 0, platform::Guid{}, identity_);
  return true;
}

bool CutPlane::resolveLink(ElementLink& out, const ElementLink& link, const Filter* filter) {
  if (!Drawing::resolveLink(out, link, filter)) return false;
  if (out.typeID() != platform::kSectionProxy) return true;
  platform::ElementRecord proxy{};
  proxy.header.typeID = platform::kSectionProxy;
  proxy.header.index = out.index();
  if (!record(host().call(&HostFunctionTable::HostGetElement, &proxy))) return false;
  const auto& p = proxy.proxy;
  ElementLink target(p.targetType, p.targetIndex, p.targetGuid,
                     platform::DatabaseRecord{p.targetDatabaseKind, p.targetDatabaseNumber, 0, p.targetDatabaseIndex});
  target.setProxy(proxy.header, identity_);
  out = target;
  return true;
}

std::unique_ptr<Element> CutPlane::getElement(const ElementLink& link, const Filter* filter) {
  if (link.typeID() != platform::kSectionProxy || link.database() != identity_) return Drawing::getElement(link, filter);
  // A proxy is read as the element behind it, when the filter does not ask for proxies.
  if (filter && filter->typeID == platform::kSectionProxy) return Drawing::getElement(link, filter);
  if (!activate()) return nullptr;
  if (host().call(&HostFunctionTable::HostFilterElement, platform::kSectionProxy, link.index(), 0, 0u) != kNoError) return nullptr;
  ElementLink target;
  if (!resolveLink(target, link, filter)) return nullptr;
  if (filter && filter->typeID != 0 && filter->typeID != target.typeID()) return nullptr;
  Drawing* owner = project_ ? project_->drawing(target.database()) : nullptr;
  if (!owner) return nullptr;
  std::unique_ptr<Element> element = owner->getElement(target, filter);
  if (element) {
    ElementLink proxied = element->link();
    platform::ElementHeader proxyHeader{};
    proxyHeader.index = target.proxyIndex();
    proxyHeader.guid = target.proxyGuid();
    proxied.setProxy(proxyHeader, identity_);
    element->setLink(proxied);
  }
  return element;
}

bool CutPlane::cutLine(CadPoint& begin, CadPoint& end, double& angle) {
  platform::SegmentRecord line{};
  double a = 0;
  platform::DatabaseRecord id = identity_;
  if (!record(host().call(&HostFunctionTable::HostDatabase, fourcc("GCUT"), &id, &line, &a))) return false;
  begin = CadPoint(line.start.x, line.start.y, 0);
  end = CadPoint(line.end.x, line.end.y, 0);
  angle = a;
  return true;
}

bool CutPlane::toModel(double h, double v, CadPoint& model) {
  CadPoint b, e;
  double angle = 0;
  if (!cutLine(b, e, angle)) return false;
  double dx = e.getX() - b.getX(), dy = e.getY() - b.getY(), len = std::hypot(dx, dy);
  if (len < kTolerance) return false;
  model = CadPoint(b.getX() + dx / len * h, b.getY() + dy / len * h, v);
  return true;
}

bool CutPlane::toView(const CadPoint& model, double& h, double& v) {
  CadPoint b, e;
  double angle = 0;
  if (!cutLine(b, e, angle)) return false;
  double dx = e.getX() - b.getX(), dy = e.getY() - b.getY(), len = std::hypot(dx, dy);
  if (len < kTolerance) return false;
  h = ((model.getX() - b.getX()) * dx + (model.getY() - b.getY()) * dy) / len;
  v = model.getZ();
  return true;
}

}  // namespace lunvik
