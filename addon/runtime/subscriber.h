// Subscribers: what listens on a publisher, and the framework's host-facing kinds.
#pragma once

#include <cstdint>

#include "platform/host_records.h"
#include "runtime/event.h"

namespace lunvik {

// Something that wants to hear events of one spec.
class Subscriber {
 public:
  virtual ~Subscriber() = default;
  // The category and kind of the events it wants.
  virtual EventSpec spec() const = 0;
  // Handles an event; true takes it and ends its delivery.
  virtual bool takeEvent(Event& event) = 0;
  // Asked once in the environment check; false refuses the add-on.
  virtual bool acceptsEnvironment() { return true; }
  // Registers what it offers (menus, commands, file types) with the host.
  virtual bool registerWithHost() { return true; }
  // Installs its host handlers.
  virtual bool installHandlers() { return true; }
};

// A host menu: its string lists, position and flags.
class MenuSubscriber : public Subscriber {
 public:
  MenuSubscriber(int16_t menuList, int16_t promptList, int32_t position, int32_t flags)
      : menuList_(menuList), promptList_(promptList), position_(position), flags_(flags) {}
  EventSpec spec() const override { return EventSpec(kHostCategory, MenuEvent::kKind); }
  bool takeEvent(Event& event) override;
  bool registerWithHost() override;
  bool installHandlers() override;
  // A choice from this menu.
  virtual bool menuSelected(MenuEvent& event) = 0;

  int16_t menuList() const { return menuList_; }
  int16_t promptList() const { return promptList_; }
  int32_t position() const { return position_; }
  int32_t flags() const { return flags_; }

 private:
  int16_t menuList_;
  int16_t promptList_;
  int32_t position_;
  int32_t flags_;
};

// A host command of a code and version.
class CommandSubscriber : public Subscriber {
 public:
  CommandSubscriber(uint32_t command, int32_t version) : command_(command), version_(version) {}
  EventSpec spec() const override { return EventSpec(kHostCategory, CommandEvent::kKind); }
  bool takeEvent(Event& event) override;
  bool registerWithHost() override;
  bool installHandlers() override;
  // A call of this command.
  virtual bool commandCalled(CommandEvent& event) = 0;

  uint32_t command() const { return command_; }
  int32_t version() const { return version_; }

 private:
  uint32_t command_;
  int32_t version_;
};

// A file type the add-on saves or opens.
class FileSubscriber : public Subscriber {
 public:
  explicit FileSubscriber(const platform::FileTypeRecord& type) : type_(type) {}
  EventSpec spec() const override { return EventSpec(kHostCategory, FileEvent::kKind); }
  bool takeEvent(Event& event) override;
  bool registerWithHost() override;
  bool installHandlers() override;
  // An action on this file type.
  virtual bool fileAction(FileEvent& event) = 0;

  const platform::FileTypeRecord& fileType() const { return type_; }

 private:
  platform::FileTypeRecord type_;
};

// Listens for project notifications.
class ProjectSubscriber : public Subscriber {
 public:
  EventSpec spec() const override { return EventSpec(kHostCategory, ProjectEvent::kKind); }
  bool takeEvent(Event& event) override;
  bool installHandlers() override;
  // A project notification.
  virtual bool projectEvent(ProjectEvent& event) = 0;
};

// Listens for module-data merges.
class ModuleSubscriber : public Subscriber {
 public:
  EventSpec spec() const override { return EventSpec(kHostCategory, ModuleEvent::kKind); }
  bool takeEvent(Event& event) override;
  bool installHandlers() override;
  // A module-data merge.
  virtual bool moduleEvent(ModuleEvent& event) = 0;
};

// Listens for database notifications about elements of one kind and variation.
class DatabaseSubscriber : public Subscriber {
 public:
  DatabaseSubscriber(int32_t typeID, int32_t variation) : typeID_(typeID), variation_(variation) {}
  EventSpec spec() const override { return EventSpec(kHostCategory, DatabaseEvent::kKind); }
  bool takeEvent(Event& event) override;
  bool installHandlers() override;
  // A database notification.
  virtual bool databaseEvent(DatabaseEvent& event) = 0;

  int32_t typeID() const { return typeID_; }
  int32_t variation() const { return variation_; }

 private:
  int32_t typeID_;
  int32_t variation_;
};

// A database subscriber that hears only notifications of one code.
template <int32_t Code>
class DatabaseCodeSubscriber : public DatabaseSubscriber {
 public:
  DatabaseCodeSubscriber(int32_t typeID, int32_t variation) : DatabaseSubscriber(typeID, variation) {}
  bool databaseEvent(DatabaseEvent& event) override {
    return event.code() == Code ? elementEvent(event) : false;
  }
  // A notification of this subscriber's code.
  virtual bool elementEvent(DatabaseEvent& event) = 0;
};

// Hears new elements (database code 1).
class NewElementSubscriber : public DatabaseCodeSubscriber<kNewElement> {
 public:
  using DatabaseCodeSubscriber::DatabaseCodeSubscriber;
};

// Hears copied elements (database code 2).
class CopyElementSubscriber : public DatabaseCodeSubscriber<kCopyElement> {
 public:
  using DatabaseCodeSubscriber::DatabaseCodeSubscriber;
};

// Hears changed elements (database code 3).
class ChangeElementSubscriber : public DatabaseCodeSubscriber<kChangeElement> {
 public:
  using DatabaseCodeSubscriber::DatabaseCodeSubscriber;
};

// Hears the start of a database operation (code -1).
class DataBeginSubscriber : public DatabaseCodeSubscriber<kDataBegin> {
 public:
  using DatabaseCodeSubscriber::DatabaseCodeSubscriber;
};

// Hears the end of a database operation (code -2).
class DataEndSubscriber : public DatabaseCodeSubscriber<kDataEnd> {
 public:
  using DatabaseCodeSubscriber::DatabaseCodeSubscriber;
};

// Hears element edits (database code 4).
class EditElementSubscriber : public DatabaseSubscriber {
 public:
  using DatabaseSubscriber::DatabaseSubscriber;
  bool databaseEvent(DatabaseEvent& event) override;
  // An edit of an element.
  virtual bool elementEdited(ElementEditEvent& event) = 0;
};

}  // namespace lunvik
