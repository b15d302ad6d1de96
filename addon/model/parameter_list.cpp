#include "model/parameter_list.h"

#include <cstdlib>
#include <cstring>

#include "platform/parameter_records.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"

namespace lunvik {

using platform::HostParameterRecord;

ParameterVector::~ParameterVector() = default;

void ParameterVector::adopt(Parameter* item) {
  item->owner_ = this;
  ++generation_;
}

void ParameterVector::push_back(Parameter* item) {
  if (!item) return;
  Vector::push_back(item);
  adopt(item);
}

void ParameterVector::push_back(std::unique_ptr<Parameter> item) { push_back(item.release()); }

void ParameterVector::insert(std::size_t pos, Parameter* item) {
  if (!item) return;
  Vector::insert(pos, item);
  adopt(item);
}

void ParameterVector::clear() {
  Vector::clear();
  ++generation_;
}

void ParameterVector::erase(std::size_t i) {
  if (i >= size()) return;
  Vector::erase(i);
  ++generation_;
}

Parameter* ParameterVector::release(std::size_t i) {
  Parameter* item = Vector::release(i);
  if (!item) return nullptr;
  item->owner_ = nullptr;
  ++generation_;
  return item;
}

std::unique_ptr<ParameterVector> ParameterVector::clone() const {
  auto copy = std::make_unique<ParameterVector>();
  copy->reserve(size());
  for (std::size_t i = 0; i < size(); ++i) copy->push_back((*this)[i].clone());
  return copy;
}

ParameterList::ParameterList() : vector_(std::make_unique<ParameterVector>()) {}
ParameterList::ParameterList(const ParameterList& other) : vector_(other.vector_->clone()) {}
ParameterList& ParameterList::operator=(const ParameterList& other) {
  if (this != &other) {
    vector_ = other.vector_->clone();
    changed();
  }
  return *this;
}
ParameterList::~ParameterList() = default;

namespace {

// Parameter names are plain ASCII identifiers, so the index folds their case itself rather
// than asking the host for every name and every lookup.
char fold(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

uint32_t foldedHash(const std::string& name) {
  uint32_t h = 2166136261u;
  for (char c : name) h = (h ^ uint8_t(fold(c))) * 16777619u;
  return h;
}

bool foldedEqual(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

}  // namespace

void ParameterList::buildIndex() const {
  // At most half full, so that a probe meets a free slot soon.
  std::size_t size = 16;
  while (size < vector_->size() * 2) size *= 2;
  slots_.assign(size, 0);
  const std::size_t mask = size - 1;
  for (std::size_t i = 0; i < vector_->size(); ++i) {
    const std::string& name = (*vector_)[i].name().str();
    for (std::size_t at = foldedHash(name) & mask;; at = (at + 1) & mask) {
      if (slots_[at] == 0) {
        slots_[at] = int32_t(i) + 1;
        break;
      }
      // The first parameter of a name keeps it.
      if (foldedEqual((*vector_)[std::size_t(slots_[at]) - 1].name().str(), name)) break;
    }
  }
  indexValid_ = true;
  indexedGeneration_ = vector_->generation();
}

int32_t ParameterList::indexOf(const CadString& name) const {
  if (vector_->empty()) return -1;
  if (!indexValid_ || indexedGeneration_ != vector_->generation()) buildIndex();
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = foldedHash(name.str()) & mask;; at = (at + 1) & mask) {
    const int32_t slot = slots_[at];
    if (slot == 0) return -1;
    if (foldedEqual((*vector_)[std::size_t(slot) - 1].name().str(), name.str())) return slot - 1;
  }
}

Parameter* ParameterList::parameter(int32_t position) {
  return position < 0 ? nullptr : vector_->get(std::size_t(position));
}
const Parameter* ParameterList::parameter(int32_t position) const {
  return position < 0 ? nullptr : vector_->get(std::size_t(position));
}
Parameter* ParameterList::parameter(const CadString& name) { return parameter(indexOf(name)); }
const Parameter* ParameterList::parameter(const CadString& name) const { return parameter(indexOf(name)); }
int32_t ParameterList::count() const { return int32_t(vector_->size()); }

void ParameterList::removeAt(int32_t position) {
  if (position < 0 || position >= count()) return;
  vector_->erase(std::size_t(position));
  changed();
}

void ParameterList::clear() {
  vector_->clear();
  changed();
}

void ParameterList::replace(Parameter* parameter, int32_t position) {
  if (!parameter) return;
  if (position < 0 || position >= count()) {
    vector_->push_back(parameter);
  } else {
    vector_->erase(std::size_t(position));
    vector_->insert(std::size_t(position), parameter);
  }
  changed();
}

void ParameterList::insert(Parameter* parameter, int32_t position) {
  if (!parameter) return;
  vector_->insert(position < 0 ? vector_->size() : std::size_t(position), parameter);
  changed();
}

void ParameterList::add(Parameter* parameter) {
  if (!parameter) return;
  vector_->push_back(parameter);
  changed();
}

bool ParameterList::merge(const ParameterList& source) {
  bool result = false;
  for (int32_t i = count() - 1; i >= 0; --i) {
    const Parameter* from = source.parameter((*vector_)[std::size_t(i)].name());
    if (from) result = (*vector_)[std::size_t(i)].assign(*from);
  }
  return result;
}

bool ParameterList::fromHostRecords(platform::GSHandle handle) {
  clear();
  if (!handle || !*handle) return true;
  std::size_t n = handleSize(handle) / sizeof(HostParameterRecord);
  const auto* records = reinterpret_cast<const HostParameterRecord*>(*handle);
  vector_->reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    std::unique_ptr<Parameter> p = Parameter::fromHostRecord(records[i]);
    if (!p) {
      clear();
      return false;
    }
    vector_->push_back(std::move(p));
  }
  changed();
  return true;
}

platform::GSHandle ParameterList::toHostRecords() const {
  platform::GSHandle handle = newHandle(vector_->size() * sizeof(HostParameterRecord));
  if (!handle) return nullptr;
  auto* records = reinterpret_cast<HostParameterRecord*>(*handle);
  for (std::size_t i = 0; i < vector_->size(); ++i) {
    if (!(*vector_)[i].toHostRecord(records[i])) {
      // Only the records written so far hold array handles.
      for (std::size_t k = i + 1; k < vector_->size(); ++k) std::memset(&records[k], 0, sizeof(HostParameterRecord));
      disposeHostRecords(handle);
      return nullptr;
    }
  }
  return handle;
}

void ParameterList::disposeHostRecords(platform::GSHandle handle) {
  if (!handle) return;
  std::size_t n = handleSize(handle) / sizeof(HostParameterRecord);
  auto* records = reinterpret_cast<HostParameterRecord*>(*handle);
  for (std::size_t i = 0; i < n; ++i)
    if (records[i].shape == platform::kShapeArray) disposeHandle(records[i].value.array);
  disposeHandle(handle);
}

bool ParameterList::fromChanges() {
  int32_t n = 0;
  if (host().call(&platform::HostFunctionTable::HostGoodies, platform::fourcc("NCLP"), &n, nullptr, nullptr) !=
      platform::kNoError)
    return false;
  auto fresh = std::make_unique<ParameterVector>();
  bool ok = true;
  for (int32_t i = n - 1; i >= 0; --i) {
    platform::ShortParameterRecord record{};
    int32_t at = i;
    if (host().call(&platform::HostFunctionTable::HostGoodies, platform::fourcc("GCLP"), &at, &record, nullptr) !=
        platform::kNoError)
      continue;
    std::unique_ptr<Parameter> p = Parameter::fromShortRecord(record);
    std::free(record.name);
    std::free(record.textValue);
    if (!p) {
      ok = false;
      break;
    }
    fresh->push_back(std::move(p));
  }
  if (!ok) fresh->clear();
  vector_ = std::move(fresh);
  changed();
  return ok;
}

bool ParameterList::number(const CadString& name, double& value) const {
  const Parameter* p = parameter(name);
  if (!p || p->valueKind() == platform::kValueText || p->valueCount() == 0) return false;
  value = std::strtod(p->getText().c_str(), nullptr);
  if (auto* real = dynamic_cast<const RealParameter*>(p)) value = real->get();
  return true;
}

bool ParameterList::text(const CadString& name, CadString& value) const {
  const Parameter* p = parameter(name);
  if (!p || p->valueKind() != platform::kValueText || p->valueCount() == 0) return false;
  value = p->getText();
  return true;
}

}  // namespace lunvik
