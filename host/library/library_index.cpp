#include "host/library/library_index.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace standin {

namespace {

std::string lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

void LibraryIndex::rebuild(const std::vector<std::string>& folders) {
  parts_.clear();
  byName_.clear();
  for (const std::string& folder : folders) scan(folder);
}

void LibraryIndex::scan(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  std::vector<fs::path> files;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file(error)) files.push_back(it->path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    if (lower(file.extension().string()) != ".gdl") continue;
    LibraryPart part{10, file.stem().string(), file.string()};
    byName_.emplace(lower(part.name), int32_t(parts_.size()) + 1);
    parts_.push_back(std::move(part));
  }
}

const LibraryPart* LibraryIndex::part(int32_t index) const {
  return index >= 1 && index <= count() ? &parts_[std::size_t(index) - 1] : nullptr;
}

int32_t LibraryIndex::find(const std::string& name, int32_t typeID) const {
  auto range = byName_.equal_range(lower(name));
  int32_t best = 0;
  for (auto it = range.first; it != range.second; ++it) {
    if (typeID != 0 && parts_[std::size_t(it->second) - 1].typeID != typeID) continue;
    if (best == 0 || it->second < best) best = it->second;
  }
  return best;
}

}  // namespace standin
