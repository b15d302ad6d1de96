// The functions of the table the host hands the add-on. Each routes to the current host.
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "host/bodies/body_operations.h"
#include "host/core/host.h"
#include "host/library/library_operations.h"

namespace standin {

using platform::GSErr;
using platform::GSHandle;
using platform::HostToken;
using platform::kNoError;

struct HostOperations {
  static Host& h() { return *Host::current(); }

  // Host operations answer kErrNoProject-free errors only for their own arguments; a wrong
  // token is refused like the real host refuses a foreign add-on.
  static bool tokenOk(HostToken token) { return token == h().token_; }

#define ENTER(name)                                          \
  Host* self = Host::current();                              \
  if (!self) return platform::kErrGeneral;                   \
  self->countCall(name)

  // ---- registration ----
  static GSErr registerBuiltInLibrary(HostToken) {
    ENTER("HostRegisterBuiltInLibrary");
    self->builtInLibrary_ = true;
    // The parts the add-on's own module lists join the loaded libraries.
    const platform::ResourceModule* module = self->resources_.ownModule();
    self->library_.setBuiltIn(module && module->name ? module->name : "add-on", builtInFiles(module));
    self->libraryDirty_ = true;
    return kNoError;
  }
  static GSErr registerSubtypeTool(HostToken, uint32_t signature, int32_t templateResource, int32_t transparent,
                                   int32_t stringList, int32_t icon, int32_t icon2, int32_t toolboxGroup,
                                   int32_t enableFlags, int32_t defaultsResource) {
    ENTER("HostRegisterSubtypeTool");
    self->tools_.push_back({signature, templateResource, transparent, stringList, icon, icon2, toolboxGroup,
                            enableFlags, defaultsResource});
    return kNoError;
  }
  static GSErr registerMenu(HostToken, int16_t menuList, int16_t promptList, int32_t position, int32_t flags) {
    ENTER("HostRegisterMenu");
    for (const auto& m : self->menus_)
      if (m.menuList == menuList) return platform::kErrBadParameter;
    self->menus_.push_back({menuList, promptList, position, flags});
    return kNoError;
  }
  static GSErr registerCommand(HostToken, uint32_t code, int32_t version) {
    ENTER("HostRegisterCommand");
    self->commands_.emplace_back(code, version);
    return kNoError;
  }
  static GSErr registerFileType(HostToken, const platform::FileTypeRecord* record) {
    ENTER("HostRegisterFileType");
    if (!record) return platform::kErrNullArgument;
    self->fileTypes_.push_back(*record);
    return kNoError;
  }

  // ---- handlers ----
  static GSErr installMenuHandler(HostToken token, int16_t menuList, platform::MenuHandlerFn handler) {
    ENTER("HostInstallMenuHandler");
    if (!tokenOk(token)) return platform::kErrGeneral;
    bool known = false;
    for (const auto& m : self->menus_) known = known || m.menuList == menuList;
    if (!known || !handler) return platform::kErrBadParameter;
    self->menuHandlers_[menuList] = handler;
    return kNoError;
  }
  static GSErr installCommandHandler(HostToken token, uint32_t code, int32_t version,
                                     platform::CommandHandlerFn handler) {
    ENTER("HostInstallCommandHandler");
    if (!tokenOk(token)) return platform::kErrGeneral;
    if (!handler) return platform::kErrNullArgument;
    self->commandHandlers_[{code, version}] = handler;
    return kNoError;
  }
  static GSErr installFileTypeHandler(HostToken token, int32_t refCon, platform::FileTypeHandlerFn handler) {
    ENTER("HostInstallFileTypeHandler");
    if (!tokenOk(token)) return platform::kErrGeneral;
    if (!handler) return platform::kErrNullArgument;
    self->fileHandlers_[refCon] = handler;
    return kNoError;
  }
  static GSErr installMergeHandler(HostToken token, platform::ModuleDataMergeHandlerFn handler) {
    ENTER("HostInstallModuleDataMergeHandler");
    if (!tokenOk(token)) return platform::kErrGeneral;
    self->mergeHandler_ = handler;
    ++self->mergeHandlerInstalls_;
    return kNoError;
  }
  static GSErr catchProjectEvents(HostToken token, int32_t mask, platform::ProjectHandlerFn handler) {
    ENTER("HostCatchProjectEvents");
    if (!tokenOk(token)) return platform::kErrGeneral;
    self->projectMask_ = mask;
    self->projectHandler_ = handler;
    ++self->projectHandlerInstalls_;
    return kNoError;
  }
  static GSErr catchNewElement(HostToken token, int32_t typeID, int32_t variation, bool on) {
    ENTER("HostCatchNewElement");
    if (!tokenOk(token)) return platform::kErrGeneral;
    auto& caught = self->caughtElements_;
    std::pair<int32_t, int32_t> key(typeID, variation);
    bool present = false;
    for (auto it = caught.begin(); it != caught.end(); ++it) {
      if (*it == key) {
        present = true;
        if (!on) caught.erase(it);
        break;
      }
    }
    if (on && !present) caught.push_back(key);
    return kNoError;
  }
  static GSErr installElementObserver(HostToken token, platform::ElementObserverFn handler) {
    ENTER("HostInstallElementObserver");
    if (!tokenOk(token)) return platform::kErrGeneral;
    self->elementObserver_ = handler;
    return kNoError;
  }

  // ---- steps ----
  static GSErr keepInMemory(HostToken, bool keep) {
    ENTER("HostKeepInMemory");
    self->keepInMemory_ = keep;
    return kNoError;
  }
  static GSErr openUndoStep(HostToken, const char* name) {
    ENTER("HostOpenUndoStep");
    // The host's steps do not nest: a second open while one is open is refused.
    if (self->openUndoSteps() > 0) return platform::kErrGeneral;
    self->undo_.push_back({name ? name : "", false});
    return kNoError;
  }
  static GSErr closeUndoStep(HostToken) {
    ENTER("HostCloseUndoStep");
    for (auto it = self->undo_.rbegin(); it != self->undo_.rend(); ++it) {
      if (!it->closed) {
        it->closed = true;
        return kNoError;
      }
    }
    return platform::kErrGeneral;
  }

  // ---- project data ----
  static GSErr storeModuleData(HostToken, const platform::ModuleDataRecord* record) {
    ENTER("HostStoreModuleData");
    if (!record) return platform::kErrNullArgument;
    if (!record->dataHdl) {
      self->moduleData_.clear();
      return kNoError;
    }
    if (!self->memory_.owns(record->dataHdl)) return platform::kErrBadParameter;
    self->moduleData_.assign(*record->dataHdl, std::size_t(self->memory_.size(record->dataHdl)));
    return kNoError;
  }
  static GSErr getModuleData(HostToken, platform::ModuleDataRecord* record) {
    ENTER("HostGetModuleData");
    if (!record) return platform::kErrNullArgument;
    if (self->moduleData_.empty()) return platform::kErrBadIndex;
    GSHandle handle = self->memory_.newHandle(int64_t(self->moduleData_.size()));
    if (!handle) return platform::kErrMemory;
    std::memcpy(*handle, self->moduleData_.data(), self->moduleData_.size());
    record->dataVersion = 1;
    record->platform = 0x5757;
    record->dataHdl = handle;
    return kNoError;
  }

  // ---- dispatchers ----
  static GSErr database(HostToken, uint32_t code, void* p1, void* p2, void* p3) {
    ENTER("HostDatabase");
    GSErr modelResult = kNoError;
    if (modelDatabase(code, p1, p2, p3, modelResult)) return modelResult;
    switch (code) {
      default:
        return platform::kErrBadParameter;
    }
  }
  static GSErr environment(HostToken, uint32_t code, void* p1, void* p2, void* p3) {
    ENTER("HostEnvironment");
    GSErr modelResult = kNoError;
    if (modelEnvironment(code, p1, p2, p3, modelResult)) return modelResult;
    switch (code) {
      case platform::fourcc("GSPF"): {
        if (!p1 || !p2 || !p3) return platform::kErrNullArgument;
        auto it = self->hostFolders_.find(*static_cast<const int32_t*>(p1));
        int32_t size = *static_cast<const int32_t*>(p3);
        if (it == self->hostFolders_.end() || it->second.empty()) return platform::kErrBadIndex;
        if (size <= 0 || std::size_t(size) <= it->second.size()) return platform::kErrBadParameter;
        std::memcpy(p2, it->second.c_str(), it->second.size() + 1);
        return kNoError;
      }
      case platform::fourcc("ISSG"):
        if (!p1) return platform::kErrNullArgument;
        *static_cast<int32_t*>(p1) = self->groupsSuspended_ ? 1 : 0;
        return kNoError;
      case platform::fourcc("GLIB"): {
        if (!p1 || !p2) return platform::kErrNullArgument;
        std::string paths;
        std::vector<std::string> folders = self->resolvedLibraryFolders();
        for (const std::string& f : folders) paths.append(f.c_str(), f.size() + 1);
        GSHandle handle = self->memory_.newHandle(int64_t(paths.size()));
        if (!handle) return platform::kErrMemory;
        if (!paths.empty()) std::memcpy(*handle, paths.data(), paths.size());
        *static_cast<int32_t*>(p1) = int32_t(folders.size());
        *static_cast<GSHandle*>(p2) = handle;
        if (p3) *static_cast<int32_t*>(p3) = folders.empty() ? -1 : 0;
        return kNoError;
      }
      case platform::fourcc("ALIB"):
        if (!p1) return platform::kErrNullArgument;
        return self->addLibraryFolder(static_cast<const char*>(p1)) ? kNoError : platform::kErrFile;
      case platform::fourcc("GWUN"):
        if (!p1) return platform::kErrNullArgument;
        *static_cast<int32_t*>(p1) = static_cast<int32_t>(self->workingUnits_);
        return kNoError;
      default:
        return libraryEnvironment(*self, code, p1, p2, p3);
    }
  }
  static GSErr interface(HostToken, uint32_t code, void* p1, void* p2, void* p3) {
    ENTER("HostInterface");
    GSErr dialogResult = kNoError;
    if (self->dialogs().interfaceOperation(code, p1, p2, p3, dialogResult)) return dialogResult;
    if (self->pointer().interfaceOperation(code, p1, p2, p3, dialogResult)) return dialogResult;
    if (code == platform::fourcc("RBPL")) {
      ++self->planRebuilds_;
      return kNoError;
    }
    if (code == platform::fourcc("MDNR")) {
      if (!self->projectOpen_) return platform::kErrBadParameter;
      self->unreadModuleData_ = true;
      self->unreadModulePackage_ = p1 ? static_cast<const char*>(p1) : "";
      return kNoError;
    }
    if (!p1) return platform::kErrNullArgument;
    const auto* ref = static_cast<const platform::MenuItemRef*>(p1);
    std::pair<int16_t, int32_t> key(ref->menuList, ref->itemIndex);
    switch (code) {
      case platform::fourcc("GMIF"):
        if (!p2) return platform::kErrNullArgument;
        *static_cast<int32_t*>(p2) = self->menuFlags_[key];
        return kNoError;
      case platform::fourcc("SMIF"):
        if (!p2) return platform::kErrNullArgument;
        self->menuFlags_[key] = *static_cast<const int32_t*>(p2);
        return kNoError;
      case platform::fourcc("SMIT"):
        if (!p2) return platform::kErrNullArgument;
        self->menuTexts_[key] = static_cast<const char*>(p2);
        return kNoError;
      default:
        return platform::kErrBadParameter;
    }
  }
  static GSErr goodies(HostToken, uint32_t code, void* p1, void* p2, void* p3) {
    ENTER("HostGoodies");
    GSErr modelResult = kNoError;
    if (modelGoodies(code, p1, p2, p3, modelResult)) return modelResult;
    return libraryGoodies(*self, code, p1, p2, p3);
  }
  static GSErr automate(HostToken, uint32_t code, void* p1, void* p2, void* p3) {
    ENTER("HostAutomate");
    GSErr modelResult = kNoError;
    if (modelAutomate(code, p1, p2, p3, modelResult)) return modelResult;
    return platform::kErrBadParameter;
  }
  static GSErr elementTool(HostToken, const void* elements, int32_t count, uint32_t code) {
    ENTER("HostElementTool");
    GSErr modelResult = kNoError;
    if (modelElementTool(elements, count, code, modelResult)) return modelResult;
    if (code == platform::fourcc("SUSP")) {
      self->groupsSuspended_ = !self->groupsSuspended_;
      return kNoError;
    }
    return platform::kErrBadParameter;
  }

  // ---- library parts ----
  static GSErr searchLibraryPart(HostToken, platform::LibraryPartRecord* record) {
    ENTER("HostSearchLibraryPart");
    if (!record) return platform::kErrNullArgument;
    return searchPart(*self, record);
  }
  static GSErr getLibraryPart(HostToken, platform::LibraryPartRecord* record) {
    ENTER("HostGetLibraryPart");
    if (!record) return platform::kErrNullArgument;
    return fillPartRecord(*self, record->index, record);
  }
  static GSErr getLibraryPartCount(HostToken, int32_t* count) {
    ENTER("HostGetLibraryPartCount");
    if (!count) return platform::kErrNullArgument;
    *count = self->library().count();
    return kNoError;
  }

  // ---- root library ----
  static GSErr memInit(int32_t) {
    ENTER("MemInit");
    ++self->memInits_;
    return kNoError;
  }
  static void memExit() {
    if (Host* self = Host::current()) --self->memInits_;
  }
  static GSHandle memNew(int64_t size) { return Host::current() ? h().memory_.newHandle(size) : nullptr; }
  static void memDispose(GSHandle handle) {
    if (Host::current()) h().memory_.dispose(handle);
  }
  static int64_t memSize(GSHandle handle) { return Host::current() ? h().memory_.size(handle) : 0; }
  static GSErr memResize(GSHandle handle, int64_t size) {
    return Host::current() ? h().memory_.resize(handle, size) : platform::kErrGeneral;
  }
  static int32_t compareTexts(const char* a, const char* b, int32_t caseType, int32_t) {
    if (!a) a = "";
    if (!b) b = "";
    int r = caseType == 1 ? ::strcasecmp(a, b) : std::strcmp(a, b);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
  }
  static void transformCase(char* text, int32_t mode) {
    if (!text) return;
    for (; *text; ++text) {
      auto c = static_cast<unsigned char>(*text);
      if (c < 0x80) *text = char(mode == 1 ? std::toupper(c) : std::tolower(c));
    }
  }
  // UTF-8: the length of the sequence its lead byte announces (a stray byte counts as one).
  static int32_t charBytes(const char* text) {
    if (!text || !*text) return 0;
    auto c = static_cast<unsigned char>(*text);
    int32_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    for (int32_t i = 1; i < n; ++i)
      if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
    return n;
  }
  static uint32_t time() {
    Host* self = Host::current();
    if (self && self->clock_) return self->clock_();
    return uint32_t(std::time(nullptr));
  }
  static void ownResourceModule(const platform::ResourceModule* module) {
    if (Host::current()) h().resources_.setOwnModule(module);
  }
  static const platform::ResourceModule* setResourceModule(const platform::ResourceModule* module) {
    return Host::current() ? h().resources_.setCurrent(module) : nullptr;
  }
  static bool getIndString(int32_t listId, int32_t index, char* buffer, int32_t size) {
    if (!Host::current() || !buffer || size <= 0) return false;
    std::string text;
    if (!h().resources_.string(h().resources_.current(), listId, index, text)) return false;
    std::size_t n = std::min(text.size(), std::size_t(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return true;
  }
  static GSHandle loadResource(uint32_t type, int32_t id) {
    if (!Host::current()) return nullptr;
    const platform::ResourceEntry* entry = ResourceManager::find(h().resources_.current(), type, id);
    if (!entry) return nullptr;
    GSHandle handle = h().memory_.newHandle(entry->size);
    if (handle && entry->size) std::memcpy(*handle, entry->data, entry->size);
    return handle;
  }

  // ---- dialog manager ----
  static int32_t alert(int32_t kind, const char* title, const char* text, const char* b1, const char* b2,
                       const char* b3) {
    Host* self = Host::current();
    if (!self) return 0;
    self->countCall("DGAlert");
    AlertRecord record;
    record.kind = kind;
    record.title = title ? title : "";
    record.text = text ? text : "";
    for (const char* b : {b1, b2, b3})
      if (b) record.buttons.push_back(b);
    int32_t answer = 1;
    if (self->dialogs().answerAlert(record.buttons, answer, &record.answerLine)) {
      // The script's answer.
    } else if (!self->alertAnswers_.empty()) {
      answer = self->alertAnswers_.front();
      self->alertAnswers_.pop_front();
    }
    if (answer < 1 || std::size_t(answer) > std::max<std::size_t>(record.buttons.size(), 1)) answer = 1;
    record.answer = answer;
    self->alerts_.push_back(record);
    if (self->alertEcho_) self->alertEcho_(record);
    return answer;
  }

  // ---- system ----
  static GSErr specialFolder(int32_t kind, char* path, int32_t size) {
    ENTER("SysGetSpecialFolder");
    if (!path || size <= 0) return platform::kErrNullArgument;
    if (kind != platform::kSystemFolderAppData || self->appData_.empty()) return platform::kErrBadIndex;
    if (std::size_t(size) <= self->appData_.size()) return platform::kErrBadParameter;
    std::memcpy(path, self->appData_.c_str(), self->appData_.size() + 1);
    return kNoError;
  }

  // ---- file library ----
  static GSErr ioOpen(const char* path, int32_t mode, int32_t* file) {
    ENTER("IOOpenFile");
    return self->files_.open(path, mode, file);
  }
  static GSErr ioRead(int32_t file, void* buffer, int64_t size, int64_t* read) {
    ENTER("IOReadFile");
    return self->files_.read(file, buffer, size, read);
  }
  static GSErr ioWrite(int32_t file, const void* data, int64_t size) {
    ENTER("IOWriteFile");
    return self->files_.write(file, data, size);
  }
  static GSErr ioClose(int32_t file) {
    ENTER("IOCloseFile");
    // A file written into a library folder may be a library part.
    const std::string written = self->files_.writtenPath(file);
    if (!written.empty() && self->inLibraryFolder(written)) self->touchLibrary();
    return self->files_.close(file);
  }
  static GSErr ioDelete(const char* path) {
    ENTER("IODeleteFile");
    return self->files_.remove(path);
  }
  static GSErr ioSize(const char* path, int64_t* size) {
    ENTER("IOFileSize");
    return self->files_.size(path, size);
  }
  static int32_t ioKind(const char* path) { return Host::current() ? h().files_.kind(path) : 0; }
  static GSErr ioCreateFolder(const char* path) {
    ENTER("IOCreateFolder");
    return self->files_.createFolder(path);
  }
  static GSErr ioSetType(const char* path, uint32_t type, uint32_t creator) {
    ENTER("IOSetFileType");
    return self->files_.setType(path, type, creator);
  }
  static GSErr ioMove(const char* from, const char* to) {
    ENTER("IOMoveFile");
    if (!from || !to) return platform::kErrNullArgument;
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path source = fs::path(FileLibrary::nativePath(from)).lexically_normal();
    fs::path target = fs::path(FileLibrary::nativePath(to)).lexically_normal();
    if (source.empty() || target.empty() || !fs::exists(fs::symlink_status(source, error))) return platform::kErrFile;
    // Never over something that is there (or may be), nor a folder into itself.
    if (fs::symlink_status(target, error).type() != fs::file_type::not_found) return platform::kErrFile;
    std::string s = source.string(), t = target.string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    if (t == s || (t.size() > s.size() && t.compare(0, s.size(), s) == 0 && t[s.size()] == '/')) return platform::kErrFile;
    const bool fromLibrary = self->inLibraryFolder(s);
    fs::rename(source, target, error);
    if (error) return platform::kErrFile;
    // A library folder's content may have changed.
    if (fromLibrary || self->inLibraryFolder(t)) self->touchLibrary();
    return kNoError;
  }
  static GSErr ioReplace(const char* source, const char* target) {
    ENTER("IOReplaceFile");
    GSErr err = self->files_.replace(source, target);
    // A file put into a library folder may be a library part.
    if (err == kNoError && self->inLibraryFolder(FileLibrary::nativePath(target))) self->touchLibrary();
    return err;
  }

#undef ENTER

  static platform::HostFunctionTable build() {
    platform::HostFunctionTable t{};
    t.HostRegisterBuiltInLibrary = &registerBuiltInLibrary;
    t.HostRegisterSubtypeTool = &registerSubtypeTool;
    t.HostRegisterMenu = &registerMenu;
    t.HostRegisterCommand = &registerCommand;
    t.HostRegisterFileType = &registerFileType;
    t.HostInstallMenuHandler = &installMenuHandler;
    t.HostInstallCommandHandler = &installCommandHandler;
    t.HostInstallFileTypeHandler = &installFileTypeHandler;
    t.HostInstallModuleDataMergeHandler = &installMergeHandler;
    t.HostCatchProjectEvents = &catchProjectEvents;
    t.HostCatchNewElement = &catchNewElement;
    t.HostInstallElementObserver = &installElementObserver;
    t.HostKeepInMemory = &keepInMemory;
    t.HostOpenUndoStep = &openUndoStep;
    t.HostCloseUndoStep = &closeUndoStep;
    t.HostStoreModuleData = &storeModuleData;
    t.HostGetModuleData = &getModuleData;
    t.HostDatabase = &database;
    t.HostEnvironment = &environment;
    t.HostInterface = &interface;
    t.HostGoodies = &goodies;
    t.HostAutomate = &automate;
    t.HostElementTool = &elementTool;
    t.HostSearchLibraryPart = &searchLibraryPart;
    t.HostGetLibraryPart = &getLibraryPart;
    t.HostGetLibraryPartCount = &getLibraryPartCount;
    t.MemInit = &memInit;
    t.MemExit = &memExit;
    t.MemNewHandle = &memNew;
    t.MemDisposeHandle = &memDispose;
    t.MemGetHandleSize = &memSize;
    t.MemSetHandleSize = &memResize;
    t.CHCompareTexts = &compareTexts;
    t.CHTransformCase = &transformCase;
    t.CHCharBytes = &charBytes;
    t.TMGetTime = &time;
    t.RSOwnResourceModule = &ownResourceModule;
    t.RSSetResourceModule = &setResourceModule;
    t.RSGetIndString = &getIndString;
    t.RSLoadResource = &loadResource;
    t.DGAlert = &alert;
    t.SysGetSpecialFolder = &specialFolder;
    t.IOOpenFile = &ioOpen;
    t.IOReadFile = &ioRead;
    t.IOWriteFile = &ioWrite;
    t.IOCloseFile = &ioClose;
    t.IODeleteFile = &ioDelete;
    t.IOFileSize = &ioSize;
    t.IOPathKind = &ioKind;
    t.IOCreateFolder = &ioCreateFolder;
    t.IOSetFileType = &ioSetType;
    t.IOMoveFile = &ioMove;
    t.IOReplaceFile = &ioReplace;
    installModelOperations(t);
    installDialogOperations(t);
    installLibraryOperations(t);
    installBodyOperations(t);
    return t;
  }
};

platform::HostFunctionTable buildHostTable() { return HostOperations::build(); }

}  // namespace standin
