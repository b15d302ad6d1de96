// The root library's resource manager: string lists and resources of the current module.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/resource_module.h"

namespace standin {

// Reads resources of the module the add-on makes current.
class ResourceManager {
 public:
  // Records the add-on's own module (menus and tool texts are read from it).
  void setOwnModule(const platform::ResourceModule* module) { own_ = module; }
  const platform::ResourceModule* ownModule() const { return own_; }
  // Makes module current; answers the previous one.
  const platform::ResourceModule* setCurrent(const platform::ResourceModule* module);
  const platform::ResourceModule* current() const { return current_; }

  // The resource of type and id in module, or null.
  static const platform::ResourceEntry* find(const platform::ResourceModule* module, uint32_t type, int32_t id);
  // Item index (1-based) of string list listId in module; false when there is none.
  bool string(const platform::ResourceModule* module, int32_t listId, int32_t index, std::string& text);
  // Every item of a string list, index 1 first (missing items empty).
  std::vector<std::string> strings(const platform::ResourceModule* module, int32_t listId);

  // Parses the text of a string list; items by index.
  static std::map<int32_t, std::string> parseStringList(const unsigned char* data, std::size_t size);

 private:
  const platform::ResourceModule* own_ = nullptr;
  const platform::ResourceModule* current_ = nullptr;
  std::map<std::pair<const platform::ResourceModule*, int32_t>, std::map<int32_t, std::string>> parsed_;
};

}  // namespace standin
