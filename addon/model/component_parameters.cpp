#include "model/component_parameters.h"

#include <algorithm>
#include <cstring>

#include "platform/library_records.h"
#include "platform/parameter_records.h"
#include "runtime/memory.h"

namespace lunvik {

namespace {

CadString narrow(const uint16_t* text, std::size_t max) {
  std::string out;
  for (std::size_t i = 0; i < max && text[i]; ++i) out += text[i] < 256 ? char(text[i]) : '?';
  return CadString(out);
}

bool knownKind(int32_t type) { return type >= platform::kParamInteger && type <= platform::kParamTitle; }

}  // namespace

bool ComponentParameter::isText() const { return typeID == platform::kParamString; }

bool ComponentParameters::read(platform::GSHandle handle) {
  std::size_t size = handleSize(handle);
  if (size % sizeof(platform::HostParameterRecord) != 0) return false;
  std::size_t count = size / sizeof(platform::HostParameterRecord);
  const auto* records = handle ? reinterpret_cast<const platform::HostParameterRecord*>(*handle) : nullptr;
  std::vector<ComponentParameter> out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const platform::HostParameterRecord& r = records[i];
    if (!knownKind(r.typeID)) return false;
    ComponentParameter p;
    p.typeID = r.typeID;
    p.name = CadString(r.name, strnlen(r.name, sizeof r.name));
    p.description = narrow(r.description, 256);
    p.flags = r.flags;
    if (r.shape == platform::kShapeArray) {
      p.isArray = true;
      p.rows = r.dim1 > 0 ? r.dim1 : 1;
      p.columns = r.dim2 > 0 ? r.dim2 : 1;
      std::size_t n = std::size_t(p.rows) * std::size_t(p.columns);
      std::size_t bytes = handleSize(r.value.array);
      if (p.isText()) {
        const auto* wide = bytes ? reinterpret_cast<const uint16_t*>(*r.value.array) : nullptr;
        std::size_t at = 0, chars = bytes / 2;
        // Every text must end inside the block: rows x columns announced past it do not read.
        if (n > chars) return false;
        for (std::size_t k = 0; k < n; ++k) {
          std::string t;
          while (at < chars && wide[at]) t += wide[at] < 256 ? char(wide[at]) : '?', ++at;
          if (at >= chars) return false;
          ++at;
          p.texts.push_back(CadString(t));
        }
      } else {
        // Compared by division: rows x columns x 8 may not fit a size.
        if (bytes / sizeof(double) < n) return false;
        const auto* d = reinterpret_cast<const double*>(*r.value.array);
        p.numbers.assign(d, d + n);
      }
    } else if (p.typeID != platform::kParamSeparator && p.typeID != platform::kParamTitle) {
      if (p.isText()) p.texts.push_back(narrow(r.value.text, 256));
      else p.numbers.push_back(r.value.real);
    }
    out.push_back(std::move(p));
  }
  list_ = std::move(out);
  reindex();
  return true;
}

platform::GSHandle ComponentParameters::write() const {
  platform::GSHandle handle = newHandle(list_.size() * sizeof(platform::HostParameterRecord));
  if (!handle) return nullptr;
  std::memset(*handle, 0, handleSize(handle));
  auto* records = reinterpret_cast<platform::HostParameterRecord*>(*handle);
  for (std::size_t i = 0; i < list_.size(); ++i) {
    const ComponentParameter& p = list_[i];
    platform::HostParameterRecord& r = records[i];
    r.typeID = p.typeID;
    r.index = int16_t(i);
    r.flags = p.flags;
    std::strncpy(r.name, p.name.truncated(31).c_str(), sizeof r.name - 1);
    platform::toWide(p.description.truncated(255).c_str(), r.description, 256);
    if (!p.isArray) {
      r.shape = platform::kShapeScalar;
      if (p.isText()) platform::toWide(p.texts.empty() ? "" : p.texts[0].truncated(255).c_str(), r.value.text, 256);
      else r.value.real = p.numbers.empty() ? 0.0 : p.numbers[0];
      continue;
    }
    r.shape = platform::kShapeArray;
    r.dim1 = p.rows;
    r.dim2 = p.columns;
    std::size_t n = std::size_t(p.rows) * std::size_t(p.columns);
    platform::GSHandle values = nullptr;
    if (p.isText()) {
      std::vector<uint16_t> wide;
      for (std::size_t k = 0; k < n; ++k) {
        if (k < p.texts.size())
          for (char c : p.texts[k].str()) wide.push_back(static_cast<unsigned char>(c));
        wide.push_back(0);
      }
      values = newHandle(wide.data(), wide.size() * 2);
    } else {
      std::vector<double> d(n, 0.0);
      std::copy_n(p.numbers.begin(), std::min(n, p.numbers.size()), d.begin());
      values = newHandle(d.data(), d.size() * sizeof(double));
    }
    if (!values) {
      disposeRecords(handle);
      return nullptr;
    }
    r.value.array = values;
  }
  return handle;
}

void ComponentParameters::disposeRecords(platform::GSHandle handle) {
  if (!handle) return;
  std::size_t count = handleSize(handle) / sizeof(platform::HostParameterRecord);
  auto* records = reinterpret_cast<platform::HostParameterRecord*>(*handle);
  for (std::size_t i = 0; i < count; ++i)
    if (records[i].shape == platform::kShapeArray) disposeHandle(records[i].value.array);
  disposeHandle(handle);
}

void ComponentParameters::reindex() {
  index_.clear();
  for (std::size_t i = 0; i < list_.size(); ++i) index_.emplace(list_[i].name.lower().str(), i);
}

long ComponentParameters::indexOf(const CadString& name) const {
  auto it = index_.find(name.lower().str());
  return it == index_.end() ? -1 : long(it->second);
}

const ComponentParameter* ComponentParameters::parameter(const CadString& name) const {
  long at = indexOf(name);
  return at < 0 ? nullptr : &list_[std::size_t(at)];
}

ComponentParameter* ComponentParameters::parameter(const CadString& name) {
  long at = indexOf(name);
  return at < 0 ? nullptr : &list_[std::size_t(at)];
}

bool ComponentParameters::number(const CadString& name, double& value) const {
  const ComponentParameter* p = parameter(name);
  if (!p || p->isText() || p->numbers.empty()) return false;
  value = p->numbers[0];
  return true;
}

bool ComponentParameters::setNumber(const CadString& name, double value) {
  ComponentParameter* p = parameter(name);
  if (!p || p->isText() || p->typeID == platform::kParamTitle || p->typeID == platform::kParamSeparator) return false;
  if (p->numbers.empty()) p->numbers.push_back(value);
  else p->numbers[0] = value;
  return true;
}

bool ComponentParameters::text(const CadString& name, CadString& value) const {
  const ComponentParameter* p = parameter(name);
  if (!p || !p->isText() || p->texts.empty()) return false;
  value = p->texts[0];
  return true;
}

bool ComponentParameters::setText(const CadString& name, const CadString& value) {
  ComponentParameter* p = parameter(name);
  if (!p || !p->isText()) return false;
  if (p->texts.empty()) p->texts.push_back(value);
  else p->texts[0] = value;
  return true;
}

void ComponentParameters::add(ComponentParameter parameter) {
  list_.push_back(std::move(parameter));
  index_.emplace(list_.back().name.lower().str(), list_.size() - 1);
}

bool ComponentParameters::merge(const ComponentParameters& source) {
  bool result = false;
  for (std::size_t i = list_.size(); i-- > 0;) {
    ComponentParameter& p = list_[i];
    const ComponentParameter* from = source.parameter(p.name);
    if (!from) continue;
    result = from->typeID == p.typeID && from->isArray == p.isArray && (!p.isArray || from->columns == p.columns);
    if (!result) continue;
    std::size_t columns = p.isArray ? std::size_t(p.columns) : 1;
    std::size_t rows = p.isArray ? std::size_t(std::min(p.rows, from->rows)) : 1;
    std::size_t n = rows * columns;
    if (p.isText()) {
      p.texts.resize(std::max(p.texts.size(), n));
      for (std::size_t k = 0; k < n && k < from->texts.size(); ++k) p.texts[k] = from->texts[k];
    } else {
      p.numbers.resize(std::max(p.numbers.size(), n));
      for (std::size_t k = 0; k < n && k < from->numbers.size(); ++k) p.numbers[k] = from->numbers[k];
    }
  }
  return result;
}

void ComponentParameters::clear() {
  list_.clear();
  index_.clear();
}

}  // namespace lunvik
