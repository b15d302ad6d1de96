// A small host function table for the storage tests: memory handles, the text comparison and
// the file library over the real file system. Installed for the lifetime of a StorageHost.
#pragma once

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "platform/host_table.h"
#include "runtime/host_interface.h"

namespace storage_test {

// What the table's operations record for the tests to look at.
struct HostLog {
  std::map<std::string, std::pair<uint32_t, uint32_t>> fileTypes;  // path -> (type, creator)
  int compareCalls = 0;
  bool caseSensitive = false;  // how CHCompareTexts compares
  bool failWrites = false;     // IOWriteFile reports an error
  bool failReplaces = false;   // IOReplaceFile reports an error
  int replaceCalls = 0;
};

inline HostLog& hostLog() {
  static HostLog log;
  return log;
}

namespace detail {

struct Block {
  char* data;
  int64_t size;
};

inline platform::GSHandle newHandle(int64_t size) {
  auto* block = static_cast<Block*>(std::malloc(sizeof(Block)));
  block->data = static_cast<char*>(std::malloc(size_t(size > 0 ? size : 1)));
  block->size = size;
  return &block->data;
}
inline void disposeHandle(platform::GSHandle handle) {
  auto* block = reinterpret_cast<Block*>(handle);
  std::free(block->data);
  std::free(block);
}
inline int64_t handleSize(platform::GSHandle handle) {
  return reinterpret_cast<Block*>(handle)->size;
}
inline platform::GSErr setHandleSize(platform::GSHandle handle, int64_t size) {
  auto* block = reinterpret_cast<Block*>(handle);
  char* data = static_cast<char*>(std::realloc(block->data, size_t(size > 0 ? size : 1)));
  if (!data) return platform::kErrMemory;
  block->data = data;
  block->size = size;
  return platform::kNoError;
}

inline int32_t compareTexts(const char* a, const char* b, int32_t, int32_t) {
  ++hostLog().compareCalls;
  return hostLog().caseSensitive ? std::strcmp(a, b) : strcasecmp(a, b);
}

inline platform::GSErr openFile(const char* path, int32_t mode, int32_t* file) {
  int flags = mode == 1   ? O_RDONLY
              : mode == 2 ? (O_WRONLY | O_CREAT | O_TRUNC)
                          : (O_WRONLY | O_CREAT | O_APPEND);
  int fd = ::open(path, flags, 0644);
  if (fd < 0) return platform::kErrFile;
  *file = fd;
  return platform::kNoError;
}
inline platform::GSErr readFile(int32_t file, void* buffer, int64_t size, int64_t* read) {
  ssize_t got = ::read(file, buffer, size_t(size));
  if (got < 0) return platform::kErrFile;
  *read = got;
  return platform::kNoError;
}
inline platform::GSErr writeFile(int32_t file, const void* data, int64_t size) {
  if (hostLog().failWrites) return platform::kErrFile;
  return ::write(file, data, size_t(size)) == ssize_t(size) ? platform::kNoError
                                                            : platform::kErrFile;
}
inline platform::GSErr closeFile(int32_t file) {
  return ::close(file) == 0 ? platform::kNoError : platform::kErrFile;
}
inline platform::GSErr deleteFile(const char* path) {
  return ::unlink(path) == 0 ? platform::kNoError : platform::kErrFile;
}
inline platform::GSErr fileSize(const char* path, int64_t* size) {
  struct stat st;
  if (::stat(path, &st) != 0) return platform::kErrFile;
  *size = st.st_size;
  return platform::kNoError;
}
inline int32_t pathKind(const char* path) {
  struct stat st;
  if (::stat(path, &st) != 0) return 0;
  return S_ISREG(st.st_mode) ? 1 : S_ISDIR(st.st_mode) ? 2 : 0;
}
inline platform::GSErr createFolder(const char* path) {
  return ::mkdir(path, 0755) == 0 ? platform::kNoError : platform::kErrFile;
}
inline platform::GSErr setFileType(const char* path, uint32_t type, uint32_t creator) {
  hostLog().fileTypes[path] = {type, creator};
  return platform::kNoError;
}
inline platform::GSErr replaceFile(const char* source, const char* target) {
  ++hostLog().replaceCalls;
  if (hostLog().failReplaces || ::rename(source, target) != 0) return platform::kErrFile;
  auto type = hostLog().fileTypes.find(source);
  if (type != hostLog().fileTypes.end()) {
    hostLog().fileTypes[target] = type->second;
    hostLog().fileTypes.erase(source);
  }
  return platform::kNoError;
}

}  // namespace detail

// Installs the table (with the file library unless asked not to) and removes it again.
class StorageHost {
 public:
  explicit StorageHost(bool withFiles = true) {
    hostLog() = HostLog();
    platform::HostFunctionTable table{};
    table.MemNewHandle = detail::newHandle;
    table.MemDisposeHandle = detail::disposeHandle;
    table.MemGetHandleSize = detail::handleSize;
    table.MemSetHandleSize = detail::setHandleSize;
    table.CHCompareTexts = detail::compareTexts;
    if (withFiles) {
      table.IOOpenFile = detail::openFile;
      table.IOReadFile = detail::readFile;
      table.IOWriteFile = detail::writeFile;
      table.IOCloseFile = detail::closeFile;
      table.IODeleteFile = detail::deleteFile;
      table.IOFileSize = detail::fileSize;
      table.IOPathKind = detail::pathKind;
      table.IOCreateFolder = detail::createFolder;
      table.IOSetFileType = detail::setFileType;
      table.IOReplaceFile = detail::replaceFile;
    }
    lunvik::host().setTable(table);
  }
  ~StorageHost() { lunvik::host().resetTable(); }
  StorageHost(const StorageHost&) = delete;
  StorageHost& operator=(const StorageHost&) = delete;

  HostLog& log() { return hostLog(); }
};

// A fresh, empty folder under the system's temporary folder, removed with its content at the end.
class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/trestlar-storage-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    path_ = made ? made : "";
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace storage_test
