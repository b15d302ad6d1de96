// Events: the key every subscription and event carries, and the framework's event classes.
#pragma once

#include <cstdint>
#include <memory>

#include "model/element_link.h"
#include "model/parameter_list.h"
#include "platform/host_records.h"
#include "platform/host_types.h"
#include "runtime/cad_string.h"

namespace lunvik {

class ObjectStore;
class DataFile;

// Category and kind of an event, both four-character codes, ordered as unsigned numbers.
struct EventSpec {
  uint32_t category = 0;
  uint32_t kind = 0;

  constexpr EventSpec() = default;
  constexpr EventSpec(uint32_t cat, uint32_t k) : category(cat), kind(k) {}

  friend constexpr bool operator==(const EventSpec& a, const EventSpec& b) {
    return a.category == b.category && a.kind == b.kind;
  }
  friend constexpr bool operator!=(const EventSpec& a, const EventSpec& b) { return !(a == b); }
  friend constexpr bool operator<(const EventSpec& a, const EventSpec& b) {
    return a.category != b.category ? a.category < b.category : a.kind < b.kind;
  }
};

// Categories of events.
constexpr uint32_t kHostCategory = platform::fourcc("HOST");
constexpr uint32_t kInterfaceCategory = platform::fourcc("INTF");
constexpr uint32_t kProductCategory = platform::fourcc("VRNH");

// Base of all events.
class Event {
 public:
  explicit Event(EventSpec spec, int32_t tag = 0) : tag_(tag), spec_(spec) {}
  virtual ~Event() = default;
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  // The event's tag (0 in every use of this program).
  int32_t tag() const { return tag_; }
  // The event's category and kind.
  const EventSpec& spec() const { return spec_; }

 private:
  int32_t tag_;
  EventSpec spec_;
};

// An event that comes from a host callback (category 'HOST').
class HostEvent : public Event {
 public:
  HostEvent(uint32_t kind, int32_t code) : Event(EventSpec(kHostCategory, kind)), code_(code) {}
  // The callback's code.
  int32_t code() const { return code_; }

 private:
  int32_t code_;
};

// A menu choice.
class MenuEvent : public HostEvent {
 public:
  static constexpr uint32_t kKind = platform::fourcc("MENU");
  MenuEvent(int16_t menuList, int32_t itemIndex) : HostEvent(kKind, 0), menuList_(menuList), item_(itemIndex) {}
  // The menu's string list id.
  int16_t menuList() const { return menuList_; }
  // The chosen item, 1-based, separators counted.
  int32_t itemIndex() const { return item_; }

 private:
  int16_t menuList_;
  int32_t item_;
};

// A project notification; code() is the host's notification code.
class ProjectEvent : public HostEvent {
 public:
  static constexpr uint32_t kKind = platform::fourcc("PRJT");
  explicit ProjectEvent(int32_t code) : HostEvent(kKind, code) {}
};

// A module-data merge: the project's data and the data being merged in, as object stores.
class ModuleEvent : public HostEvent {
 public:
  static constexpr uint32_t kKind = platform::fourcc("MDAT");
  ModuleEvent(std::unique_ptr<ObjectStore> projectData, std::unique_ptr<ObjectStore> mergeData, int32_t mode,
              platform::GSHandle* destination);
  ~ModuleEvent() override;

  // The project's own data.
  ObjectStore* projectData() const { return project_.get(); }
  // The data being merged in.
  ObjectStore* mergeData() const { return merge_.get(); }
  // The host's merge mode.
  int32_t mode() const { return mode_; }
  // Where the merged data goes back to the host.
  platform::GSHandle* destination() const { return destination_; }

 private:
  std::unique_ptr<ObjectStore> project_;
  std::unique_ptr<ObjectStore> merge_;
  int32_t mode_;
  platform::GSHandle* destination_;
  [[maybe_unused]] int32_t reserved_ = 0;
};

// A host command; the event is also the command's parameter list.
class CommandEvent : public HostEvent, public ParameterList {
 public:
  static constexpr uint32_t kKind = platform::fourcc("CMND");
  CommandEvent(uint32_t command, int32_t version, platform::CommandResultRecord* result, bool silent)
      : HostEvent(kKind, 0), command_(command), version_(version), result_(result), silent_(silent) {}

  uint32_t command() const { return command_; }
  int32_t version() const { return version_; }
  // The record the command's answer goes into; may be null.
  platform::CommandResultRecord* result() const { return result_; }
  bool silent() const { return silent_; }

  void setCommand(uint32_t command) { command_ = command; }
  void setVersion(int32_t version) { version_ = version; }

 private:
  uint32_t command_;
  int32_t version_;
  platform::CommandResultRecord* result_;
  bool silent_;
};

// A file-type action (save or open of a registered file type).
class FileEvent : public HostEvent {
 public:
  static constexpr uint32_t kKind = platform::fourcc("FILE");
  FileEvent(int32_t action, int32_t refCon, std::unique_ptr<DataFile> file, const CadString& name);
  ~FileEvent() override;

  // The action: platform::kFileActionSave or kFileActionOpen.
  int32_t action() const { return code(); }
  // The file type's refCon.
  int32_t refCon() const { return refCon_; }
  // The file the action is about.
  DataFile* file() const { return file_.get(); }
  // The file's name; empty when the host gave none.
  const CadString& name() const { return name_; }
  // What the handler answers the host: kNoError unless a subscriber set a failure
  // (kErrCancelled when the user cancelled, kErrFile when the file could not be written).
  platform::GSErr result() const { return result_; }
  void setResult(platform::GSErr result) { result_ = result; }

 private:
  int32_t refCon_;
  std::unique_ptr<DataFile> file_;
  CadString name_;
  [[maybe_unused]] int32_t value3_ = 0;
  [[maybe_unused]] int32_t value4_ = 0;
  platform::GSErr result_ = platform::kNoError;
};

// Database notification codes.
enum : int32_t { kDataBegin = -1, kDataEnd = -2, kNewElement = 1, kCopyElement = 2, kChangeElement = 3,
                 kEditElement = 4 };

// A database notification about an element.
class DatabaseEvent : public HostEvent {
 public:
  static constexpr uint32_t kKind = platform::fourcc("DBSE");
  DatabaseEvent(int32_t code, const ElementLink& link, int32_t value)
      : HostEvent(kKind, code), link_(link), value_(value) {}

  // The element concerned (empty for begin and end).
  const ElementLink& link() const { return link_; }
  // The notification's value (the edit kind for an edit).
  int32_t value() const { return value_; }

 private:
  ElementLink link_;
  int32_t value_;
  [[maybe_unused]] int32_t reserved_ = 0;
};

// An edit of an element (database code 4).
class ElementEditEvent : public DatabaseEvent {
 public:
  ElementEditEvent(const ElementLink& link, int32_t editKind) : DatabaseEvent(kEditElement, link, editKind) {}
};

// An event with an on/off flag (1 = show/on).
class ToggleEvent : public Event {
 public:
  ToggleEvent(EventSpec spec, int32_t on) : Event(spec), on_(on) {}
  int32_t on() const { return on_; }

 private:
  int32_t on_;
};

// An event carrying a 32-bit value.
class LongEvent : public Event {
 public:
  LongEvent(EventSpec spec, int32_t value) : Event(spec), value_(value) {}
  int32_t value() const { return value_; }

 private:
  int32_t value_;
};

}  // namespace lunvik
