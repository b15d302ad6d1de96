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
  // How a file is opened.
  enum class Mode : int32_t { read = 1, write = 2, append = 3 };

  explicit DataFile(CadString path, uint32_t fileType = 0, uint32_t creator = 0);
  // Closes the file when it is open.
  ~DataFile() override;

  // Opens the file; write creates or truncates it, append creates it or writes at its end.
  // False when it is open already or the host refuses.
  bool open(Mode mode);
  bool openForReading() { return open(Mode::read); }
  bool openForWriting() { return open(Mode::write); }
  // Closes the file. After writing, the host file type and creator are set (when either is
  // not zero and the host offers file types). False when it was not open or the host reports
  // an error.
  bool close();
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
  int32_t file_ = 0;
  bool open_ = false;
  bool writing_ = false;
};

}  // namespace lunvik
