// The cache that maps a host 3D component (type, host index) to its local index in a body's
// lists, so that each vertex and edge is read from the host once.
#pragma once

#include <cstdint>
#include <unordered_map>

namespace lunvik {

// Host component to local index.
class IndexLink {
 public:
  // The local index of (type, hostIndex); false when it is not known yet.
  bool find(int32_t type, int32_t hostIndex, int32_t& local) const {
    auto it = map_.find(key(type, hostIndex));
    if (it == map_.end()) return false;
    local = it->second;
    return true;
  }
  // Remembers the local index of (type, hostIndex).
  void remember(int32_t type, int32_t hostIndex, int32_t local) { map_[key(type, hostIndex)] = local; }
  void clear() { map_.clear(); }
  std::size_t size() const { return map_.size(); }

 private:
  static uint64_t key(int32_t type, int32_t index) { return (uint64_t(uint32_t(type)) << 32) | uint32_t(index); }
  std::unordered_map<uint64_t, int32_t> map_;
};

}  // namespace lunvik
