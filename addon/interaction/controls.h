// The control classes of single dialog items: buttons, texts, number fields, check boxes,
// radio groups, pop-ups and the host's layer and pen controls.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "interaction/dialog_control.h"

namespace lunvik {

// A button; its value is its pressed state (0).
class Button : public DialogControl {
 public:
  Button(Dialog& dialog, int16_t item) : DialogControl(dialog, item) {}
  // Sets the button's text.
  void setText(const CadString& text) { setItemText(text); }
  // Sets the button's image (a picture resource id).
  void setImage(int32_t imageId) { image_ = imageId; }
  int32_t image() const { return image_; }

 protected:
  std::unique_ptr<ControlSetting> cellSetting(int32_t, int32_t) const override;
  void storeCell(const ControlSetting&, int32_t, int32_t) override {}

 private:
  int32_t image_ = 0;
};

// A static text.
class StaticText : public DialogControl {
 public:
  StaticText(Dialog& dialog, int16_t item) : DialogControl(dialog, item) {}
};

// A one-line static text.
class SingleText : public StaticText {
 public:
  using StaticText::StaticText;
};

// A text field.
class EditText : public DialogControl {
 public:
  EditText(Dialog& dialog, int16_t item) : DialogControl(dialog, item) {}
  CadString text() const { return itemText(); }
  // The text into text; false, text unchanged, when the host cannot give it.
  bool readText(CadString& text) const { return readItemText(text); }
  void setText(const CadString& text) { setItemText(text); }
};

// An integer field.
class IntText : public DialogControl {
 public:
  IntText(Dialog& dialog, int16_t item) : DialogControl(dialog, item) {}
  int32_t value() const;
  void setValue(int32_t value) { setItemValue(value); }

 protected:
  std::unique_ptr<ControlSetting> cellSetting(int32_t, int32_t) const override;
  void storeCell(const ControlSetting& value, int32_t, int32_t) override { setValue(value.integer()); }
};

// A real field.
class RealText : public DialogControl {
 public:
  RealText(Dialog& dialog, int16_t item) : DialogControl(dialog, item) {}
  double value() const { return itemValue(); }
  void setValue(double value) { setItemValue(value); }

 protected:
  std::unique_ptr<ControlSetting> cellSetting(int32_t, int32_t) const override;
  void storeCell(const ControlSetting& value, int32_t, int32_t) override { setValue(value.real()); }
};

// A length field (metres).
class LengthText : public RealText {
 public:
  using RealText::RealText;

 protected:
  std::unique_ptr<ControlSetting> cellSetting(int32_t, int32_t) const override;
};

// An angle field (radians).
class AngleText : public RealText {
 public:
  using RealText::RealText;

 protected:
  std::unique_ptr<ControlSetting> cellSetting(int32_t, int32_t) const override;
};

// A check box; its value is 0 or 1.
class CheckboxControl : public DialogControl {
 public:
  CheckboxControl(Dialog& dialog, int16_t item) : DialogControl(dialog, item) {}
  bool checked() const { return itemValue() != 0; }
  void setChecked(bool on) { setItemValue(on ? 1 : 0); }

 protected:
  std::unique_ptr<ControlSetting> cellSetting(int32_t, int32_t) const override;
  void storeCell(const ControlSetting& value, int32_t, int32_t) override { setChecked(value.integer() != 0); }
};

// A group of radio buttons; its value is the 0-based position of the selected button in the
// group (-1 none).
class RadioControl : public DialogControl {
 public:
  RadioControl(Dialog& dialog, std::vector<int16_t> buttons);
  std::vector<int16_t> items() const override { return buttons_; }
  int32_t selected() const;
  // Selects the button at a position of the group.
  void select(int32_t position);

 protected:
  std::unique_ptr<ControlSetting> cellSetting(int32_t, int32_t) const override;
  void storeCell(const ControlSetting& value, int32_t, int32_t) override { select(value.integer()); }

 private:
  std::vector<int16_t> buttons_;
};

// A pop-up; entries have a text and a 0-based value. Its cell reads as a MenuSetting of the
// selected entry.
class PopupMenu : public DialogControl {
 public:
  // A pop-up over the item's entries as they are; with count >= 0 the item is grown or
  // shrunk to count entries first (their values their positions).
  PopupMenu(Dialog& dialog, int16_t item, int32_t count = -1);

  // Appends an entry.
  void addEntry(const CadString& text, int32_t value);
  // Inserts an entry before the 0-based position (the end when beyond it).
  void insertEntry(int32_t position, const CadString& text, int32_t value);
  void deleteEntry(int32_t position);
  void deleteAll();
  void enableEntry(int32_t position, bool on);
  int32_t entryCount() const { return int32_t(values_.size()); }
  CadString entryText(int32_t position) const;
  int32_t entryValue(int32_t position) const;
  // The value of the selected entry, -1 when none is.
  int32_t selectedValue() const;
  CadString selectedText() const;
  // Selects the entry of a value; false when there is none.
  bool selectValue(int32_t value);
  // Selects the entry of a text; false when there is none.
  bool selectText(const CadString& text);

 protected:
  std::unique_ptr<ControlSetting> cellSetting(int32_t, int32_t) const override;
  // An IntegerSetting selects the entry of its value; any other the entry of its text.
  void storeCell(const ControlSetting& value, int32_t, int32_t) override;

 private:
  std::vector<int32_t> values_;  // by position
};

// The host's layer chooser; its value is a layer index.
class LayerMenu : public DialogControl {
 public:
  // Sets the item up as a layer control showing layer.
  LayerMenu(Dialog& dialog, int16_t item, int32_t layer = 1);
  int32_t value() const;
  void setValue(int32_t layer) { setItemValue(layer); }

 protected:
  LayerMenu(Dialog& dialog, int16_t item, int32_t kind, int32_t value);
  std::unique_ptr<ControlSetting> cellSetting(int32_t, int32_t) const override;
  void storeCell(const ControlSetting& value, int32_t, int32_t) override { setValue(value.integer()); }
};

// The host's pen chooser; its value is a pen index.
class PenMenu : public LayerMenu {
 public:
  PenMenu(Dialog& dialog, int16_t item, int32_t pen = 1);
};

}  // namespace lunvik
