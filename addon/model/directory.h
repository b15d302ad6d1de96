// A folder of the host's file library.
#pragma once

#include <cstdint>
#include <memory>

#include "model/file.h"
#include "platform/host_types.h"

namespace lunvik {

// A folder named by its path; path() always ends with a separator.
class Directory : public File {
 public:
  // The folder at path (a separator is added when it has none).
  explicit Directory(const CadString& path);
  // The folder name inside parent; created when create is set. Null when it does not exist
  // afterwards.
  static std::unique_ptr<Directory> subFolder(const Directory& parent, const CadString& name, bool create);

  std::unique_ptr<File> cloneFile() const override { return std::make_unique<Directory>(*this); }
  std::unique_ptr<Directory> clone() const { return std::make_unique<Directory>(*this); }
  const CadString& path() const override { return path_; }
  bool exists() const override;
  bool isFolder() const override { return true; }
  platform::GSErr lastError() const { return lastError_; }
  // The location: the path without its trailing separator.
  CadString location() const;
  // Points the object at another folder (nothing changes on disk).
  void setLocation(const CadString& path);
  // Creates the folder (and missing parents) on disk.
  bool create();
  // Deletes the folder on disk; false when the host refuses (for example, it is not empty).
  bool remove();
  // Renames the folder on disk, in the folder holding it; the object follows. False, nothing
  // changed, when name is not a plain name (empty, "." or "..", or holding a separator),
  // something of that name is there already or the host refuses.
  bool rename(const CadString& name);
  // Moves the folder, keeping its name, into the folder at path; the object follows. False,
  // nothing changed, when something of its name is there already, path lies inside the folder
  // or the host refuses.
  bool moveTo(const CadString& path);
  // The folder holding this one; null at the top.
  std::unique_ptr<Directory> folder() const;
  // Folders are never open.
  bool isOpen() const { return false; }

 private:
  // Moves the folder to the location target (no trailing separator).
  bool move(const std::string& target);

  CadString path_;
  mutable platform::GSErr lastError_ = platform::kNoError;
};

}  // namespace lunvik
