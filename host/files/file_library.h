// The host's file library over the machine's files. Paths take '/' and '\' as separators.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "platform/host_types.h"

namespace standin {

// Open files by number, and the file operations of the host table.
class FileLibrary {
 public:
  FileLibrary() = default;
  ~FileLibrary();
  FileLibrary(const FileLibrary&) = delete;
  FileLibrary& operator=(const FileLibrary&) = delete;

  // The path with every '\' turned into '/'.
  static std::string nativePath(const std::string& path);

  platform::GSErr open(const char* path, int32_t mode, int32_t* file);
  platform::GSErr read(int32_t file, void* buffer, int64_t size, int64_t* read);
  platform::GSErr write(int32_t file, const void* data, int64_t size);
  platform::GSErr close(int32_t file);
  platform::GSErr remove(const char* path);
  platform::GSErr size(const char* path, int64_t* size);
  // 0 nothing there, 1 a file, 2 a folder.
  int32_t kind(const char* path) const;
  // Creates the folder and any missing parents.
  platform::GSErr createFolder(const char* path);
  // Puts the complete file source in place of target in one step (see replaceFile in
  // file_replace.h; a read-only target is refused); the type recorded for source moves to
  // target.
  platform::GSErr replace(const char* source, const char* target);
  // Records the host file type and creator of a file.
  platform::GSErr setType(const char* path, uint32_t type, uint32_t creator);
  // The type and creator recorded for a path; false when none was set.
  bool type(const std::string& path, uint32_t& type, uint32_t& creator) const;
  // The number of files left open.
  std::size_t openFiles() const { return files_.size(); }
  // The path an open file was opened for writing with; empty for a file open for reading or
  // not open.
  std::string writtenPath(int32_t file) const;

 private:
  std::map<int32_t, std::FILE*> files_;
  std::map<int32_t, std::string> written_;  // files open for writing: their native paths
  std::map<std::string, std::pair<uint32_t, uint32_t>> types_;
  int32_t next_ = 1;
};

}  // namespace standin
