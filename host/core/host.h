// The stand-in host: loads the add-on the way the real host does, keeps what it registers,
// calls its handlers and records what it asks of the host.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/bodies/body_store.h"
#include "host/core/addon_module.h"
#include "host/core/memory_manager.h"
#include "host/core/resource_manager.h"
#include "host/dialogs/dialog_manager.h"
#include "host/model/project_model.h"
#include "host/files/file_library.h"
#include "host/input/pointer.h"
#include "host/library/library_index.h"
#include "host/project/project_file.h"
#include "platform/host_table.h"

namespace standin {

// A menu the add-on registered.
struct RegisteredMenu {
  int16_t menuList = 0;
  int16_t promptList = 0;
  int32_t position = 0;
  int32_t flags = 0;
};

// The element tool the add-on registered.
struct RegisteredTool {
  uint32_t signature = 0;
  int32_t templateResource = 0;
  int32_t transparent = 0;
  int32_t stringList = 0;
  int32_t icon = 0;
  int32_t icon2 = 0;
  int32_t toolboxGroup = 0;
  int32_t enableFlags = 0;
  int32_t defaultsResource = 0;
};

// A menu item as the host shows it.
struct MenuItem {
  std::string path;       // "Framing/Component/New Profile...": names and text without markers
  std::string text;       // the entry as the add-on stores it, markers included
  std::string prompt;     // the entry's prompt text
  int16_t menuList = 0;
  int32_t itemIndex = 0;  // 1-based, separators counted
  bool separator = false;
  int32_t flags = 0;      // platform::kMenuItemDisabled and kMenuItemChecked
};

// An undo step the add-on opened.
struct UndoRecord {
  std::string name;
  bool closed = false;
};

// An alert the add-on showed.
struct AlertRecord {
  int32_t kind = 0;
  std::string title;
  std::string text;
  std::vector<std::string> buttons;
  int32_t answer = 0;
  int answerLine = 0;  // the script line of the answer; 0 when the script gave none
};

// The mode the host hands the module-data merge handler when it merges another project in.
constexpr int32_t kModuleDataMergeMode = 1;

// Why the host could not load an add-on.
struct LoadError {
  std::string message;
};

// The stand-in host. One instance is current at a time; its function table routes there.
class Host {
 public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The current host, or null.
  static Host* current();

  // ---- loading ----
  // Hands over the table, fetches the entry record and runs the entry points in the host's
  // order (environment check, registration, initialisation); false with error set when the
  // add-on refuses or fails.
  bool load(std::unique_ptr<AddonModule> module, std::string& error);
  // Quits: closes the open project (notification 32), announces the quit (64), then releases
  // the add-on (EntryRelease).
  void unload();
  bool loaded() const { return loaded_; }
  // The table the host hands the add-on (tests may wrap it before load).
  const platform::HostFunctionTable& table() const { return table_; }
  // Replaces the table handed to the add-on at the next load.
  void setTable(const platform::HostFunctionTable& table) { table_ = table; }
  // The entry record the add-on filled.
  const platform::ExportedFuncRecord& entryRecord() const { return entry_; }
  // The environment record of the last check.
  const platform::EnvironmentRecord& environmentRecord() const { return environment_; }

  // ---- driving ----
  // Every registered menu item, in the host's order: menus in registration order, items in
  // list order. A menu's string list starts with the menu's name; its second string names the
  // submenu the entries open in when it carries no item marker ("^...") and entries follow.
  std::vector<MenuItem> menuItems();
  // The item with this path ("Framing/Preferences/Joints..."), letter case ignored; false
  // when there is none.
  bool findMenuItem(const std::string& path, MenuItem& item);
  // Chooses a menu item: calls the handler installed for its menu.
  platform::GSErr chooseMenuItem(int16_t menuList, int32_t itemIndex);
  // Delivers a project notification to the installed handler when its mask has the code.
  platform::GSErr notifyProject(int32_t code);
  // Calls an installed command handler with parameters (a handle of parameter records, may be
  // null).
  platform::GSErr callCommand(uint32_t code, int32_t version, platform::GSHandle parameters,
                              platform::CommandResultRecord& result);

  // ---- the project ----
  // One project is open at a time: opening or creating one while another is open closes that
  // one first (notification 32). A failed open or save changes nothing of the open project and
  // leaves the files as they were.
  //
  // Starts a new, empty project without a file and announces it (notification 1).
  void newProject();
  // Opens the project file at path and announces it (notification 4); false with error naming
  // the file and the problem when the file is refused.
  bool openProject(const std::string& path, std::string& error);
  // Saves the open project to path (empty: its own file). Announces the save first
  // (notification 8), in which the add-on stores its module data; then asks the save check
  // and writes the file through a temporary file in the same folder. Only a regular file is
  // replaced: a folder, device or FIFO at path is refused before anything is announced, and
  // so is a read-only file unless replaceReadOnly (the file then stays read-only). False with
  // error when no project is open, it has no file and none is given, the check refuses or the
  // file cannot be written. The saved file becomes the project's file.
  bool saveProject(const std::string& path, std::string& error, bool replaceReadOnly = false);
  // A check asked by every save after the save notification and before the file is written:
  // false with error refuses the save and leaves the file as it was (the command line judges
  // there whether the command went well). Empty: no check.
  void setSaveCheck(std::function<bool(std::string& error)> check) { saveCheck_ = std::move(check); }
  // Saves in a file type the add-on registered, as the host's save dialog does when the user
  // picks that format: the handler installed for the type whose description is description
  // (offered for saving, kFileTypeSave or kFileTypeExport) gets a save action for path with
  // the file's name. False with error when no project is open, no such type is registered or
  // the handler answers an error (kErrCancelled: the user cancelled; anything else: the file
  // was not written).
  bool saveAs(const std::string& path, const std::string& description, std::string& error);
  // Closes the open project (notification 32) and forgets its data; nothing when none is open.
  void closeProject();
  // Merges the module data of the project file at path into the open project through the
  // add-on's merge handler, called with kModuleDataMergeMode, an empty module name, the open
  // project's data (null when it has none), the data to merge and a destination set to null.
  // Ownership: the host allocates both data handles and frees them when the handler returns;
  // the handler must not free or keep them. A block the handler leaves in *destination passes
  // to the host, which takes its bytes as the project's module data and frees it (it may be
  // one of the two handles handed in). Nothing is merged when the other file has no module
  // data or no handler is installed. False with error when no project is open, the file is
  // refused, the handler answers an error or leaves a block the host did not hand out; the
  // project's module data is then unchanged.
  bool mergeProject(const std::string& path, std::string& error);
  bool projectOpen() const { return projectOpen_; }
  // The open project's file; empty for a new project not yet saved.
  const std::string& projectPath() const { return projectPath_; }
  // The working units the add-on reads with HostEnvironment 'GWUN'.
  WorkingUnits workingUnits() const { return workingUnits_; }
  void setWorkingUnits(WorkingUnits units) { workingUnits_ = units; }
  // The project's library folders as the file writes them.
  const std::vector<std::string>& libraryFolders() const { return libraryFolders_; }
  void setLibraryFolders(std::vector<std::string> folders) {
    libraryFolders_ = std::move(folders);
    libraryDirty_ = true;
  }
  // Adds a folder to the loaded libraries; false when it is no folder. A folder loaded
  // already is not added again.
  bool addLibraryFolder(const std::string& folder);
  // The loaded library parts, brought up to date with the folders first.
  LibraryIndex& library();
  // Marks the loaded libraries for a new scan (a file in them may have changed).
  void touchLibrary() { libraryDirty_ = true; }
  // True when path lies in one of the loaded library folders (or their sub-folders).
  bool inLibraryFolder(const std::string& path) const;
  // How often the plan was rebuilt.
  int planRebuilds() const { return planRebuilds_; }
  // The library folders resolved against the project file's folder.
  std::vector<std::string> resolvedLibraryFolders() const;
  // The token the host hands the add-on (tests call table operations with it).
  platform::HostToken token() const { return token_; }

  // ---- what the add-on registered and installed ----
  bool builtInLibraryRegistered() const { return builtInLibrary_; }
  const std::vector<RegisteredTool>& tools() const { return tools_; }
  const std::vector<RegisteredMenu>& menus() const { return menus_; }
  const std::vector<std::pair<uint32_t, int32_t>>& commands() const { return commands_; }
  const std::vector<platform::FileTypeRecord>& fileTypes() const { return fileTypes_; }
  bool hasMenuHandler(int16_t menuList) const { return menuHandlers_.count(menuList) != 0; }
  int32_t projectEventMask() const { return projectMask_; }
  int projectHandlerInstalls() const { return projectHandlerInstalls_; }
  int mergeHandlerInstalls() const { return mergeHandlerInstalls_; }
  bool keptInMemory() const { return keepInMemory_; }
  // Host calls made, by operation name (every call through the table counts).
  int callCount(const std::string& operation) const;
  // Notes a call of operation, a name of static storage (the operations' own literals), so
  // that counting allocates nothing.
  void countCall(const char* operation) {
    ++calls_[std::string_view(operation)];
    callLog_.push_back(operation);
    if (callLog_.size() > kCallLogSize) callLog_.pop_front();
  }
  // The last kCallLogSize host operations called, in order (memory, character and resource
  // calls left out): a long session does not grow the log.
  std::vector<std::string> callLog() const { return std::vector<std::string>(callLog_.begin(), callLog_.end()); }
  static constexpr std::size_t kCallLogSize = 10000;

  // ---- records ----
  const std::vector<UndoRecord>& undoSteps() const { return undo_; }
  // The number of steps opened and not closed.
  int openUndoSteps() const;
  const std::vector<AlertRecord>& alerts() const { return alerts_; }
  // Queues the answer (1-based button) of the next alert. When the queue is empty an alert is
  // answered with its first button.
  void queueAlertAnswer(int32_t button) { alertAnswers_.push_back(button); }
  void clearRecords();

  // ---- settings ----
  // The user's application-data folder (the system special folder).
  void setApplicationDataFolder(const std::string& path) { appData_ = path; }
  const std::string& applicationDataFolder() const { return appData_; }
  // A host special folder of a kind (7 the folder holding "Add-Ons", 5 the user's host data).
  void setHostFolder(int32_t kind, const std::string& path) { hostFolders_[kind] = path; }
  bool groupsSuspended() const { return groupsSuspended_; }
  void setGroupsSuspended(bool on) { groupsSuspended_ = on; }
  // The host's clock in seconds (tests fix it).
  void setClock(std::function<uint32_t()> clock) { clock_ = std::move(clock); }
  // Where alerts are echoed as they are shown (the command line prints them); may be empty.
  void setAlertEcho(std::function<void(const AlertRecord&)> echo) { alertEcho_ = std::move(echo); }

  // ---- module data ----
  const std::string& moduleData() const { return moduleData_; }
  void setModuleData(const std::string& data) { moduleData_ = data; }
  // True when the add-on reported (HostInterface 'MDNR') that the open project's module data
  // did not read: a save would replace it with what the add-on holds instead. Cleared when a
  // project is opened or started and once a save has written the file.
  bool moduleDataUnread() const { return unreadModuleData_; }
  // The package the add-on named as not read (empty when it named none).
  const std::string& unreadModulePackage() const { return unreadModulePackage_; }

  MemoryManager& memory() { return memory_; }
  DialogManager& dialogs() { return *dialogs_; }
  ProjectModel& model() { return *model_; }
  ResourceManager& resources() { return resources_; }
  FileLibrary& files() { return files_; }
  // The pointer: the user's clicks for input requests and the rubber lines drawn meanwhile.
  Pointer& pointer() { return *pointer_; }
  // The 3D model: the elements' generated bodies.
  BodyStore& bodies() { return bodies_; }

 private:
  friend struct HostOperations;

  // Takes data as the project's, with path as its file; open says whether a project is open.
  void adoptProject(const ProjectData& data, const std::string& path, bool open);

  platform::HostFunctionTable table_{};
  std::unique_ptr<AddonModule> module_;
  platform::ExportedFuncRecord entry_{};
  platform::EnvironmentRecord environment_{};
  bool loaded_ = false;
  platform::HostToken token_ = 0x54524553;  // 'TRES'

  bool builtInLibrary_ = false;
  std::vector<RegisteredTool> tools_;
  std::vector<RegisteredMenu> menus_;
  std::vector<std::pair<uint32_t, int32_t>> commands_;
  std::vector<platform::FileTypeRecord> fileTypes_;

  std::map<int16_t, platform::MenuHandlerFn> menuHandlers_;
  std::map<std::pair<uint32_t, int32_t>, platform::CommandHandlerFn> commandHandlers_;
  std::map<int32_t, platform::FileTypeHandlerFn> fileHandlers_;
  platform::ModuleDataMergeHandlerFn mergeHandler_ = nullptr;
  platform::ProjectHandlerFn projectHandler_ = nullptr;
  int32_t projectMask_ = 0;
  int projectHandlerInstalls_ = 0;
  int mergeHandlerInstalls_ = 0;
  std::vector<std::pair<int32_t, int32_t>> caughtElements_;
  platform::ElementObserverFn elementObserver_ = nullptr;
  bool keepInMemory_ = false;

  std::map<std::pair<int16_t, int32_t>, int32_t> menuFlags_;
  std::map<std::pair<int16_t, int32_t>, std::string> menuTexts_;

  std::vector<UndoRecord> undo_;
  std::vector<AlertRecord> alerts_;
  std::deque<int32_t> alertAnswers_;
  std::function<void(const AlertRecord&)> alertEcho_;
  std::function<bool(std::string&)> saveCheck_;
  std::unordered_map<std::string_view, int> calls_;
  std::deque<const char*> callLog_;

  std::string appData_;
  std::map<int32_t, std::string> hostFolders_;
  bool groupsSuspended_ = false;
  std::function<uint32_t()> clock_;
  std::string moduleData_;
  bool unreadModuleData_ = false;
  std::string unreadModulePackage_;
  int memInits_ = 0;

  bool projectOpen_ = false;
  std::string projectPath_;
  WorkingUnits workingUnits_ = WorkingUnits::Metric;
  std::vector<std::string> libraryFolders_;
  LibraryIndex library_;
  bool libraryDirty_ = true;
  int planRebuilds_ = 0;

  MemoryManager memory_;
  std::unique_ptr<DialogManager> dialogs_ = std::make_unique<DialogManager>();
  std::unique_ptr<Pointer> pointer_ = std::make_unique<Pointer>();
  std::unique_ptr<ProjectModel> model_ = std::make_unique<ProjectModel>();
  ResourceManager resources_;
  FileLibrary files_;
  BodyStore bodies_;
};

}  // namespace standin
