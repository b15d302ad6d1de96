#include "host/core/resource_manager.h"

#include <cstdlib>

namespace standin {

const platform::ResourceModule* ResourceManager::setCurrent(const platform::ResourceModule* module) {
  const platform::ResourceModule* previous = current_;
  current_ = module;
  return previous;
}

const platform::ResourceEntry* ResourceManager::find(const platform::ResourceModule* module, uint32_t type,
                                                     int32_t id) {
  if (!module) return nullptr;
  for (uint32_t i = 0; i < module->count; ++i)
    if (module->entries[i].type == type && module->entries[i].id == id) return &module->entries[i];
  return nullptr;
}

std::map<int32_t, std::string> ResourceManager::parseStringList(const unsigned char* data, std::size_t size) {
  std::map<int32_t, std::string> items;
  std::size_t pos = 0;
  while (pos < size) {
    std::size_t end = pos;
    while (end < size && data[end] != '\n') ++end;
    std::string line(reinterpret_cast<const char*>(data) + pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0) continue;
    char* stop = nullptr;
    long index = std::strtol(line.c_str(), &stop, 10);
    if (stop != line.c_str() + tab || index < 1) continue;
    std::string text;
    for (std::size_t i = tab + 1; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        char next = line[++i];
        text += next == 't' ? '\t' : next == 'n' ? '\n' : next;
      } else {
        text += line[i];
      }
    }
    items[int32_t(index)] = text;
  }
  return items;
}

bool ResourceManager::string(const platform::ResourceModule* module, int32_t listId, int32_t index,
                             std::string& text) {
  auto key = std::make_pair(module, listId);
  auto it = parsed_.find(key);
  if (it == parsed_.end()) {
    const platform::ResourceEntry* entry = find(module, platform::kResourceStrings, listId);
    if (!entry) return false;
    it = parsed_.emplace(key, parseStringList(entry->data, entry->size)).first;
  }
  auto item = it->second.find(index);
  if (item == it->second.end()) return false;
  text = item->second;
  return true;
}

std::vector<std::string> ResourceManager::strings(const platform::ResourceModule* module, int32_t listId) {
  std::vector<std::string> out;
  std::string text;
  if (!string(module, listId, 1, text) && !find(module, platform::kResourceStrings, listId)) return out;
  const auto& items = parsed_[std::make_pair(module, listId)];
  if (items.empty()) return out;
  out.resize(std::size_t(items.rbegin()->first));
  for (const auto& item : items) out[std::size_t(item.first) - 1] = item.second;
  return out;
}

}  // namespace standin
