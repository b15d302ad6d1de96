// Files and folders of the host's file library as the library model sees them.
#pragma once

#include <memory>

#include "runtime/cad_string.h"
#include "runtime/containers.h"

namespace lunvik {

// A file or a folder named by a full path ('/' or '\' between folders).
class File {
 public:
  virtual ~File() = default;
  // A copy of the same class.
  virtual std::unique_ptr<File> cloneFile() const = 0;
  // The last component of the path (without a folder's trailing separator).
  virtual CadString name() const;
  // The text after the name's last dot; empty without one.
  virtual CadString extension() const;
  // The full path.
  virtual const CadString& path() const = 0;
  // The path as a file URL.
  virtual CadString url() const;
  // True when something exists at the path.
  virtual bool exists() const = 0;
  // True for folders.
  virtual bool isFolder() const = 0;
};

// An owning list of files and folders.
class FileList : public Vector<File> {};

}  // namespace lunvik
