#include "host/core/host.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>

#include "host/bodies/element_bodies.h"
#include "host/files/file_replace.h"
#include "platform/parameter_records.h"

namespace standin {

platform::HostFunctionTable buildHostTable();

namespace {
Host* gCurrent = nullptr;

// The entry text without the host's menu-item markers ("^ES", "^EE", "^E3", "^ED", "^S").
std::string withoutMarkers(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '^' && i + 1 < text.size()) {
      i += text[i + 1] == 'E' && i + 2 < text.size() ? 2 : 1;
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace

Host::Host() : table_(buildHostTable()) {
  gCurrent = this;
  model_->setMemory(&memory_);
  model_->setCaught(&caughtElements_);
  model_->setNotifier([this](const platform::ElementNotifyRecord& record) {
    if (elementObserver_) elementObserver_(&record);
  });
  model_->setLibrary([this]() -> const LibraryIndex& { return library(); });
  model_->setGroupsSuspended([this]() { return groupsSuspended_; });
  connectElementBodies(*this);
  // Sections and elevations are drawings of two coordinates: along the cut line, then up.
  pointer_->setFlatView([this]() -> std::string {
    const HostDatabase& view = model_->currentDatabase();
    if (view.id.kind == platform::kDatabasePlan || view.id.kind == platform::kDatabaseModel) return std::string();
    const char* kind = "view";
    if (view.id.kind == platform::kDatabaseSection) kind = "section";
    else if (view.id.kind == platform::kDatabaseElevation) kind = "elevation";
    else if (view.id.kind == platform::kDatabaseInteriorElevation) kind = "interior elevation";
    return std::string(kind) + " \"" + view.name + "\"";
  });
}

Host::~Host() {
  unload();
  if (gCurrent == this) gCurrent = nullptr;
}

Host* Host::current() { return gCurrent; }

bool Host::load(std::unique_ptr<AddonModule> module, std::string& error) {
  if (loaded_) {
    error = "an add-on is loaded already";
    return false;
  }
  if (!module) {
    error = "no add-on to load";
    return false;
  }
  gCurrent = this;
  module_ = std::move(module);
  if (module_->setImported()(&table_) != platform::kNoError) {
    error = module_->name() + " refused the host's function table";
    return false;
  }
  entry_ = platform::ExportedFuncRecord{};
  if (module_->getExported()(&entry_) != platform::kNoError || entry_.signature != platform::kExportSignature ||
      !entry_.checkEnvironment || !entry_.registerInterface || !entry_.initialise || !entry_.release) {
    error = module_->name() + " did not fill its entry record";
    return false;
  }
  environment_ = platform::EnvironmentRecord{};
  environment_.application = 1;
  platform::GSErr answer = entry_.checkEnvironment(&environment_);
  if (answer != platform::kEnvRegister) {
    error = module_->name() + " declined to load (environment check answered " + std::to_string(answer) + ")";
    return false;
  }
  platform::GSErr err = entry_.registerInterface();
  if (err != platform::kNoError) {
    error = module_->name() + " failed to register its interface (error " + std::to_string(err) + ")";
    entry_.release();
    return false;
  }
  err = entry_.initialise(token_);
  if (err != platform::kNoError) {
    error = module_->name() + " failed to initialise (error " + std::to_string(err) + ")";
    entry_.release();
    return false;
  }
  loaded_ = true;
  return true;
}

void Host::unload() {
  if (!loaded_) return;
  Host* previous = gCurrent;
  gCurrent = this;
  closeProject();
  notifyProject(platform::kProjectQuit);
  loaded_ = false;
  entry_.release();
  // The add-on's built-in library goes with it.
  library_.setBuiltIn(std::string(), {});
  builtInLibrary_ = false;
  libraryDirty_ = true;
  gCurrent = previous == this ? this : previous;
}

std::vector<MenuItem> Host::menuItems() {
  std::vector<MenuItem> items;
  const platform::ResourceModule* module = resources_.ownModule();
  for (const RegisteredMenu& menu : menus_) {
    std::vector<std::string> texts = resources_.strings(module, menu.menuList);
    std::vector<std::string> prompts = resources_.strings(module, menu.promptList);
    // A list starts with the menu's name; its second string names the submenu the entries
    // open in when it carries no item marker and entries follow it.
    std::size_t names = 1;
    if (texts.size() > 2 && texts[1] != "-" && withoutMarkers(texts[1]) == texts[1]) names = 2;
    std::string prefix;
    for (std::size_t n = 0; n < names && n < texts.size(); ++n) prefix += texts[n] + "/";
    for (std::size_t i = names; i < texts.size(); ++i) {
      MenuItem item;
      item.menuList = menu.menuList;
      item.itemIndex = int32_t(i - names + 1);
      auto custom = menuTexts_.find({menu.menuList, item.itemIndex});
      item.text = custom != menuTexts_.end() ? custom->second : texts[i];
      item.separator = item.text == "-";
      item.prompt = i < prompts.size() ? prompts[i] : std::string();
      item.path = prefix + withoutMarkers(item.text);
      auto flags = menuFlags_.find({menu.menuList, item.itemIndex});
      item.flags = flags != menuFlags_.end() ? flags->second : 0;
      items.push_back(item);
    }
  }
  return items;
}

bool Host::findMenuItem(const std::string& path, MenuItem& found) {
  for (const MenuItem& item : menuItems()) {
    if (!item.separator && ::strcasecmp(item.path.c_str(), path.c_str()) == 0) {
      found = item;
      return true;
    }
  }
  return false;
}

platform::GSErr Host::chooseMenuItem(int16_t menuList, int32_t itemIndex) {
  auto it = menuHandlers_.find(menuList);
  if (it == menuHandlers_.end()) return platform::kErrBadIndex;
  gCurrent = this;
  return it->second(menuList, itemIndex);
}

platform::GSErr Host::notifyProject(int32_t code) {
  if (!projectHandler_ || (projectMask_ & code) == 0) return platform::kNoError;
  gCurrent = this;
  return projectHandler_(code, 0);
}

platform::GSErr Host::callCommand(uint32_t code, int32_t version, platform::GSHandle parameters,
                                  platform::CommandResultRecord& result) {
  auto it = commandHandlers_.find({code, version});
  if (it == commandHandlers_.end()) return platform::kErrBadIndex;
  // The handler learns which command it serves from the parameters "command_id" and
  // "command_version", added after the caller's own.
  using platform::HostParameterRecord;
  std::size_t given = parameters ? std::size_t(memory_.size(parameters)) / sizeof(HostParameterRecord) : 0;
  platform::GSHandle handle = memory_.newHandle(int64_t((given + 2) * sizeof(HostParameterRecord)));
  if (!handle) return platform::kErrMemory;
  auto* records = reinterpret_cast<HostParameterRecord*>(*handle);
  if (given) std::memcpy(records, *parameters, given * sizeof(HostParameterRecord));
  const char* names[2] = {"command_id", "command_version"};
  double values[2] = {double(code), double(version)};
  for (int i = 0; i < 2; ++i) {
    HostParameterRecord& r = records[given + std::size_t(i)];
    // Real: a four-character code does not fit a 16-bit integer parameter.
    r.typeID = platform::kParamReal;
    r.index = int16_t(given + std::size_t(i) + 1);
    std::strncpy(r.name, names[i], sizeof r.name - 1);
    r.value.real = values[i];
  }
  gCurrent = this;
  platform::GSErr err = it->second(handle, &result, true);
  memory_.dispose(handle);
  return err;
}

void Host::adoptProject(const ProjectData& data, const std::string& path, bool open) {
  workingUnits_ = data.settings.workingUnits;
  groupsSuspended_ = data.settings.groupsSuspended;
  libraryFolders_ = data.libraryFolders;
  libraryDirty_ = true;
  moduleData_ = data.moduleData;
  unreadModuleData_ = false;
  unreadModulePackage_.clear();
  projectPath_ = path;
  projectOpen_ = open;
  model_->load(data.model);
  // Another project's elements have bodies of their own; placed sources stay for tests.
  bodies_.clearModel();
}

void Host::newProject() {
  closeProject();
  adoptProject(ProjectData(), std::string(), true);
  notifyProject(platform::kProjectNew);
}

bool Host::openProject(const std::string& path, std::string& error) {
  ProjectData data;
  if (!readProjectFile(path, data, error)) return false;
  closeProject();
  adoptProject(data, path, true);
  notifyProject(platform::kProjectOpen);
  return true;
}

bool Host::saveAs(const std::string& path, const std::string& description, std::string& error) {
  if (!projectOpen_) {
    error = "no project is open";
    return false;
  }
  for (const platform::FileTypeRecord& type : fileTypes_) {
    if (description != type.description ||
        !(type.methods & (platform::kFileTypeSave | platform::kFileTypeExport)))
      continue;
    auto handler = fileHandlers_.find(type.refCon);
    if (handler == fileHandlers_.end() || !handler->second) break;
    std::string name = path.substr(path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1);
    platform::FileTypeActionRecord action{platform::kFileActionSave, type.refCon, path.c_str(), name.c_str(), 0, 0};
    platform::GSErr result = handler->second(&action);
    if (result == platform::kNoError) return true;
    error = result == platform::kErrCancelled ? path + ": cancelled, nothing was written"
                                               : path + ": the " + description + " could not be written";
    return false;
  }
  error = "no file type \"" + description + "\" is registered for saving";
  return false;
}

namespace {

// The real path of an existing path, links and relative steps resolved; path itself else.
std::string realPath(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  std::string out = real ? std::string(real) : path;
  std::free(real);
  return out;
}

// The real path of the folder a file is in ("." for a bare name).
std::string canonicalFolder(const std::string& file) {
  const std::string native = FileLibrary::nativePath(file);
  std::size_t slash = native.find_last_of('/');
  return realPath(slash == std::string::npos ? std::string(".") : native.substr(0, slash == 0 ? 1 : slash));
}

}  // namespace

bool Host::saveProject(const std::string& path, std::string& error, bool replaceReadOnly) {
  if (!projectOpen_) {
    error = "no project is open";
    return false;
  }
  std::string target = path.empty() ? projectPath_ : path;
  if (target.empty()) {
    error = "the project has no file yet; name the file to save it to";
    return false;
  }
  const Replaceable there = replaceable(target);
  if (there == Replaceable::notRegular || (there == Replaceable::readOnly && !replaceReadOnly)) {
    error = target + ": cannot write the file (" + replaceableProblem(there) + ")";
    return false;
  }
  notifyProject(platform::kProjectPreSave);
  if (saveCheck_ && !saveCheck_(error)) return false;
  ProjectData data;
  data.settings.workingUnits = workingUnits_;
  data.settings.groupsSuspended = groupsSuspended_;
  data.libraryFolders = libraryFolders_;
  // A project saved into another folder keeps its libraries: relative folders are written as
  // the absolute folders they named.
  if (!projectPath_.empty() && canonicalFolder(projectPath_) != canonicalFolder(target))
    for (std::string& folder : data.libraryFolders) {
      std::string resolved = resolveLibraryFolder(projectPath_, folder);
      if (resolved != FileLibrary::nativePath(folder)) folder = realPath(resolved);
    }
  data.moduleData = moduleData_;
  data.model = model_->save();
  if (!writeProjectFile(target, data, error, replaceReadOnly)) return false;
  projectPath_ = target;
  // The file now holds the module data the add-on stored.
  unreadModuleData_ = false;
  unreadModulePackage_.clear();
  return true;
}

void Host::closeProject() {
  if (!projectOpen_) return;
  notifyProject(platform::kProjectClose);
  adoptProject(ProjectData(), std::string(), false);
}

bool Host::mergeProject(const std::string& path, std::string& error) {
  if (!projectOpen_) {
    error = "no project is open to merge " + path + " into";
    return false;
  }
  ProjectData other;
  if (!readProjectFile(path, other, error)) return false;
  if (other.moduleData.empty() || !mergeHandler_) return true;

  auto copy = [this](const std::string& bytes) {
    platform::GSHandle handle = memory_.newHandle(int64_t(bytes.size()));
    if (handle) std::memcpy(*handle, bytes.data(), bytes.size());
    return handle;
  };
  platform::GSHandle project = moduleData_.empty() ? nullptr : copy(moduleData_);
  platform::GSHandle merging = copy(other.moduleData);
  bool ok = merging && (project || moduleData_.empty());
  if (!ok) error = path + ": no memory for the module data to merge";
  platform::GSHandle destination = nullptr;
  if (ok) {
    gCurrent = this;
    platform::GSErr err = mergeHandler_(kModuleDataMergeMode, "", project, merging, &destination);
    if (err != platform::kNoError) {
      error = path + ": the add-on's merge handler answered error " + std::to_string(err);
      ok = false;
    } else if (destination && !memory_.owns(destination)) {
      error = path + ": the add-on's merge handler left a block the host did not hand out";
      ok = false;
    } else if (destination) {
      int64_t size = memory_.size(destination);
      moduleData_.assign(size > 0 ? *destination : "", std::size_t(size));
    }
  }
  // The destination may be one of the handles handed in; each block is freed once.
  if (destination && destination != project && destination != merging) memory_.dispose(destination);
  memory_.dispose(project);
  memory_.dispose(merging);
  return ok;
}

std::vector<std::string> Host::resolvedLibraryFolders() const {
  std::vector<std::string> folders;
  folders.reserve(libraryFolders_.size());
  for (const std::string& folder : libraryFolders_) folders.push_back(resolveLibraryFolder(projectPath_, folder));
  return folders;
}

bool Host::addLibraryFolder(const std::string& folder) {
  std::string path = FileLibrary::nativePath(folder);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (files_.kind(path.c_str()) != 2) return false;
  for (const std::string& loaded : resolvedLibraryFolders()) {
    std::string known = FileLibrary::nativePath(loaded);
    while (known.size() > 1 && known.back() == '/') known.pop_back();
    if (known == path) return true;
  }
  libraryFolders_.push_back(path);
  libraryDirty_ = true;
  return true;
}

bool Host::inLibraryFolder(const std::string& path) const {
  // Compared as real paths, so that links and relative paths name the same folders.
  const std::string folderOfFile = canonicalFolder(path);
  for (const std::string& folder : resolvedLibraryFolders()) {
    const std::string f = realPath(FileLibrary::nativePath(folder));
    if (folderOfFile == f ||
        (folderOfFile.size() > f.size() && folderOfFile.compare(0, f.size(), f) == 0 && folderOfFile[f.size()] == '/'))
      return true;
  }
  return false;
}

LibraryIndex& Host::library() {
  if (libraryDirty_) {
    library_.rebuild(resolvedLibraryFolders());
    libraryDirty_ = false;
  }
  return library_;
}

int Host::callCount(const std::string& operation) const {
  auto it = calls_.find(operation);
  return it == calls_.end() ? 0 : it->second;
}

int Host::openUndoSteps() const {
  int open = 0;
  for (const UndoRecord& step : undo_) open += step.closed ? 0 : 1;
  return open;
}

void Host::clearRecords() {
  undo_.clear();
  alerts_.clear();
  alertAnswers_.clear();
  calls_.clear();
  callLog_.clear();
  pointer_->clearRecords();
}

}  // namespace standin
