#include "model/parameter_list.h"

#include <cstring>

#include "platform/parameter_records.h"
#include "runtime/memory.h"

namespace lunvik {

namespace {

// Converts a zero-terminated 16-bit text of at most max characters to 8-bit text; characters
// beyond one byte become '?'.
CadString narrow(const uint16_t* text, std::size_t max) {
  std::string out;
  for (std::size_t i = 0; i < max && text[i]; ++i) out += text[i] < 256 ? char(text[i]) : '?';
  return CadString(out);
}

}  // namespace

bool ParameterList::readHandle(platform::GSHandle handle) {
  if (!handle) return false;
  std::size_t size = handleSize(handle);
  if (size % sizeof(platform::HostParameterRecord) != 0) return false;
  std::size_t count = size / sizeof(platform::HostParameterRecord);
  const auto* records = reinterpret_cast<const platform::HostParameterRecord*>(*handle);
  std::vector<Entry> entries;
  std::unordered_map<std::string, std::size_t> index;
  for (std::size_t i = 0; i < count; ++i) {
    const auto& r = records[i];
    Entry e;
    e.name = CadString(r.name, strnlen(r.name, sizeof r.name));
    e.type = r.typeID;
    if (r.shape == platform::kShapeScalar) {
      if (r.typeID == platform::kParamString) e.text = narrow(r.value.text, 256);
      else e.number = r.value.real;
    }
    index.emplace(e.name.lower().str(), entries.size());
    entries.push_back(std::move(e));
  }
  entries_ = std::move(entries);
  index_ = std::move(index);
  return true;
}

const ParameterList::Entry* ParameterList::find(const CadString& name) const {
  auto it = index_.find(name.lower().str());
  return it == index_.end() ? nullptr : &entries_[it->second];
}

bool ParameterList::number(const CadString& name, double& value) const {
  const Entry* e = find(name);
  if (!e || e->type == platform::kParamString) return false;
  value = e->number;
  return true;
}

bool ParameterList::text(const CadString& name, CadString& value) const {
  const Entry* e = find(name);
  if (!e || e->type != platform::kParamString) return false;
  value = e->text;
  return true;
}

}  // namespace lunvik
