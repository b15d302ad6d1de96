// The host's loaded libraries: the library parts found in the project's library folders.
//
// A folder is searched with its sub-folders. A file "NAME.gdl" is a macro part named NAME
// (type 10) whose text is the file's content.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace standin {

// One loaded library part.
struct LibraryPart {
  int32_t typeID = 0;
  std::string name;
  std::string path;  // the part's file
};

// The parts of a list of folders, indexed from 1 and by name (letter case ignored).
class LibraryIndex {
 public:
  // Rebuilds the index from folders, in folder order and, within a folder, in name order.
  void rebuild(const std::vector<std::string>& folders);
  // The number of parts.
  int32_t count() const { return int32_t(parts_.size()); }
  // Part index (from 1), or null.
  const LibraryPart* part(int32_t index) const;
  // The index of the first part called name of type (0: any type); 0 when there is none.
  int32_t find(const std::string& name, int32_t typeID) const;

 private:
  void scan(const std::string& folder);

  std::vector<LibraryPart> parts_;
  std::unordered_multimap<std::string, int32_t> byName_;  // lower-case name -> index
};

}  // namespace standin
