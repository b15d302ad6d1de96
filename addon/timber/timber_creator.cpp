#include <memory>

#include "model/drawing.h"
#include "model/project.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"
#include "timber/crafted.h"
#include "timber/framing_member.h"

namespace varnholt {

namespace {

// The kind code in an element's user data; none without user data.
TimberKind kindOfElement(const platform::ElementHeader& header) {
  platform::UserDataRecord record{};
  if (lunvik::host().call(&platform::HostFunctionTable::HostGetElementUserData, &header, &record) !=
      platform::kNoError)
    return TimberKind::none;
  if (!record.data) return TimberKind::none;
  std::string data(*record.data, lunvik::handleSize(record.data));
  lunvik::disposeHandle(record.data);
  return kindOfUserData(data);
}

template <typename T>
std::unique_ptr<Crafted> make(const platform::ElementRecord& record, const lunvik::ElementLink& link) {
  return std::make_unique<T>(record, link);
}

std::unique_ptr<Crafted> wrapperOf(TimberKind kind, const platform::ElementRecord& record,
                                   const lunvik::ElementLink& link) {
  switch (kind) {
    case TimberKind::rectilinear: return make<Rectilinear>(record, link);
    case TimberKind::taper: return make<Taper>(record, link);
    case TimberKind::peg: return make<Peg>(record, link);
    case TimberKind::jowl: return make<Jowl>(record, link);
    case TimberKind::camber: return make<Camber>(record, link);
    case TimberKind::squareRound: return make<SquareRound>(record, link);
    case TimberKind::roundTaper: return make<RoundTaper>(record, link);
    case TimberKind::curved: return make<Curved>(record, link);
    case TimberKind::custom: return make<Custom>(record, link);
    case TimberKind::lathe: return make<Lathe>(record, link);
    case TimberKind::round: return make<Round>(record, link);
    case TimberKind::extrusion: return make<Extrusion>(record, link);
    case TimberKind::constSection: return make<ConstSection>(record, link);
    case TimberKind::assembly: return make<Assembly>(record, link);
    case TimberKind::blob:
      if (record.header.typeID == platform::kLamp) return make<BlobLamp>(record, link);
      return make<BlobObject>(record, link);
    case TimberKind::none: break;
  }
  return nullptr;
}

// The element form of a timber wrapper (every wrapper is one).
std::unique_ptr<lunvik::Element> asElement(std::unique_ptr<Crafted> timber) {
  lunvik::Element* element = dynamic_cast<lunvik::Element*>(timber.get());
  if (!element) return nullptr;
  timber.release();
  return std::unique_ptr<lunvik::Element>(element);
}

std::unique_ptr<Crafted> recognise(const platform::ElementRecord& record, const lunvik::ElementLink& link,
                                   lunvik::Drawing* drawing) {
  int32_t type = record.header.typeID;
  if (type != platform::kObject && type != platform::kLamp) return nullptr;
  TimberKind kind = kindOfElement(record.header);
  if (kind == TimberKind::none) return nullptr;
  std::unique_ptr<Crafted> timber = wrapperOf(kind, record, link);
  if (!timber) return nullptr;
  if (!drawing) {
    lunvik::Addon* addon = lunvik::theAddon();
    lunvik::Project* project = addon ? addon->project() : nullptr;
    if (project && link.isResolved()) drawing = project->drawing(link.database());
  }
  timber->setTimberDrawing(drawing);
  int32_t version = 0;
  if (!timber->objectVersion(version)) return nullptr;
  if (version < 2) {
    timber->upgrade(version);
    timber->syncFromRotation();
    timber->fitBoxToTimber();
    // Kept in the element so that the part is upgraded once.
    timber->store();
  }
  return timber;
}

}  // namespace

std::unique_ptr<lunvik::Element> createTimber(const platform::ElementRecord& record, const lunvik::ElementLink& link) {
  return asElement(recognise(record, link, nullptr));
}

std::unique_ptr<Crafted> asTimber(const lunvik::Element& element) {
  if (auto* timber = dynamic_cast<const Crafted*>(&element)) return timber->cloneCrafted();
  return recognise(element.record(), element.link(), element.drawing());
}

void registerTimberCreators() {
  lunvik::ElementCreators& creators = lunvik::Environment::instance().models().creators;
  unregisterTimberCreators();
  creators.add(platform::kObject, &createTimber);
  creators.add(platform::kLamp, &createTimber);
}

void unregisterTimberCreators() {
  lunvik::ElementCreators& creators = lunvik::Environment::instance().models().creators;
  creators.remove(platform::kObject, &createTimber);
  creators.remove(platform::kLamp, &createTimber);
}

}  // namespace varnholt
