#include "host/files/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "host/files/file_library.h"

namespace standin {

namespace {

// How many symbolic links a path may pass through before it counts as a loop.
constexpr int kLinkHops = 40;

std::string systemError(int code) { return std::strerror(code); }

// The folder part of a native path, "." when it has none.
std::string folderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, const std::string& bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;
    if (n <= 0) return false;
    p += n;
    left -= std::size_t(n);
  }
  return true;
}

bool cannotWrite(const std::string& path, const std::string& reason, std::string& error) {
  error = path + ": cannot write the file (" + reason + ")";
  return false;
}

// Renames from over file (a path with its links resolved) when what lies there may be replaced,
// giving the new file the old one's permissions; messages name the file as shownAs.
bool moveOver(const std::string& from, const std::string& file, const std::string& shownAs, bool replaceReadOnly,
              std::string& error);

}  // namespace

std::string replacedFile(const std::string& path) {
  std::string p = FileLibrary::nativePath(path);
  for (int hop = 0; hop < kLinkHops && !p.empty(); ++hop) {
    struct stat st;
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    char buffer[PATH_MAX];
    ssize_t n = ::readlink(p.c_str(), buffer, sizeof buffer);
    if (n <= 0 || std::size_t(n) >= sizeof buffer) return p;
    std::string link(buffer, std::size_t(n));
    p = link[0] == '/' ? link : folderOf(p) + "/" + link;
  }
  return p;
}

std::string hiddenSibling(const std::string& path, const std::string& suffix) {
  const std::string file = replacedFile(path);
  return folderOf(file) + "/." + nameOf(file) + suffix;
}

Replaceable replaceable(const std::string& path) {
  const std::string file = replacedFile(path);
  struct stat st;
  // Nothing there (or no folder to put it in, which the write itself reports).
  if (file.empty() || ::lstat(file.c_str(), &st) != 0) return Replaceable::absent;
  if (!S_ISREG(st.st_mode)) return Replaceable::notRegular;
  // The mode bits count as well as the access check: a privileged user may write anything.
  if ((st.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0) return Replaceable::readOnly;
  return Replaceable::file;
}

std::string replaceableProblem(Replaceable what) {
  switch (what) {
    case Replaceable::readOnly: return "it is read-only";
    case Replaceable::notRegular: return "it is not a regular file";
    case Replaceable::absent:
    case Replaceable::file: break;
  }
  return std::string();
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (::stat(FileLibrary::nativePath(a).c_str(), &sa) != 0) return false;
  if (::stat(FileLibrary::nativePath(b).c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool replaceFile(const std::string& source, const std::string& target, bool replaceReadOnly, std::string& error) {
  const std::string file = replacedFile(target);
  if (file.empty()) return cannotWrite(target, systemError(ENOENT), error);
  return moveOver(FileLibrary::nativePath(source), file, target, replaceReadOnly, error);
}

bool writeFileReplacing(const std::string& path, const std::string& bytes, bool replaceReadOnly,
                        std::string& error) {
  const std::string target = replacedFile(path);
  if (target.empty()) return cannotWrite(path, systemError(ENOENT), error);
  const Replaceable what = replaceable(target);
  if (what == Replaceable::notRegular || (what == Replaceable::readOnly && !replaceReadOnly))
    return cannotWrite(path, replaceableProblem(what), error);

  // The new bytes go to a file beside the target: a rename within one folder replaces the
  // target in one step, so the target is either the old file or the complete new one.
  const std::string base = hiddenSibling(target, ".tmp-" + std::to_string(::getpid()) + "-");
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = base + std::to_string(attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return cannotWrite(path, systemError(errno), error);

  int code = 0;
  if (!writeAll(fd, bytes)) code = errno;
  if (code == 0 && ::fsync(fd) != 0) code = errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code != 0) {
    ::unlink(temp.c_str());
    return cannotWrite(path, systemError(code), error);
  }
  if (!moveOver(temp, target, path, replaceReadOnly, error)) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

namespace {

bool moveOver(const std::string& from, const std::string& file, const std::string& shownAs, bool replaceReadOnly,
              std::string& error) {
  const Replaceable what = replaceable(file);
  if (what == Replaceable::notRegular || (what == Replaceable::readOnly && !replaceReadOnly))
    return cannotWrite(shownAs, replaceableProblem(what), error);
  struct stat st;
  if (what != Replaceable::absent && ::stat(file.c_str(), &st) == 0 && ::chmod(from.c_str(), st.st_mode & 07777) != 0)
    return cannotWrite(shownAs, systemError(errno), error);
  if (::rename(from.c_str(), file.c_str()) != 0) return cannotWrite(shownAs, systemError(errno), error);
  return true;
}

}  // namespace

}  // namespace standin
