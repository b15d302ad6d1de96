// Typed values of dialog controls: any control's cell is read and written through one.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/cad_string.h"

namespace lunvik {

// A typed value with conversions to and from integer, real and text.
class ControlSetting {
 public:
  virtual ~ControlSetting() = default;
  virtual int32_t integer() const = 0;
  virtual double real() const = 0;
  virtual CadString text() const = 0;
  virtual void setInteger(int32_t value) = 0;
  virtual void setReal(double value) = 0;
  // Takes the text's value; a text that does not read leaves the value as it was.
  virtual void setText(const CadString& text) = 0;
  // A new setting of the same type and value.
  virtual ControlSetting* copy() const = 0;
};

// A text.
class StringSetting : public ControlSetting {
 public:
  explicit StringSetting(CadString text = CadString()) : text_(std::move(text)) {}
  // The text's leading whole number, 0 when there is none.
  int32_t integer() const override;
  // The text's leading number, 0 when there is none.
  double real() const override;
  CadString text() const override { return text_; }
  void setInteger(int32_t value) override;
  void setReal(double value) override;
  void setText(const CadString& text) override { text_ = text; }
  ControlSetting* copy() const override { return new StringSetting(*this); }

 private:
  CadString text_;
};

// A whole number.
class IntegerSetting : public ControlSetting {
 public:
  explicit IntegerSetting(int32_t value = 0) : value_(value) {}
  int32_t integer() const override { return value_; }
  double real() const override { return value_; }
  CadString text() const override;
  void setInteger(int32_t value) override { value_ = value; }
  // Rounds to the nearest whole number.
  void setReal(double value) override;
  void setText(const CadString& text) override;
  ControlSetting* copy() const override { return new IntegerSetting(*this); }

 private:
  int32_t value_;
};

// A real number; its text is the standard stream's default form.
class RealSetting : public ControlSetting {
 public:
  explicit RealSetting(double value = 0.0) : value_(value) {}
  // Rounded to the nearest whole number.
  int32_t integer() const override;
  double real() const override { return value_; }
  CadString text() const override;
  void setInteger(int32_t value) override { value_ = value; }
  void setReal(double value) override { value_ = value; }
  void setText(const CadString& text) override;
  ControlSetting* copy() const override { return new RealSetting(*this); }

 private:
  double value_;
};

// A length in metres; its text is the host's length format.
class LengthSetting : public RealSetting {
 public:
  explicit LengthSetting(double metres = 0.0) : RealSetting(metres) {}
  CadString text() const override;
  // Reads the text as the host reads a length.
  void setText(const CadString& text) override;
  ControlSetting* copy() const override { return new LengthSetting(*this); }
};

// An angle in radians; its text is the host's angle format (degrees).
class AngleSetting : public RealSetting {
 public:
  explicit AngleSetting(double radians = 0.0) : RealSetting(radians) {}
  CadString text() const override;
  void setText(const CadString& text) override;
  ControlSetting* copy() const override { return new AngleSetting(*this); }
};

// A pop-up's selected entry: its 0-based value and its text.
class MenuSetting : public ControlSetting {
 public:
  MenuSetting(int32_t value = -1, CadString text = CadString()) : value_(value), text_(std::move(text)) {}
  int32_t integer() const override { return value_; }
  double real() const override { return value_; }
  CadString text() const override { return text_; }
  void setInteger(int32_t value) override { value_ = value; }
  void setReal(double value) override;
  void setText(const CadString& text) override { text_ = text; }
  ControlSetting* copy() const override { return new MenuSetting(*this); }

 private:
  int32_t value_;
  CadString text_;
};

}  // namespace lunvik
