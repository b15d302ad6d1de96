#include "runtime/subscriber.h"

#include "runtime/environment.h"
#include "runtime/host_callbacks.h"

namespace lunvik {

using platform::HostFunctionTable;
using platform::kNoError;

bool MenuSubscriber::takeEvent(Event& event) {
  auto* menu = dynamic_cast<MenuEvent*>(&event);
  return menu && menu->menuList() == menuList_ ? menuSelected(*menu) : false;
}

bool MenuSubscriber::registerWithHost() {
  return host().call(&HostFunctionTable::HostRegisterMenu, menuList_, promptList_, position_, flags_) == kNoError;
}

bool MenuSubscriber::installHandlers() {
  return host().call(&HostFunctionTable::HostInstallMenuHandler, menuList_, &callbacks::menuHandler) == kNoError;
}

bool CommandSubscriber::takeEvent(Event& event) {
  auto* command = dynamic_cast<CommandEvent*>(&event);
  return command && command->command() == command_ ? commandCalled(*command) : false;
}

bool CommandSubscriber::registerWithHost() {
  return host().call(&HostFunctionTable::HostRegisterCommand, command_, version_) == kNoError;
}

bool CommandSubscriber::installHandlers() {
  return host().call(&HostFunctionTable::HostInstallCommandHandler, command_, version_, &callbacks::commandHandler) ==
         kNoError;
}

bool FileSubscriber::takeEvent(Event& event) {
  auto* file = dynamic_cast<FileEvent*>(&event);
  return file && file->refCon() == type_.refCon ? fileAction(*file) : false;
}

bool FileSubscriber::registerWithHost() {
  return host().call(&HostFunctionTable::HostRegisterFileType, &type_) == kNoError;
}

bool FileSubscriber::installHandlers() {
  return host().call(&HostFunctionTable::HostInstallFileTypeHandler, type_.refCon, &callbacks::fileTypeHandler) ==
         kNoError;
}

bool ProjectSubscriber::takeEvent(Event& event) {
  auto* project = dynamic_cast<ProjectEvent*>(&event);
  return project ? projectEvent(*project) : false;
}

bool ProjectSubscriber::installHandlers() {
  if (!Environment::instance().claimProjectEvents()) return true;
  return host().call(&HostFunctionTable::HostCatchProjectEvents, 0xFFF, &callbacks::projectHandler) == kNoError;
}

bool ModuleSubscriber::takeEvent(Event& event) {
  auto* module = dynamic_cast<ModuleEvent*>(&event);
  return module ? moduleEvent(*module) : false;
}

bool ModuleSubscriber::installHandlers() {
  if (!Environment::instance().claimMergeHandler()) return true;
  return host().call(&HostFunctionTable::HostInstallModuleDataMergeHandler, &callbacks::moduleDataMergeHandler) ==
         kNoError;
}

bool DatabaseSubscriber::takeEvent(Event& event) {
  auto* database = dynamic_cast<DatabaseEvent*>(&event);
  return database ? databaseEvent(*database) : false;
}

bool DatabaseSubscriber::installHandlers() {
  if (host().call(&HostFunctionTable::HostCatchNewElement, typeID_, variation_, true) != kNoError) return false;
  return host().call(&HostFunctionTable::HostInstallElementObserver, &callbacks::elementObserver) == kNoError;
}

bool EditElementSubscriber::databaseEvent(DatabaseEvent& event) {
  auto* edit = dynamic_cast<ElementEditEvent*>(&event);
  return edit ? elementEdited(*edit) : false;
}

}  // namespace lunvik
