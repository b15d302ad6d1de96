#include "host/library/library_index.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace standin {

namespace {

std::string upper(std::string text) {
  for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool readFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream out;
  out << in.rdbuf();
  text = out.str();
  return bool(in) || in.eof();
}

}  // namespace

void LibraryIndex::setBuiltIn(const std::string& library, std::vector<BuiltInFile> files) {
  builtInLibrary_ = library;
  builtIn_ = std::move(files);
}

void LibraryIndex::rebuild(const std::vector<std::string>& folders) {
  std::vector<std::string> files;
  std::vector<std::string> missing;
  for (const std::string& folder : folders) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
      missing.push_back(folder + (std::filesystem::exists(folder, error) ? ": is not a folder" : ": no such folder"));
      continue;
    }
    scan(folder, files);
  }
  std::unordered_map<std::string, const BuiltInFile*> builtIn;
  for (const BuiltInFile& f : builtIn_) {
    std::string location = kBuiltInPrefix + builtInLibrary_ + "/" + f.fileName;
    if (builtIn.emplace(location, &f).second) files.push_back(location);
  }
  std::set<std::string> present(files.begin(), files.end());
  std::vector<std::string> order;
  for (const std::string& f : order_)
    if (present.count(f)) order.push_back(f);
  std::set<std::string> known(order.begin(), order.end());
  for (const std::string& f : files)
    if (known.insert(f).second) order.push_back(f);

  ++revision_;
  parts_.clear();
  byName_.clear();
  byId_.clear();
  byPath_.clear();
  messages_ = std::move(missing);
  order_.clear();
  for (const std::string& file : order) {
    LibraryPart part;
    auto embedded = builtIn.find(file);
    if (embedded != builtIn.end()) {
      std::string problem;
      part.path = file;
      if (!readPartText(embedded->second->text, part, problem)) {
        messages_.push_back(file + ": " + problem);
        continue;
      }
      part.builtIn = true;
    } else if (!load(file, part)) {
      continue;
    }
    int32_t index = int32_t(parts_.size()) + 1;
    byName_.emplace(lowerText(part.name), index);
    if (!part.ownId.empty()) byId_.emplace(upper(part.ownId), index);
    byPath_.emplace(file, index);
    order_.push_back(file);
    parts_.push_back(std::move(part));
  }
}

void LibraryIndex::scan(const std::string& folder, std::vector<std::string>& files) {
  namespace fs = std::filesystem;
  std::error_code error;
  std::vector<std::string> found;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    std::string extension = lowerText(it->path().extension().string());
    if (extension == ".gdl" || extension == ".gsm") found.push_back(it->path().lexically_normal().string());
  }
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
}

bool LibraryIndex::load(const std::string& file, LibraryPart& part) {
  std::string text;
  if (!readFile(file, text)) {
    messages_.push_back(file + ": cannot be read");
    return false;
  }
  part.path = file;
  if (lowerText(std::filesystem::path(file).extension().string()) == ".gdl") {
    part.typeID = 10;
    part.name = std::filesystem::path(file).stem().string();
    part.sections.push_back({0x31445343u /* '1DSC' */, text});
    return true;
  }
  std::string problem;
  if (!readPartText(text, part, problem)) {
    messages_.push_back(file + ": " + problem);
    return false;
  }
  return true;
}

const LibraryPart* LibraryIndex::part(int32_t index) const {
  return index >= 1 && index <= count() ? &parts_[std::size_t(index) - 1] : nullptr;
}

LibraryPart* LibraryIndex::part(int32_t index) {
  return index >= 1 && index <= count() ? &parts_[std::size_t(index) - 1] : nullptr;
}

int32_t LibraryIndex::find(const std::string& name, int32_t typeID) const {
  auto range = byName_.equal_range(lowerText(name));
  int32_t best = 0;
  for (auto it = range.first; it != range.second; ++it) {
    if (typeID != 0 && parts_[std::size_t(it->second) - 1].typeID != typeID) continue;
    if (best == 0 || it->second < best) best = it->second;
  }
  return best;
}

int32_t LibraryIndex::findId(const std::string& ownId, int32_t typeID) const {
  auto range = byId_.equal_range(upper(ownId));
  int32_t best = 0;
  for (auto it = range.first; it != range.second; ++it) {
    if (typeID != 0 && parts_[std::size_t(it->second) - 1].typeID != typeID) continue;
    if (best == 0 || it->second < best) best = it->second;
  }
  return best;
}

int32_t LibraryIndex::findPath(const std::string& path) const {
  auto it = byPath_.find(std::filesystem::path(path).lexically_normal().string());
  return it == byPath_.end() ? 0 : it->second;
}

bool LibraryIndex::descends(const std::string& ownId, const std::string& subtypeId) const {
  std::string wanted = upper(subtypeId);
  std::string at = upper(ownId);
  std::set<std::string> seen;
  while (!at.empty() && seen.insert(at).second) {
    if (at == wanted) return true;
    int32_t index = findId(at, 0);
    if (index == 0) return false;
    at = upper(part(index)->parentId);
  }
  return false;
}

bool LibraryIndex::writePart(const LibraryPart& part, std::string& problem) {
  namespace fs = std::filesystem;
  if (part.builtIn) {
    problem = part.path + ": a built-in part is read only";
    return false;
  }
  std::error_code error;
  fs::path path(part.path);
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), error);
  std::string temporary = part.path + ".part-new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << writePartText(part);
    out.close();
    if (!out) {
      fs::remove(temporary, error);
      problem = part.path + ": cannot be written";
      return false;
    }
  }
  fs::rename(temporary, part.path, error);
  if (error) {
    fs::remove(temporary, error);
    problem = part.path + ": cannot be written";
    return false;
  }
  return true;
}

std::string LibraryIndex::newIdentifier() {
  // Identities only need to differ between parts of one host, so a counter mixed with the
  // number of parts makes them.
  auto guid = [](uint64_t a, uint64_t b) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%012llX}", unsigned(a & 0xFFFFFFFFu),
                  unsigned((a >> 32) & 0xFFFF), unsigned(0x4000 | ((a >> 48) & 0x0FFF)),
                  unsigned(0x8000 | (b & 0x3FFF)), static_cast<unsigned long long>((b >> 14) & 0xFFFFFFFFFFFFull));
    return std::string(text);
  };
  ++serial_;
  uint64_t a = 0x5452455354000000ull ^ (serial_ * 0x9E3779B97F4A7C15ull);
  uint64_t b = (uint64_t(parts_.size()) << 20) ^ (serial_ * 0xC2B2AE3D27D4EB4Full);
  return guid(a, b) + "-" + guid(b, a);
}

}  // namespace standin
