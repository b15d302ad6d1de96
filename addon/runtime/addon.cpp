#include "runtime/addon.h"

#include "model/project.h"
#include "runtime/environment.h"
#include "storage/object_store.h"
#include "storage/package.h"

namespace lunvik {

using platform::fourcc;
using platform::HostFunctionTable;

const char* const kPreferenceStoreName = "lunvikPreferenceStore";

namespace {
Addon* gAddon = nullptr;
}  // namespace

Addon* theAddon() { return gAddon; }
void setTheAddon(Addon* addon) { gAddon = addon; }

Supervisor::Supervisor() : project(std::make_unique<Project>()), store(std::make_unique<ObjectStore>(kPreferenceStoreName)) {}

Supervisor::~Supervisor() = default;

bool SupervisorLink::commandCalled(CommandEvent& event) {
  if (event.result()) event.result()->context = &addon_.context();
  return true;
}

Addon::Addon() : types_(std::make_unique<TypeList>()) {
  context_ = new Supervisor();
  context_->addons.push_back(this);
  link_ = std::make_unique<SupervisorLink>(*this, SupervisorLink::kCommand, 1);
  subscribe(link_.get());
}

Addon::~Addon() {
  if (link_) unsubscribe(link_.get());
  types_.reset();
  link_.reset();
  if (ownsContext_) delete context_;
  context_ = nullptr;
}

void Addon::renewContext() {
  if (ownsContext_) delete context_;
  context_ = new Supervisor();
  context_->addons.push_back(this);
  ownsContext_ = true;
}

bool Addon::publish(Event& event) {
  if (auto* hostEvent = dynamic_cast<HostEvent*>(&event)) {
    if (!beforeHostEvent(*hostEvent)) publishToSubscribers(event);
    afterHostEvent(*hostEvent);
    return false;
  }
  if (publishToSubscribers(event)) return true;
  bool taken = false;
  // Copied: a partner may change the list while it handles the event.
  std::vector<Addon*> partners = context_->addons;
  for (Addon* other : partners)
    if (other != this && other->takeEvent(event)) taken = true;
  return taken;
}

void Addon::prepareForEvent() {
  openUndoId_ = 0;
  if (Project* p = project()) p->dropCaches();
}

void Addon::reportUnexpectedError() {}

Project* Addon::project() const { return context_->project.get(); }
Drawing* Addon::currentDrawing() const { return project() ? project()->workingDrawing() : nullptr; }
Drawing* Addon::currentDrawing2() const { return project() ? project()->frontDrawing() : nullptr; }
Plan* Addon::plan() const { return project() ? &project()->plan() : nullptr; }
Specification* Addon::attributes() const { return project() ? &project()->specification() : nullptr; }
Library* Addon::library() const { return project() ? &project()->library() : nullptr; }

void Addon::setMenuItemEnabled(int16_t menuList, int32_t item, bool enabled) {
  platform::MenuItemRef ref{menuList, item};
  int32_t flags = 0;
  if (host().call(&HostFunctionTable::HostInterface, fourcc("GMIF"), &ref, &flags, nullptr) != platform::kNoError)
    return;
  bool disabled = (flags & platform::kMenuItemDisabled) != 0;
  if (disabled == !enabled) return;
  flags = enabled ? (flags & ~platform::kMenuItemDisabled) : (flags | platform::kMenuItemDisabled);
  host().call(&HostFunctionTable::HostInterface, fourcc("SMIF"), &ref, &flags, nullptr);
}

void Addon::setMenuItemText(int16_t menuList, int32_t item, const CadString& text) {
  platform::MenuItemRef ref{menuList, item};
  host().call(&HostFunctionTable::HostInterface, fourcc("SMIT"), &ref, const_cast<char*>(text.c_str()), nullptr);
}

std::unique_ptr<CadString> Addon::preferencesFolder() const {
  CadString folder = Environment::instance().applicationDataFolder();
  if (folder.empty()) return nullptr;
  return std::make_unique<CadString>(folder);
}

void Addon::addPackage(const Package& package) {
  types_->push_back(package.code());
  context_->store->add(package, false);
  context_->project->store().add(package, true);
}

Package* Addon::package(uint32_t code) const { return context_->store->get(code); }

void Addon::collectPackages(ObjectStore& store) const {
  for (uint32_t code : *types_)
    if (Package* p = context_->project->store().get(code)) store.add(*p, false);
}

bool Addon::saveToProject() {
  ObjectStore store(kPreferenceStoreName);
  collectPackages(store);
  return store.save();
}

void Addon::loadFromProject() {
  ObjectStore store(kPreferenceStoreName);
  collectPackages(store);
  store.load(false);
  ObjectStore& projectStore = context_->project->store();
  for (auto& entry : store.packageList().packages()) projectStore.add(*entry.second, false);
  if (store.unread()) {
    // The host keeps the data it holds; told that it did not read, it does not let a save
    // replace it with the defaults unasked.
    CadString package = store.unreadPackage();
    bool told = host().call(&HostFunctionTable::HostInterface, platform::fourcc("MDNR"),
                            const_cast<char*>(package.c_str()), nullptr, nullptr) == platform::kNoError;
    reportUnreadModuleData(package, told);
  }
}

void Addon::reportUnreadModuleData(const CadString&, bool) {}

void Addon::mergeModuleData(ModuleEvent& event) {
  ObjectStore* merged = event.projectData();
  ObjectStore* incoming = event.mergeData();
  if (!merged || !incoming) return;
  merged->merge(*incoming);
  merged->save();
  if (platform::GSHandle* destination = event.destination()) *destination = merged->write();
  ObjectStore& projectStore = context_->project->store();
  for (uint32_t code : *types_)
    if (Package* p = merged->get(code)) projectStore.add(*p, false);
}

bool Addon::beforeHostEvent(HostEvent& event) {
  if (event.spec().kind == ProjectEvent::kKind) {
    if (event.code() == platform::kProjectOpen) loadFromProject();
    else if (event.code() == platform::kProjectQuit) renewContext();
  }
  return false;
}

bool Addon::afterHostEvent(HostEvent& event) {
  if (event.spec().kind == ProjectEvent::kKind && event.code() == platform::kProjectPreSave) {
    saveToProject();
  } else if (event.spec().kind == ModuleEvent::kKind && event.code() == 1) {
    if (auto* module = dynamic_cast<ModuleEvent*>(&event)) mergeModuleData(*module);
  }
  return false;
}

uint32_t Addon::openUndoStep(const CadString& name) {
  if (openUndoId_ != 0) return 0;
  host().call(&HostFunctionTable::HostOpenUndoStep, name.c_str());
  openUndoId_ = ++undoCounter_;
  return openUndoId_;
}

uint32_t Addon::closeUndoStep(uint32_t id) {
  if (id == 0 || id != openUndoId_) return id;
  host().call(&HostFunctionTable::HostCloseUndoStep);
  openUndoId_ = 0;
  return id;
}

bool Addon::dispatch(Event& event) {
  // A callback that comes while another is handled (the notifications of the add-on's own
  // edits) belongs to the command that is running: its undo step and caches stay.
  const bool nested = dispatching_ > 0;
  ++dispatching_;
  bool taken = false;
  try {
    host().call(&HostFunctionTable::HostKeepInMemory, true);
    if (!nested) prepareForEvent();
    taken = takeEvent(event);
  } catch (...) {
    reportUnexpectedError();
    taken = false;
  }
  --dispatching_;
  return taken;
}

}  // namespace lunvik
