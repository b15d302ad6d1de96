// A file by location, read and written through the host's file library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/file.h"
#include "storage/cad_io.h"

namespace lunvik {

// A file named by a full path ('/' or '\' between folders). It carries the host file type and
// creator given to it when it is written. Without the host's file operations every operation
// answers false.
class DataFile : public CadIO, public File {
 public:
  // How a file is opened. replace writes a new file beside the path (a hidden name in the
  // same folder) that takes the path's place only when it is closed complete.
  enum class Mode : int32_t { read = 1, write = 2, append = 3, replace = 4 };

  explicit DataFile(CadString path, uint32_t fileType = 0, uint32_t creator = 0);
  // Closes the file when it is open; a file open to replace is discarded, leaving the old one.
  ~DataFile() override;

  // Opens the file; write creates or truncates it, append creates it or writes at its end,
  // replace leaves it as it is until close. False when it is open already or the host refuses
  // (replace also needs the host's IOReplaceFile).
  bool open(Mode mode);
  bool openForReading() { return open(Mode::read); }
  bool openForWriting() { return open(Mode::write); }
  // Opens for writing the whole file anew without touching the old one until close.
  bool openForReplacing() { return open(Mode::replace); }
  // Closes the file. After writing, the host file type and creator are set (when either is
  // not zero and the host offers file types). A file open to replace then takes the path's
  // place when every write succeeded; otherwise it is deleted and the old file stays. False
  // when it was not open, a write failed (replace) or the host reports an error.
  bool close();
  // Closes a file open to replace and deletes it: the old file stays as it was. Any other open
  // file is just closed.
  void discard();
  // True while the file is open.
  bool isOpen() const { return open_; }

  bool read(void* buffer, std::size_t size, std::size_t& got) override;
  bool write(const void* data, std::size_t size) override;
  // Appends the rest of the open file to text. A file that is not open is opened for reading,
  // read to its end and closed again.
  bool readAll(std::string& text) override;

  // True when the path names an existing file.
  bool exists() const override;
  bool isFolder() const override { return false; }
  // A closed copy naming the same file.
  std::unique_ptr<File> cloneFile() const override {
    return std::make_unique<DataFile>(path_, fileType_, creator_);
  }
  // The file's size in bytes; false when the host cannot tell.
  bool size(int64_t& bytes) const;
  // Deletes the file (closing it first when open).
  bool remove();
  // The folder the file lies in: the path up to its last separator (empty when it has none).
  CadString folder() const;
  // Creates the folder the file lies in, with any missing folders above it.
  bool createFolder() const;

  const CadString& path() const override { return path_; }
  uint32_t fileType() const { return fileType_; }
  uint32_t creator() const { return creator_; }
  // The host file type and creator written at the next close after writing.
  void setFileType(uint32_t fileType, uint32_t creator) {
    fileType_ = fileType;
    creator_ = creator;
  }

 private:
  CadString path_;
  uint32_t fileType_;
  uint32_t creator_;
  // A free name beside the path for the new file of a replace; empty when there is none.
  CadString replacementPath() const;

  int32_t file_ = 0;
  bool open_ = false;
  bool writing_ = false;
  CadString replacement_;  // while replacing: the new file being written
  bool writeFailed_ = false;
};

}  // namespace lunvik
