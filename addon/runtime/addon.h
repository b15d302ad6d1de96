// The add-on object: the one publisher of a loaded add-on, its project context and steps.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/cad_string.h"
#include "runtime/publisher.h"
#include "runtime/subscriber.h"

namespace lunvik {

class Addon;
class Drawing;
class Library;
class ObjectStore;
class Plan;
class Specification;
class Package;
class Project;

// The project context shared by the add-ons built on this framework.
struct Supervisor {
  Supervisor();
  ~Supervisor();
  Supervisor(const Supervisor&) = delete;
  Supervisor& operator=(const Supervisor&) = delete;

  std::unique_ptr<Project> project;   // the open project
  std::unique_ptr<ObjectStore> store; // the registered packages with their defaults
  std::vector<Addon*> addons;         // the add-ons sharing this context, the owner first
};

// Answers the host command 'GSUP' with the address of the add-on's project context.
class SupervisorLink : public CommandSubscriber {
 public:
  static constexpr uint32_t kCommand = platform::fourcc("GSUP");
  SupervisorLink(Addon& addon, uint32_t command, int32_t version) : CommandSubscriber(command, version), addon_(addon) {}
  bool commandCalled(CommandEvent& event) override;

 private:
  Addon& addon_;
};

// The codes of the registered preference packages, in registration order.
class TypeList : public std::vector<uint32_t> {};

// The add-on object.
class Addon : public Publisher {
 public:
  Addon();
  ~Addon() override;

  // Dispatch of an event: host events run between the before and after hooks; other events
  // go to this add-on's subscribers and then to the other add-ons of the context.
  bool publish(Event& event) override;
  // The same as publish.
  bool takeEvent(Event& event) { return publish(event); }
  // Readies the add-on for the next host callback: forgets an open undo step and the
  // project's caches.
  virtual void prepareForEvent();
  // Reports an exception that escaped an entry point, a dispatch or a dialog handler.
  virtual void reportUnexpectedError();
  // The open project.
  virtual Project* project() const;
  // The drawing of the host's current database (cached in its own slot).
  virtual Drawing* currentDrawing() const;
  // The same, cached in a second slot.
  virtual Drawing* currentDrawing2() const;
  // The project's plan, attribute catalogue and library.
  virtual Plan* plan() const;
  virtual Specification* attributes() const;
  virtual Library* library() const;
  // Enables or disables a menu item; writes nothing when it already is so.
  virtual void setMenuItemEnabled(int16_t menuList, int32_t item, bool enabled);
  // Sets a menu item's text.
  virtual void setMenuItemText(int16_t menuList, int32_t item, const CadString& text);
  // The add-on's preferences folder.
  virtual std::unique_ptr<CadString> preferencesFolder() const;
  // Registers a package: its code joins the type list, a copy goes to both stores.
  virtual void addPackage(const Package& package);
  // The registered package of code, or null.
  virtual Package* package(uint32_t code) const;
  // Copies the project's package of every registered code into store.
  virtual void collectPackages(ObjectStore& store) const;
  // Writes the registered packages into the project's module data.
  virtual bool saveToProject();
  // Whether element links check that their element still exists.
  virtual bool checksElementLinks() const { return true; }
  // The add-on's four-character code.
  virtual uint32_t addonCode() const { return platform::fourcc("xxxx"); }
  // The add-on's kind.
  virtual int32_t addonKind() const { return 0; }
  // Runs before a host event is published; true skips the publishing.
  virtual bool beforeHostEvent(HostEvent& event);
  // Runs after a host event, whether it was published or not.
  virtual bool afterHostEvent(HostEvent& event);
  // Sets the add-on up right after construction (the product fills its tools here).
  virtual void setup() {}
  // Reports that the project's module data did not read when the project opened, so the
  // packages hold their defaults: package is the tag of the package that did not read (empty
  // when none can be named); hostTold says whether the host took the notice that keeps the
  // data from being saved over. Nothing by default.
  virtual void reportUnreadModuleData(const CadString& package, bool hostTold);

  // Opens an undo step; 0 when one is open already (steps do not nest).
  uint32_t openUndoStep(const CadString& name);
  // Closes the open step when id names it; answers id.
  uint32_t closeUndoStep(uint32_t id);
  // The id of the open undo step, 0 for none.
  uint32_t openUndoId() const { return openUndoId_; }

  // Delivers a host callback's event: keeps the add-on in memory, readies it (unless the
  // callback comes while another is handled) and publishes, reporting any exception.
  bool dispatch(Event& event);

  // The shared project context.
  Supervisor& context() const { return *context_; }
  // Replaces the project context by a fresh one that the add-on owns.
  void renewContext();
  // The package type list.
  const TypeList& types() const { return *types_; }

 protected:
  // Reads the project's module data into the project's packages (a project was opened).
  void loadFromProject();
  // Merges a second project's module data into the project's and hands the result back.
  void mergeModuleData(ModuleEvent& event);

 private:
  bool ownsContext_ = true;
  Supervisor* context_ = nullptr;
  std::unique_ptr<SupervisorLink> link_;
  std::unique_ptr<TypeList> types_;
  uint32_t undoCounter_ = 0;
  uint32_t openUndoId_ = 0;
  int dispatching_ = 0;  // host callbacks being handled, nested ones counted
};

// The add-on object of this process, or null.
Addon* theAddon();
// Sets the add-on object of this process (entry points only).
void setTheAddon(Addon* addon);
// Builds the product's add-on object; defined by the product.
Addon* newProductAddon();

// Name of every object store of this program.
extern const char* const kPreferenceStoreName;

}  // namespace lunvik
