// The sections of a library part (scripts, texts, pictures) by four-character code.
#pragma once

#include <cstdint>
#include <map>

#include "platform/host_types.h"

namespace lunvik {

class ParametricSource;

// Section codes.
constexpr uint32_t kSectionParameters = 0x50415244u;  // 'PARD'
constexpr uint32_t kSectionMaster = 0x31445343u;      // '1DSC'
constexpr uint32_t kSection2D = 0x32445343u;          // '2DSC'
constexpr uint32_t kSection3D = 0x33445343u;          // '3DSC'
constexpr uint32_t kSectionValues = 0x564C5343u;      // 'VLSC'
constexpr uint32_t kSectionInterface = 0x55495343u;   // 'UISC'
constexpr uint32_t kSectionComment = 0x43545854u;     // 'CTXT'
constexpr uint32_t kSectionPicture = 0x50494354u;     // 'PICT'
constexpr uint32_t kSectionPreview = 0x47494646u;     // 'GIFF'

// An ordered map from section code to a handle of the section's data (owned). 'PARD' is kept
// by the source's parameters, not in the map.
class ComponentSection {
 public:
  explicit ComponentSection(ParametricSource* owner) : owner_(owner) {}
  ComponentSection(const ComponentSection&) = delete;
  ComponentSection& operator=(const ComponentSection&) = delete;
  ~ComponentSection();

  // Copies another section map's handles (for a cloned source).
  bool copyFrom(const ComponentSection& other);
  // Reads the part's section list and every section from the host; a section without data
  // is kept as present with a null handle; any other failure stops the load (false).
  bool load();
  // The number of sections ('PARD' counted when the part has one), loading first when empty.
  int32_t count();
  // The i-th section's code and data (for 'PARD' a new handle of the section's form the
  // caller owns); null data when i is out of range.
  platform::GSHandle section(int32_t i, uint32_t& code);
  // The data handle of code, or null; 'PARD' gives a new handle the caller owns.
  platform::GSHandle get(uint32_t code);
  // Stores a handle for code, freeing the old one; a null handle removes the section. For
  // 'PARD' the source's parameters are loaded and the handle is freed.
  void set(uint32_t code, platform::GSHandle handle);
  // True when the map holds code.
  bool has(uint32_t code) const { return sections_.count(code) != 0; }
  // The codes in order ('PARD' first when the part has parameters).
  const std::map<uint32_t, platform::GSHandle>& map() const { return sections_; }
  bool loaded() const { return loaded_; }
  bool hasParameters() const { return hasParameters_; }

 private:
  void clear();

  ParametricSource* owner_;
  std::map<uint32_t, platform::GSHandle> sections_;
  bool loaded_ = false;
  bool hasParameters_ = false;
};

}  // namespace lunvik
