// GDL parameters: one class per host parameter type, scalar or arrays of rows x columns.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/parameter_records.h"
#include "runtime/cad_string.h"

namespace lunvik {

class ParameterVector;

// One named parameter. Values are stored row by row; value (row, column) is element
// row * columns() + column.
class Parameter {
 public:
  // columns becomes the given number when above 1, else 1 for an array and 0 for a scalar.
  Parameter(const CadString& name, const CadString& description, int16_t index, int32_t columns, bool isArray);
  // From a host record: name, description, index, flags and, for an array, its columns.
  explicit Parameter(const platform::HostParameterRecord& record);
  // From a short record: name, index and flag; a scalar.
  explicit Parameter(const platform::ShortParameterRecord& record);
  // A copy belongs to no list.
  Parameter(const Parameter& other);
  // Takes other's name and values; a list holding this parameter hears of the new name.
  Parameter& operator=(const Parameter& other);
  virtual ~Parameter();

  virtual std::unique_ptr<Parameter> clone() const = 0;
  // The value as text: numbers in the framework's number format, booleans "1" or "0".
  virtual CadString getText(int32_t row = 0, int32_t column = 0) const = 0;
  // The number of rows (1 for a scalar holding its value).
  virtual int32_t rows() const;
  // The number of columns (1 for a scalar).
  virtual int32_t columns() const { return columns_ > 0 ? columns_ : 1; }
  // The host type code.
  virtual int32_t typeCode() const = 0;
  // 1 text, 2 integer, 3 real.
  virtual int32_t valueKind() const = 0;
  // Parses text into the value; a boolean becomes false only for "0".
  virtual bool setText(const CadString& text, int32_t row = 0, int32_t column = 0) = 0;
  // Copies other's values when it has the same type code, columns and value form.
  virtual bool assign(const Parameter& other) = 0;
  // Every value becomes the default; the shape is kept.
  virtual void reset() = 0;
  // Fills a short record: index, name, value kind, flag, then the first value.
  virtual bool toShortRecord(platform::ShortParameterRecord& record) const;
  // Fills a host record: type, index, shape, name, description, dimensions, flags, value(s).
  virtual bool toHostRecord(platform::HostParameterRecord& record) const;
  virtual bool writeShortValue(platform::ShortParameterRecord& record) const = 0;
  virtual bool writeHostValue(platform::HostParameterRecord& record) const = 0;
  virtual bool readShortValue(const platform::ShortParameterRecord& record) = 0;
  virtual bool readHostValue(const platform::HostParameterRecord& record) = 0;
  // The array grows by count rows of default values.
  virtual void addRows(int32_t count) = 0;
  // The number of stored values.
  virtual std::size_t valueCount() const = 0;

  const CadString& name() const { return name_; }
  const CadString& description() const { return description_; }
  int32_t flags() const { return flags_; }
  int16_t index() const { return index_; }
  bool isArray() const { return columns_ > 0; }
  // Renames the parameter; the list holding it looks it up by the new name from then on.
  void setName(const CadString& name);
  void setFlags(int32_t flags) { flags_ = flags; }
  void setIndex(int16_t index) { index_ = index; }

  // A new parameter of the record's type code with its value(s); null for a code outside
  // the table or a value that does not read.
  static std::unique_ptr<Parameter> fromHostRecord(const platform::HostParameterRecord& record);
  // A new text, integer or real parameter by the record's value kind; null for another kind.
  static std::unique_ptr<Parameter> fromShortRecord(const platform::ShortParameterRecord& record);

 protected:
  // Checks (row, column) for get and set: the column must be below columns(); a row at or
  // beyond rows() grows an array (when grow) and is out of range for a scalar.
  void checkIndex(int32_t row, int32_t column, bool grow);
  void checkIndex(int32_t row, int32_t column) const;
  // True when (row, column) lies in an array's columns but at or beyond its rows.
  bool pastLastRow(int32_t row, int32_t column) const;
  // The number of values an array record announces.
  static std::size_t recordValueCount(const platform::HostParameterRecord& record);

  CadString name_;
  CadString description_;
  int32_t columns_ = 0;
  int32_t flags_ = 0;
  int16_t index_ = 0;

 private:
  friend class ParameterVector;
  ParameterVector* owner_ = nullptr;  // the list's vector that holds the parameter, if any
};

// The values of a parameter of value type T.
template <typename T>
class ParameterForm : public Parameter {
 public:
  using Value = T;
  ParameterForm(const CadString& name, const CadString& description, const T& first, int16_t index,
                int32_t columns, bool isArray)
      : Parameter(name, description, index, columns, isArray) {
    values_.assign(std::size_t(this->columns()), T());
    values_[0] = first;
  }
  explicit ParameterForm(const platform::HostParameterRecord& record) : Parameter(record) {}
  explicit ParameterForm(const platform::ShortParameterRecord& record) : Parameter(record) {}

  std::size_t valueCount() const override { return values_.size(); }
  void addRows(int32_t count) override {
    if (count > 0) values_.resize(values_.size() + std::size_t(count) * std::size_t(columns()), T());
  }
  void reset() override { std::fill(values_.begin(), values_.end(), T()); }
  // The value at (row, column); a row at or beyond an array's rows grows the array by the
  // missing rows of default values first. Any other index out of range throws
  // std::out_of_range.
  T get(int32_t row = 0, int32_t column = 0) {
    checkIndex(row, column, true);
    return values_[std::size_t(row) * std::size_t(columns()) + std::size_t(column)];
  }
  // As get, without growing: a row beyond an array's rows reads as the default value.
  T get(int32_t row = 0, int32_t column = 0) const {
    if (pastLastRow(row, column)) return T();
    checkIndex(row, column);
    return values_[std::size_t(row) * std::size_t(columns()) + std::size_t(column)];
  }
  // Sets the value at (row, column); an array grows to hold the row.
  void set(const T& value, int32_t row = 0, int32_t column = 0) {
    checkIndex(row, column, true);
    values_[std::size_t(row) * std::size_t(columns()) + std::size_t(column)] = value;
  }
  bool assign(const Parameter& other) override {
    auto* same = dynamic_cast<const ParameterForm<T>*>(&other);
    if (!same || other.typeCode() != typeCode() || other.columns() != columns() || other.isArray() != isArray())
      return false;
    std::size_t n = std::min(values_.size(), same->values_.size());
    n -= n % std::size_t(columns());
    if (!isArray()) n = std::min<std::size_t>(n, 1);
    for (std::size_t i = 0; i < n; ++i) values_[i] = same->values_[i];
    return true;
  }

 protected:
  std::vector<T> values_;
};

// A 16-bit integer (code 1).
class IntegerParameter : public ParameterForm<short> {
 public:
  IntegerParameter(const CadString& name, const CadString& description = "", short first = 0, int16_t index = 0,
                   int32_t columns = 0, bool isArray = false)
      : ParameterForm(name, description, first, index, columns, isArray) {}
  explicit IntegerParameter(const platform::HostParameterRecord& record) : ParameterForm(record) {}
  std::unique_ptr<Parameter> clone() const override { return std::make_unique<IntegerParameter>(*this); }
  CadString getText(int32_t row = 0, int32_t column = 0) const override;
  int32_t typeCode() const override { return platform::kParamInteger; }
  int32_t valueKind() const override { return platform::kValueInteger; }
  bool setText(const CadString& text, int32_t row = 0, int32_t column = 0) override;
  bool writeShortValue(platform::ShortParameterRecord& record) const override;
  bool writeHostValue(platform::HostParameterRecord& record) const override;
  bool readShortValue(const platform::ShortParameterRecord& record) override;
  bool readHostValue(const platform::HostParameterRecord& record) override;
};

// A 32-bit integer; reports code 1.
class LongParameter : public ParameterForm<int32_t> {
 public:
  LongParameter(const CadString& name, const CadString& description = "", int32_t first = 0, int16_t index = 0,
                int32_t columns = 0, bool isArray = false)
      : ParameterForm(name, description, first, index, columns, isArray) {}
  explicit LongParameter(const platform::HostParameterRecord& record) : ParameterForm(record) {}
  explicit LongParameter(const platform::ShortParameterRecord& record) : ParameterForm(record) {}
  std::unique_ptr<Parameter> clone() const override { return std::make_unique<LongParameter>(*this); }
  CadString getText(int32_t row = 0, int32_t column = 0) const override;
  int32_t typeCode() const override { return platform::kParamInteger; }
  int32_t valueKind() const override { return platform::kValueInteger; }
  bool setText(const CadString& text, int32_t row = 0, int32_t column = 0) override;
  bool writeShortValue(platform::ShortParameterRecord& record) const override;
  bool writeHostValue(platform::HostParameterRecord& record) const override;
  bool readShortValue(const platform::ShortParameterRecord& record) override;
  bool readHostValue(const platform::HostParameterRecord& record) override;
};

// A real number (code 4).
class RealParameter : public ParameterForm<double> {
 public:
  RealParameter(const CadString& name, const CadString& description = "", double first = 0, int16_t index = 0,
                int32_t columns = 0, bool isArray = false)
      : ParameterForm(name, description, first, index, columns, isArray) {}
  explicit RealParameter(const platform::HostParameterRecord& record) : ParameterForm(record) {}
  explicit RealParameter(const platform::ShortParameterRecord& record) : ParameterForm(record) {}
  std::unique_ptr<Parameter> clone() const override { return std::make_unique<RealParameter>(*this); }
  CadString getText(int32_t row = 0, int32_t column = 0) const override;
  int32_t typeCode() const override { return platform::kParamReal; }
  int32_t valueKind() const override { return platform::kValueReal; }
  bool setText(const CadString& text, int32_t row = 0, int32_t column = 0) override;
  bool writeShortValue(platform::ShortParameterRecord& record) const override;
  bool writeHostValue(platform::HostParameterRecord& record) const override;
  bool readShortValue(const platform::ShortParameterRecord& record) override;
  bool readHostValue(const platform::HostParameterRecord& record) override;
};

// A boolean (code 13).
class BooleanParameter : public ParameterForm<bool> {
 public:
  BooleanParameter(const CadString& name, const CadString& description = "", bool first = false,
                   int16_t index = 0, int32_t columns = 0, bool isArray = false)
      : ParameterForm(name, description, first, index, columns, isArray) {}
  explicit BooleanParameter(const platform::HostParameterRecord& record) : ParameterForm(record) {}
  std::unique_ptr<Parameter> clone() const override { return std::make_unique<BooleanParameter>(*this); }
  CadString getText(int32_t row = 0, int32_t column = 0) const override;
  int32_t typeCode() const override { return platform::kParamBoolean; }
  int32_t valueKind() const override { return platform::kValueInteger; }
  bool setText(const CadString& text, int32_t row = 0, int32_t column = 0) override;
  bool writeShortValue(platform::ShortParameterRecord& record) const override;
  bool writeHostValue(platform::HostParameterRecord& record) const override;
  bool readShortValue(const platform::ShortParameterRecord& record) override;
  bool readHostValue(const platform::HostParameterRecord& record) override;
};

// A text (code 12).
class StringParameter : public ParameterForm<CadString> {
 public:
  StringParameter(const CadString& name, const CadString& description = "", const CadString& first = "",
                  int16_t index = 0, int32_t columns = 0, bool isArray = false)
      : ParameterForm(name, description, first, index, columns, isArray) {}
  explicit StringParameter(const platform::HostParameterRecord& record) : ParameterForm(record) {}
  explicit StringParameter(const platform::ShortParameterRecord& record) : ParameterForm(record) {}
  std::unique_ptr<Parameter> clone() const override { return std::make_unique<StringParameter>(*this); }
  CadString getText(int32_t row = 0, int32_t column = 0) const override { return get(row, column); }
  int32_t typeCode() const override { return platform::kParamString; }
  int32_t valueKind() const override { return platform::kValueText; }
  bool setText(const CadString& text, int32_t row = 0, int32_t column = 0) override;
  bool writeShortValue(platform::ShortParameterRecord& record) const override;
  bool writeHostValue(platform::HostParameterRecord& record) const override;
  bool readShortValue(const platform::ShortParameterRecord& record) override;
  bool readHostValue(const platform::HostParameterRecord& record) override;
};

// The kinds that share a value type and differ in their code.
#define LUNVIK_PARAMETER_KIND(Class, Base, Code, Value)                                                   \
  class Class : public Base {                                                                            \
   public:                                                                                               \
    Class(const CadString& name, const CadString& description = "", Value first = Value(),              \
          int16_t index = 0, int32_t columns = 0, bool isArray = false)                                  \
        : Base(name, description, first, index, columns, isArray) {}                                     \
    explicit Class(const platform::HostParameterRecord& record) : Base(record) {}                       \
    std::unique_ptr<Parameter> clone() const override { return std::make_unique<Class>(*this); }       \
    int32_t typeCode() const override { return Code; }                                                   \
  };

LUNVIK_PARAMETER_KIND(LengthParameter, RealParameter, platform::kParamLength, double)
LUNVIK_PARAMETER_KIND(AngleParameter, RealParameter, platform::kParamAngle, double)
LUNVIK_PARAMETER_KIND(IntensityParameter, RealParameter, platform::kParamIntensity, double)
LUNVIK_PARAMETER_KIND(SwitchParameter, BooleanParameter, platform::kParamLightSwitch, bool)
LUNVIK_PARAMETER_KIND(ColourParameter, IntegerParameter, platform::kParamColour, short)
LUNVIK_PARAMETER_KIND(LineStyleParameter, IntegerParameter, platform::kParamLineStyle, short)
LUNVIK_PARAMETER_KIND(MaterialParameter, IntegerParameter, platform::kParamMaterial, short)
LUNVIK_PARAMETER_KIND(FillParameter, IntegerParameter, platform::kParamFill, short)
LUNVIK_PARAMETER_KIND(PenParameter, IntegerParameter, platform::kParamPen, short)

#undef LUNVIK_PARAMETER_KIND

// A parameter without a value: a separator (code 14) or a title (code 15).
class MarkerParameter : public Parameter {
 public:
  using Parameter::Parameter;
  CadString getText(int32_t = 0, int32_t = 0) const override { return CadString(); }
  int32_t rows() const override { return 0; }
  int32_t valueKind() const override { return platform::kValueInteger; }
  bool setText(const CadString&, int32_t = 0, int32_t = 0) override { return false; }
  bool assign(const Parameter& other) override { return other.typeCode() == typeCode(); }
  void reset() override {}
  bool writeShortValue(platform::ShortParameterRecord&) const override { return false; }
  bool writeHostValue(platform::HostParameterRecord&) const override { return true; }
  bool readShortValue(const platform::ShortParameterRecord&) override { return false; }
  bool readHostValue(const platform::HostParameterRecord&) override { return true; }
  void addRows(int32_t) override {}
  std::size_t valueCount() const override { return 0; }
};

class SeparatorParameter : public MarkerParameter {
 public:
  using MarkerParameter::MarkerParameter;
  explicit SeparatorParameter(const CadString& name) : MarkerParameter(name, "", 0, 0, false) {}
  std::unique_ptr<Parameter> clone() const override { return std::make_unique<SeparatorParameter>(*this); }
  int32_t typeCode() const override { return platform::kParamSeparator; }
};

class TitleParameter : public MarkerParameter {
 public:
  using MarkerParameter::MarkerParameter;
  explicit TitleParameter(const CadString& name) : MarkerParameter(name, "", 0, 0, false) {}
  std::unique_ptr<Parameter> clone() const override { return std::make_unique<TitleParameter>(*this); }
  int32_t typeCode() const override { return platform::kParamTitle; }
};

// Converts between 8-bit text and zero-terminated 16-bit host text (one byte per character).
CadString narrowText(const uint16_t* text, std::size_t max);
void wideText(const CadString& text, uint16_t* out, std::size_t max);

}  // namespace lunvik
