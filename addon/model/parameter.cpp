#include "model/parameter.h"

#include <cstdlib>
#include <cstring>

#include "model/parameter_list.h"
#include "runtime/memory.h"
#include "storage/shipping_text.h"

namespace lunvik {

using platform::HostParameterRecord;
using platform::ShortParameterRecord;

CadString narrowText(const uint16_t* text, std::size_t max) {
  std::string out;
  for (std::size_t i = 0; i < max && text[i]; ++i) out += text[i] < 256 ? char(text[i]) : '?';
  return CadString(out);
}

void wideText(const CadString& text, uint16_t* out, std::size_t max) {
  std::size_t n = std::min(text.size(), max - 1);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(text[i]);
  out[n] = 0;
}

namespace {

char* newBuffer(const CadString& text) {
  char* p = static_cast<char*>(std::malloc(text.size() + 1));
  if (!p) throw std::bad_alloc();
  std::memcpy(p, text.c_str(), text.size() + 1);
  return p;
}

double parseReal(const CadString& text) {
  double v = 0;
  scanDouble(text.c_str(), text.size(), v);
  return v;
}

// The array of doubles of a record, or null when the handle is too small.
const double* arrayNumbers(const HostParameterRecord& record, std::size_t count) {
  platform::GSHandle h = record.value.array;
  // Compared by division: rows x columns x 8 may not fit a size.
  if (!h || !*h || handleSize(h) / sizeof(double) < count) return nullptr;
  return reinterpret_cast<const double*>(*h);
}

template <typename T, typename Convert>
bool readNumbers(const HostParameterRecord& record, std::vector<T>& values, Convert convert) {
  if (record.shape == platform::kShapeArray) {
    std::size_t n = std::size_t(std::max(record.dim1, 1)) * std::size_t(std::max(record.dim2, 1));
    const double* numbers = arrayNumbers(record, n);
    if (!numbers) return false;
    for (std::size_t i = 0; i < n; ++i) values.push_back(convert(numbers[i]));
    return true;
  }
  if (record.shape != platform::kShapeScalar) return false;
  values.push_back(convert(record.value.real));
  return true;
}

template <typename T>
bool writeNumbers(const Parameter& p, const std::vector<T>& values, HostParameterRecord& record) {
  if (!p.isArray()) {
    record.value.real = values.empty() ? 0.0 : double(values[0]);
    return true;
  }
  platform::GSHandle h = newHandle(values.size() * sizeof(double));
  if (!h && !values.empty()) return false;
  for (std::size_t i = 0; i < values.size(); ++i) reinterpret_cast<double*>(*h)[i] = double(values[i]);
  record.value.array = h;
  return true;
}

short toShort(double v) { return short(std::max(-32768.0, std::min(32767.0, v))); }
int32_t toLong(double v) { return int32_t(std::max(-2147483648.0, std::min(2147483647.0, v))); }

}  // namespace

Parameter::Parameter(const CadString& name, const CadString& description, int16_t index, int32_t columns,
                     bool isArray)
    : name_(name), description_(description), columns_(columns > 1 ? columns : isArray ? 1 : 0), index_(index) {}

Parameter::Parameter(const HostParameterRecord& record)
    : name_(CadString(record.name, strnlen(record.name, sizeof record.name))),
      description_(narrowText(record.description, 256)),
      columns_(record.shape == platform::kShapeArray ? std::max(record.dim2, 1) : 0),
      flags_(record.flags),
      index_(record.index) {}

Parameter::Parameter(const ShortParameterRecord& record)
    : name_(record.name ? record.name : ""), flags_(record.flag ? 1 : 0), index_(record.index) {}

Parameter::Parameter(const Parameter& other)
    : name_(other.name_),
      description_(other.description_),
      columns_(other.columns_),
      flags_(other.flags_),
      index_(other.index_) {}

Parameter& Parameter::operator=(const Parameter& other) {
  if (this == &other) return *this;
  name_ = other.name_;
  description_ = other.description_;
  columns_ = other.columns_;
  flags_ = other.flags_;
  index_ = other.index_;
  if (owner_) owner_->nameChanged();
  return *this;
}

Parameter::~Parameter() = default;

void Parameter::setName(const CadString& name) {
  name_ = name;
  if (owner_) owner_->nameChanged();
}

int32_t Parameter::rows() const { return int32_t(valueCount() / std::size_t(columns())); }

void Parameter::checkIndex(int32_t row, int32_t column) const {
  if (row < 0 || column < 0 || column >= columns() || row >= rows()) throw std::out_of_range("parameter index");
}

bool Parameter::pastLastRow(int32_t row, int32_t column) const {
  return isArray() && column >= 0 && column < columns() && row >= 0 && row >= rows();
}

void Parameter::checkIndex(int32_t row, int32_t column, bool grow) {
  if (row < 0 || column < 0 || column >= columns()) throw std::out_of_range("parameter index");
  if (row >= rows()) {
    if (!grow || !isArray()) throw std::out_of_range("parameter index");
    addRows(row - rows() + 1);
  }
}

std::size_t Parameter::recordValueCount(const HostParameterRecord& record) {
  return std::size_t(std::max(record.dim1, 1)) * std::size_t(std::max(record.dim2, 1));
}

bool Parameter::toShortRecord(ShortParameterRecord& record) const {
  record = ShortParameterRecord{};
  record.index = index_;
  record.name = newBuffer(name_);
  record.valueKind = valueKind();
  record.flag = flags_ != 0;
  return writeShortValue(record);
}

bool Parameter::toHostRecord(HostParameterRecord& record) const {
  std::memset(&record, 0, sizeof record);
  record.typeID = typeCode();
  record.index = index_;
  record.shape = columns_ > 0 ? platform::kShapeArray : platform::kShapeScalar;
  CadString name = name_.truncated(31);
  std::memcpy(record.name, name.c_str(), name.size());
  wideText(description_, record.description, 256);
  record.dim1 = columns_ > 0 ? rows() : 0;
  record.dim2 = columns_ > 0 ? columns() : 0;
  record.flags = flags_;
  return writeHostValue(record);
}

std::unique_ptr<Parameter> Parameter::fromHostRecord(const HostParameterRecord& record) {
  std::unique_ptr<Parameter> p;
  switch (record.typeID) {
    case platform::kParamInteger: p = std::make_unique<IntegerParameter>(record); break;
    case platform::kParamLength: p = std::make_unique<LengthParameter>(record); break;
    case platform::kParamAngle: p = std::make_unique<AngleParameter>(record); break;
    case platform::kParamReal: p = std::make_unique<RealParameter>(record); break;
    case platform::kParamLightSwitch: p = std::make_unique<SwitchParameter>(record); break;
    case platform::kParamColour: p = std::make_unique<ColourParameter>(record); break;
    case platform::kParamIntensity: p = std::make_unique<IntensityParameter>(record); break;
    case platform::kParamLineStyle: p = std::make_unique<LineStyleParameter>(record); break;
    case platform::kParamMaterial: p = std::make_unique<MaterialParameter>(record); break;
    case platform::kParamFill: p = std::make_unique<FillParameter>(record); break;
    case platform::kParamPen: p = std::make_unique<PenParameter>(record); break;
    case platform::kParamString: p = std::make_unique<StringParameter>(record); break;
    case platform::kParamBoolean: p = std::make_unique<BooleanParameter>(record); break;
    case platform::kParamSeparator: p = std::make_unique<SeparatorParameter>(record); break;
    case platform::kParamTitle: p = std::make_unique<TitleParameter>(record); break;
    default: return nullptr;
  }
  if (!p->readHostValue(record)) return nullptr;
  return p;
}

std::unique_ptr<Parameter> Parameter::fromShortRecord(const ShortParameterRecord& record) {
  std::unique_ptr<Parameter> p;
  switch (record.valueKind) {
    case platform::kValueText: p = std::make_unique<StringParameter>(record); break;
    case platform::kValueInteger: p = std::make_unique<LongParameter>(record); break;
    case platform::kValueReal: p = std::make_unique<RealParameter>(record); break;
    default: return nullptr;
  }
  if (!p->readShortValue(record)) return nullptr;
  return p;
}

// ---- integers ----

CadString IntegerParameter::getText(int32_t row, int32_t column) const {
  return CadString(std::to_string(get(row, column)));
}
bool IntegerParameter::setText(const CadString& text, int32_t row, int32_t column) {
  set(toShort(parseReal(text)), row, column);
  return true;
}
bool IntegerParameter::writeShortValue(ShortParameterRecord& r) const {
  r.integerValue = values_.empty() ? 0 : values_[0];
  return true;
}
bool IntegerParameter::writeHostValue(HostParameterRecord& r) const { return writeNumbers(*this, values_, r); }
bool IntegerParameter::readShortValue(const ShortParameterRecord& r) {
  values_.push_back(short(r.integerValue));
  return true;
}
bool IntegerParameter::readHostValue(const HostParameterRecord& r) { return readNumbers(r, values_, toShort); }

CadString LongParameter::getText(int32_t row, int32_t column) const {
  return CadString(std::to_string(get(row, column)));
}
bool LongParameter::setText(const CadString& text, int32_t row, int32_t column) {
  set(toLong(parseReal(text)), row, column);
  return true;
}
bool LongParameter::writeShortValue(ShortParameterRecord& r) const {
  r.integerValue = values_.empty() ? 0 : values_[0];
  return true;
}
bool LongParameter::writeHostValue(HostParameterRecord& r) const { return writeNumbers(*this, values_, r); }
bool LongParameter::readShortValue(const ShortParameterRecord& r) {
  values_.push_back(r.integerValue);
  return true;
}
bool LongParameter::readHostValue(const HostParameterRecord& r) { return readNumbers(r, values_, toLong); }

// ---- reals ----

CadString RealParameter::getText(int32_t row, int32_t column) const { return formatDouble(get(row, column)); }
bool RealParameter::setText(const CadString& text, int32_t row, int32_t column) {
  set(parseReal(text), row, column);
  return true;
}
bool RealParameter::writeShortValue(ShortParameterRecord& r) const {
  r.realValue = values_.empty() ? 0.0 : values_[0];
  return true;
}
bool RealParameter::writeHostValue(HostParameterRecord& r) const { return writeNumbers(*this, values_, r); }
bool RealParameter::readShortValue(const ShortParameterRecord& r) {
  values_.push_back(r.realValue);
  return true;
}
bool RealParameter::readHostValue(const HostParameterRecord& r) {
  return readNumbers(r, values_, [](double v) { return v; });
}

// ---- booleans ----

CadString BooleanParameter::getText(int32_t row, int32_t column) const { return get(row, column) ? "1" : "0"; }
bool BooleanParameter::setText(const CadString& text, int32_t row, int32_t column) {
  set(text != CadString("0"), row, column);
  return true;
}
bool BooleanParameter::writeShortValue(ShortParameterRecord& r) const {
  r.integerValue = !values_.empty() && values_[0] ? 1 : 0;
  return true;
}
bool BooleanParameter::writeHostValue(HostParameterRecord& r) const {
  std::vector<double> numbers(values_.begin(), values_.end());
  return writeNumbers(*this, numbers, r);
}
bool BooleanParameter::readShortValue(const ShortParameterRecord& r) {
  values_.push_back(r.integerValue != 0);
  return true;
}
bool BooleanParameter::readHostValue(const HostParameterRecord& r) {
  return readNumbers(r, values_, [](double v) { return v != 0.0; });
}

// ---- texts ----

bool StringParameter::setText(const CadString& text, int32_t row, int32_t column) {
  set(text, row, column);
  return true;
}
bool StringParameter::writeShortValue(ShortParameterRecord& r) const {
  r.textValue = newBuffer(values_.empty() ? CadString() : values_[0]);
  return true;
}
bool StringParameter::writeHostValue(HostParameterRecord& r) const {
  if (!isArray()) {
    wideText(values_.empty() ? CadString() : values_[0], r.value.text, 256);
    return true;
  }
  std::size_t units = 0;
  for (const CadString& v : values_) units += v.size() + 1;
  platform::GSHandle h = newHandle(units * sizeof(uint16_t));
  if (!h && units) return false;
  auto* out = reinterpret_cast<uint16_t*>(h ? *h : nullptr);
  for (const CadString& v : values_) {
    for (std::size_t i = 0; i < v.size(); ++i) *out++ = static_cast<unsigned char>(v[i]);
    *out++ = 0;
  }
  r.value.array = h;
  return true;
}
bool StringParameter::readShortValue(const ShortParameterRecord& r) {
  values_.push_back(CadString(r.textValue ? r.textValue : ""));
  return true;
}
bool StringParameter::readHostValue(const HostParameterRecord& r) {
  if (r.shape == platform::kShapeScalar) {
    values_.push_back(narrowText(r.value.text, 256));
    return true;
  }
  if (r.shape != platform::kShapeArray || !r.value.array || !*r.value.array) return false;
  std::size_t n = recordValueCount(r);
  std::size_t units = handleSize(r.value.array) / sizeof(uint16_t);
  const auto* p = reinterpret_cast<const uint16_t*>(*r.value.array);
  std::size_t at = 0;
  for (std::size_t k = 0; k < n; ++k) {
    std::string text;
    // Every string must end inside the block.
    while (at < units && p[at]) text += p[at] < 256 ? char(p[at]) : '?', ++at;
    if (at >= units) return false;
    ++at;
    values_.push_back(CadString(text));
  }
  return true;
}

}  // namespace lunvik
