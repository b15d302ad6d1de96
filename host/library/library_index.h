// The host's loaded libraries: the library parts found in the project's library folders.
//
// A folder is searched with its sub-folders. A file "NAME.gsm" is a library part in the text
// form of part_file.h; a file "NAME.gdl" is a macro part named NAME (type 10) whose master
// script is the file's content. A part file that does not read is left out with a message
// naming it, and the other parts load; a folder that does not exist is named the same way.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/library/part_file.h"

namespace standin {

// One part of an add-on's built-in library: the file name it is listed under and its text.
struct BuiltInFile {
  std::string fileName;
  std::string text;
};

// The parts of a list of folders and of the built-in library, indexed from 1, by name (letter
// case ignored) and by own identifier.
class LibraryIndex {
 public:
  // The location prefix of built-in parts: "built-in:LIBRARY/FILE NAME".
  static constexpr const char* kBuiltInPrefix = "built-in:";

  // Rebuilds the index from folders, in folder order and, within a folder, in name order,
  // then the built-in library's parts in list order. A part whose file was loaded before
  // keeps its index; new files are added after the others.
  void rebuild(const std::vector<std::string>& folders);
  // Sets the built-in library (named library; no files: none), read at the next rebuild. Its
  // parts are read only: they have no file.
  void setBuiltIn(const std::string& library, std::vector<BuiltInFile> files);
  // The number of parts.
  int32_t count() const { return int32_t(parts_.size()); }
  // Part index (from 1), or null.
  const LibraryPart* part(int32_t index) const;
  LibraryPart* part(int32_t index);
  // The index of the first part called name of type (0: any type); 0 when there is none.
  int32_t find(const std::string& name, int32_t typeID) const;
  // The index of the part with this own identifier (of type when not 0); 0 when none.
  int32_t findId(const std::string& ownId, int32_t typeID) const;
  // The index of the part whose file is path; 0 when none.
  int32_t findPath(const std::string& path) const;
  // True when the part of ownId is subtypeId or descends from it through the parents of the
  // loaded parts (a parent that is not loaded ends the chain).
  bool descends(const std::string& ownId, const std::string& subtypeId) const;
  // Changes whenever a part may have changed: at every rebuild and every noteChanged.
  uint32_t revision() const { return revision_; }
  // Records that a part was changed in place.
  void noteChanged() { ++revision_; }
  // What did not load at the last rebuild: a folder that is missing ("FOLDER: no such
  // folder", "FOLDER: is not a folder") and each file left out ("FILE: line N: problem").
  const std::vector<std::string>& messages() const { return messages_; }

  // Writes a part to its file (creating its folder); false with problem when it cannot.
  static bool writePart(const LibraryPart& part, std::string& problem);

  // The part being created (HostCreateLibraryPart until HostSaveLibraryPart), or null.
  LibraryPart* pending() { return pending_.get(); }
  void startPending(LibraryPart part) { pending_ = std::make_unique<LibraryPart>(std::move(part)); }
  void dropPending() { pending_.reset(); }
  // The overwrite permission of part creation ('OWLP').
  bool overwrite() const { return overwrite_; }
  void setOverwrite(bool on) { overwrite_ = on; }
  // A new identifier text of two GUIDs for a saved part.
  std::string newIdentifier();

 private:
  void scan(const std::string& folder, std::vector<std::string>& files);
  bool load(const std::string& file, LibraryPart& part);

  std::string builtInLibrary_;
  std::vector<BuiltInFile> builtIn_;
  std::vector<LibraryPart> parts_;
  std::vector<std::string> order_;  // the files of the parts, by index - 1
  std::unordered_multimap<std::string, int32_t> byName_;  // lower-case name -> index
  std::unordered_multimap<std::string, int32_t> byId_;    // upper-case own id -> index
  std::unordered_map<std::string, int32_t> byPath_;
  std::vector<std::string> messages_;
  std::unique_ptr<LibraryPart> pending_;
  bool overwrite_ = false;
  uint64_t serial_ = 0;
  uint32_t revision_ = 0;
};

}  // namespace standin
