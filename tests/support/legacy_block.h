// Module data of earlier versions, built by hand for the import tests.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// Builds a legacy block by hand in either byte order.
class LegacyBlock {
 public:
  explicit LegacyBlock(bool bigEndian) : big_(bigEndian) {}

  // Adds a package's block holding table (tab-separated, CR LF records, header first).
  void add(uint32_t code, const std::string& table, uint32_t version = 1, int lengthAdjust = 0) {
    std::string block;
    u32(block, version);
    u32(block, 77);
    u32(block, uint32_t(int(12 + table.size()) + lengthAdjust));
    block += table;
    entries_.push_back({code, block});
  }
  // The whole block; totalAdjust changes the declared total length.
  std::string bytes(uint32_t time, int totalAdjust = 0) const {
    std::string body;
    for (const auto& e : entries_) body += e.second;
    std::string out = big_ ? "MM" : "II";
    out += '\0';
    out += char(entries_.size());
    u32(out, time);
    u32(out, uint32_t(int(12 + 8 * entries_.size() + body.size()) + totalAdjust));
    for (const auto& e : entries_) {
      u32(out, e.first);
      u32(out, uint32_t(e.second.size()));
    }
    return out + body;
  }

 private:
  void u32(std::string& out, uint32_t v) const {
    unsigned char b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    if (big_) std::swap(b[0], b[3]), std::swap(b[1], b[2]);
    out.append(reinterpret_cast<char*>(b), 4);
  }
  bool big_;
  std::vector<std::pair<uint32_t, std::string>> entries_;
};

}  // namespace testing_support
