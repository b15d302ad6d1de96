#include "model/directory.h"

#include "runtime/host_interface.h"

namespace lunvik {

using platform::HostFunctionTable;

namespace {

std::string withSeparator(std::string p) {
  if (!p.empty() && p.back() != '/' && p.back() != '\\') p += '/';
  return p;
}

}  // namespace

Directory::Directory(const CadString& path) : path_(withSeparator(path.str())) {}

std::unique_ptr<Directory> Directory::subFolder(const Directory& parent, const CadString& name, bool create) {
  auto sub = std::make_unique<Directory>(CadString(parent.path().str() + name.str()));
  if (create && !sub->exists()) sub->create();
  return sub->exists() ? std::move(sub) : nullptr;
}

CadString Directory::location() const {
  std::string p = path_.str();
  while (p.size() > 1 && (p.back() == '/' || p.back() == '\\')) p.pop_back();
  return CadString(p);
}

void Directory::setLocation(const CadString& path) { path_ = CadString(withSeparator(path.str())); }

bool Directory::exists() const {
  auto kind = host().operation(&HostFunctionTable::IOPathKind);
  if (!kind) {
    lastError_ = platform::kErrMissingOperation;
    return false;
  }
  return kind(location().c_str()) == 2;
}

bool Directory::create() {
  auto make = host().operation(&HostFunctionTable::IOCreateFolder);
  lastError_ = make ? make(location().c_str()) : platform::kErrMissingOperation;
  return lastError_ == platform::kNoError;
}

bool Directory::remove() {
  auto erase = host().operation(&HostFunctionTable::IODeleteFile);
  lastError_ = erase ? erase(location().c_str()) : platform::kErrMissingOperation;
  return lastError_ == platform::kNoError;
}

bool Directory::move(const std::string& target) {
  auto move = host().operation(&HostFunctionTable::IOMoveFile);
  lastError_ = move ? move(location().c_str(), target.c_str()) : platform::kErrMissingOperation;
  if (lastError_ != platform::kNoError) return false;
  setLocation(CadString(target));
  return true;
}

bool Directory::rename(const CadString& name) {
  const std::string& n = name.str();
  if (n.empty() || n == "." || n == ".." || n.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
    lastError_ = platform::kErrBadParameter;
    return false;
  }
  std::unique_ptr<Directory> parent = folder();
  if (!parent) {
    lastError_ = platform::kErrBadParameter;
    return false;
  }
  return move(parent->path().str() + n);
}

bool Directory::moveTo(const CadString& path) {
  if (path.empty()) {
    lastError_ = platform::kErrBadParameter;
    return false;
  }
  return move(withSeparator(path.str()) + name().str());
}

std::unique_ptr<Directory> Directory::folder() const {
  std::string p = location().str();
  std::size_t at = p.find_last_of("/\\");
  if (at == std::string::npos || (at == 0 && p.size() == 1)) return nullptr;
  return std::make_unique<Directory>(CadString(p.substr(0, at + 1)));
}

}  // namespace lunvik
