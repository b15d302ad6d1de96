#include "storage/data_file.h"

#include <string>
#include <utility>

#include "runtime/host_interface.h"

namespace lunvik {

using platform::HostFunctionTable;

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// Kinds IOPathKind answers.
constexpr int32_t kPathFile = 1;
constexpr int32_t kPathFolder = 2;

int32_t pathKind(const CadString& path) {
  auto kind = host().operation(&HostFunctionTable::IOPathKind);
  return kind ? kind(path.c_str()) : 0;
}

}  // namespace

DataFile::DataFile(CadString path, uint32_t fileType, uint32_t creator)
    : path_(std::move(path)), fileType_(fileType), creator_(creator) {}

DataFile::~DataFile() {
  if (open_) discard();
}

bool DataFile::open(Mode mode) {
  if (open_) return false;
  auto openFile = host().operation(&HostFunctionTable::IOOpenFile);
  if (!openFile || path_.empty()) return false;
  CadString opened = path_;
  auto hostMode = static_cast<int32_t>(mode);
  if (mode == Mode::replace) {
    if (!host().operation(&HostFunctionTable::IOReplaceFile)) return false;
    opened = replacementPath();
    if (opened.empty()) return false;
    hostMode = static_cast<int32_t>(Mode::write);
  }
  int32_t file = 0;
  if (openFile(opened.c_str(), hostMode, &file) != platform::kNoError) return false;
  file_ = file;
  open_ = true;
  writing_ = mode != Mode::read;
  replacement_ = mode == Mode::replace ? opened : CadString();
  writeFailed_ = false;
  return true;
}

bool DataFile::close() {
  if (!open_) return false;
  auto closeFile = host().operation(&HostFunctionTable::IOCloseFile);
  bool ok = closeFile && closeFile(file_) == platform::kNoError;
  open_ = false;
  file_ = 0;
  const bool replacing = !replacement_.empty();
  const CadString written = replacing ? replacement_ : path_;
  replacement_ = CadString();
  if (replacing) ok = ok && !writeFailed_;
  // A replacement gets its type before it takes the path's place, so the old file stays
  // whole whatever fails.
  if (writing_ && (fileType_ || creator_) && (ok || !replacing)) {
    if (auto setType = host().operation(&HostFunctionTable::IOSetFileType))
      ok = setType(written.c_str(), fileType_, creator_) == platform::kNoError && ok;
  }
  writing_ = false;
  writeFailed_ = false;
  if (!replacing) return ok;
  if (ok) {
    auto replace = host().operation(&HostFunctionTable::IOReplaceFile);
    ok = replace && replace(written.c_str(), path_.c_str()) == platform::kNoError;
  }
  if (!ok) {
    if (auto deleteFile = host().operation(&HostFunctionTable::IODeleteFile)) deleteFile(written.c_str());
  }
  return ok;
}

void DataFile::discard() {
  if (!open_) return;
  writeFailed_ = true;
  close();
}

CadString DataFile::replacementPath() const {
  const std::string& path = path_.str();
  std::size_t name = path.size();
  while (name > 0 && !isSeparator(path[name - 1])) --name;
  if (name == path.size()) return CadString();
  // A hidden name that no library or file dialog takes for the file itself.
  const std::string stem = path.substr(0, name) + "." + path.substr(name) + ".tmp";
  for (int n = 0; n < 100; ++n) {
    CadString candidate(stem + std::to_string(n));
    if (pathKind(candidate) == 0) return candidate;
  }
  return CadString();
}

bool DataFile::read(void* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  if (!open_ || writing_) return false;
  if (size == 0) return true;
  auto readFile = host().operation(&HostFunctionTable::IOReadFile);
  if (!readFile || !buffer) return false;
  int64_t count = 0;
  if (readFile(file_, buffer, int64_t(size), &count) != platform::kNoError) return false;
  if (count < 0 || uint64_t(count) > size) return false;
  got = std::size_t(count);
  return true;
}

bool DataFile::write(const void* data, std::size_t size) {
  if (!open_ || !writing_) return false;
  if (size == 0) return true;
  auto writeFile = host().operation(&HostFunctionTable::IOWriteFile);
  const bool ok = writeFile && data && writeFile(file_, data, int64_t(size)) == platform::kNoError;
  if (!ok) writeFailed_ = true;
  return ok;
}

bool DataFile::readAll(std::string& text) {
  if (open_) return CadIO::readAll(text);
  if (!open(Mode::read)) return false;
  int64_t bytes = 0;
  if (size(bytes) && bytes > 0) text.reserve(text.size() + std::size_t(bytes));
  bool ok = CadIO::readAll(text);
  return close() && ok;
}

bool DataFile::exists() const { return pathKind(path_) == kPathFile; }

bool DataFile::size(int64_t& bytes) const {
  auto fileSize = host().operation(&HostFunctionTable::IOFileSize);
  int64_t result = 0;
  if (!fileSize || fileSize(path_.c_str(), &result) != platform::kNoError || result < 0)
    return false;
  bytes = result;
  return true;
}

bool DataFile::remove() {
  if (open_) close();
  auto deleteFile = host().operation(&HostFunctionTable::IODeleteFile);
  return deleteFile && deleteFile(path_.c_str()) == platform::kNoError;
}

CadString DataFile::folder() const {
  const std::string& path = path_.str();
  for (std::size_t i = path.size(); i-- > 0;)
    if (isSeparator(path[i])) return CadString(path.substr(0, i));
  return CadString();
}

bool DataFile::createFolder() const {
  auto create = host().operation(&HostFunctionTable::IOCreateFolder);
  if (!create || !host().operation(&HostFunctionTable::IOPathKind)) return false;
  const std::string folderPath = folder().str();
  if (folderPath.empty()) return false;
  // Each prefix that ends before a separator names a folder on the way down; the first ones
  // (a drive or the root) already exist.
  for (std::size_t i = 1; i <= folderPath.size(); ++i) {
    if (i < folderPath.size() && !isSeparator(folderPath[i])) continue;
    CadString prefix(folderPath.substr(0, i));
    if (prefix.str().back() == ':') continue;  // a drive name
    int32_t kind = pathKind(prefix);
    if (kind == kPathFolder) continue;
    if (kind == kPathFile) return false;
    if (create(prefix.c_str()) != platform::kNoError) return false;
  }
  return true;
}

}  // namespace lunvik
