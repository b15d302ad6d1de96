#include "host/files/file_library.h"

#include <sys/stat.h>

#include <cerrno>

#include "host/files/file_replace.h"

namespace standin {

using platform::GSErr;
using platform::kErrFile;
using platform::kErrNullArgument;
using platform::kNoError;

FileLibrary::~FileLibrary() {
  for (auto& f : files_) std::fclose(f.second);
}

std::string FileLibrary::nativePath(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

GSErr FileLibrary::open(const char* path, int32_t mode, int32_t* file) {
  if (!path || !file) return kErrNullArgument;
  const char* how = mode == 1 ? "rb" : mode == 2 ? "wb" : mode == 3 ? "ab" : nullptr;
  if (!how) return platform::kErrBadParameter;
  std::FILE* f = std::fopen(nativePath(path).c_str(), how);
  if (!f) return kErrFile;
  int32_t id = next_++;
  files_[id] = f;
  if (mode != 1) written_[id] = nativePath(path);
  *file = id;
  return kNoError;
}

GSErr FileLibrary::read(int32_t file, void* buffer, int64_t size, int64_t* read) {
  auto it = files_.find(file);
  if (it == files_.end() || size < 0 || (size > 0 && !buffer)) return platform::kErrBadParameter;
  std::size_t got = size ? std::fread(buffer, 1, std::size_t(size), it->second) : 0;
  if (read) *read = int64_t(got);
  return std::ferror(it->second) ? kErrFile : kNoError;
}

GSErr FileLibrary::write(int32_t file, const void* data, int64_t size) {
  auto it = files_.find(file);
  if (it == files_.end() || size < 0 || (size > 0 && !data)) return platform::kErrBadParameter;
  if (size && std::fwrite(data, 1, std::size_t(size), it->second) != std::size_t(size)) return kErrFile;
  return kNoError;
}

GSErr FileLibrary::close(int32_t file) {
  auto it = files_.find(file);
  if (it == files_.end()) return platform::kErrBadParameter;
  int failed = std::fclose(it->second);
  files_.erase(it);
  written_.erase(file);
  return failed ? kErrFile : kNoError;
}

std::string FileLibrary::writtenPath(int32_t file) const {
  auto it = written_.find(file);
  return it == written_.end() ? std::string() : it->second;
}

GSErr FileLibrary::remove(const char* path) {
  if (!path) return kErrNullArgument;
  return std::remove(nativePath(path).c_str()) == 0 ? kNoError : kErrFile;
}

GSErr FileLibrary::replace(const char* source, const char* target) {
  if (!source || !target) return kErrNullArgument;
  std::string error;
  if (!replaceFile(source, target, false, error)) return kErrFile;
  auto type = types_.find(nativePath(source));
  if (type != types_.end()) {
    types_[nativePath(target)] = type->second;
    types_.erase(nativePath(source));
  }
  return kNoError;
}

GSErr FileLibrary::size(const char* path, int64_t* size) {
  if (!path || !size) return kErrNullArgument;
  struct stat st;
  if (::stat(nativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return kErrFile;
  *size = int64_t(st.st_size);
  return kNoError;
}

int32_t FileLibrary::kind(const char* path) const {
  if (!path) return 0;
  struct stat st;
  if (::stat(nativePath(path).c_str(), &st) != 0) return 0;
  return S_ISDIR(st.st_mode) ? 2 : S_ISREG(st.st_mode) ? 1 : 0;
}

GSErr FileLibrary::createFolder(const char* path) {
  if (!path) return kErrNullArgument;
  std::string p = nativePath(path);
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  for (std::size_t i = 1; i <= p.size(); ++i) {
    if (i == p.size() || p[i] == '/') {
      std::string part = p.substr(0, i);
      if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return kErrFile;
    }
  }
  return kind(p.c_str()) == 2 ? kNoError : kErrFile;
}

GSErr FileLibrary::setType(const char* path, uint32_t type, uint32_t creator) {
  if (!path) return kErrNullArgument;
  types_[nativePath(path)] = {type, creator};
  return kNoError;
}

bool FileLibrary::type(const std::string& path, uint32_t& type, uint32_t& creator) const {
  auto it = types_.find(nativePath(path));
  if (it == types_.end()) return false;
  type = it->second.first;
  creator = it->second.second;
  return true;
}

}  // namespace standin
