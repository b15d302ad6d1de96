#include "interaction/controls.h"

#include <cmath>
#include <vector>

#include "interaction/dg_calls.h"

namespace lunvik {

using platform::HostFunctionTable;

std::unique_ptr<ControlSetting> Button::cellSetting(int32_t, int32_t) const {
  return std::make_unique<IntegerSetting>(0);
}

int32_t IntText::value() const { return int32_t(std::lround(itemValue())); }

std::unique_ptr<ControlSetting> IntText::cellSetting(int32_t, int32_t) const {
  return std::make_unique<IntegerSetting>(value());
}

std::unique_ptr<ControlSetting> RealText::cellSetting(int32_t, int32_t) const {
  return std::make_unique<RealSetting>(value());
}

std::unique_ptr<ControlSetting> LengthText::cellSetting(int32_t, int32_t) const {
  return std::make_unique<LengthSetting>(value());
}

std::unique_ptr<ControlSetting> AngleText::cellSetting(int32_t, int32_t) const {
  return std::make_unique<AngleSetting>(value());
}

std::unique_ptr<ControlSetting> CheckboxControl::cellSetting(int32_t, int32_t) const {
  return std::make_unique<IntegerSetting>(checked() ? 1 : 0);
}

RadioControl::RadioControl(Dialog& dialog, std::vector<int16_t> buttons)
    : DialogControl(dialog, buttons.empty() ? int16_t(-1) : buttons.front()), buttons_(std::move(buttons)) {}

int32_t RadioControl::selected() const {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (dgCall(&HostFunctionTable::DGGetItemValue, 0.0, dialId(), buttons_[i]) != 0) return int32_t(i);
  return -1;
}

void RadioControl::select(int32_t position) {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    dgDo(&HostFunctionTable::DGSetItemValue, dialId(), buttons_[i], int32_t(i) == position ? 1.0 : 0.0);
}

std::unique_ptr<ControlSetting> RadioControl::cellSetting(int32_t, int32_t) const {
  return std::make_unique<IntegerSetting>(selected());
}

PopupMenu::PopupMenu(Dialog& dialog, int16_t item, int32_t count) : DialogControl(dialog, item) {
  int32_t present = dgCall(&HostFunctionTable::DGPopUpGetItemCount, int32_t(0), dialId(), this->item());
  if (count >= 0) {
    for (; present < count; ++present)
      dgCall(&HostFunctionTable::DGPopUpInsertItem, false, dialId(), this->item(), present + 1, "");
    for (; present > count; --present)
      dgCall(&HostFunctionTable::DGPopUpDeleteItem, false, dialId(), this->item(), present);
  }
  for (int32_t i = 0; i < present; ++i) values_.push_back(i);
}

void PopupMenu::addEntry(const CadString& text, int32_t value) { insertEntry(entryCount(), text, value); }

void PopupMenu::insertEntry(int32_t position, const CadString& text, int32_t value) {
  if (position < 0 || position > entryCount()) position = entryCount();
  if (!dgCall(&HostFunctionTable::DGPopUpInsertItem, false, dialId(), item(), position + 1, text.c_str())) return;
  values_.insert(values_.begin() + position, value);
}

void PopupMenu::deleteEntry(int32_t position) {
  if (position < 0 || position >= entryCount()) return;
  if (!dgCall(&HostFunctionTable::DGPopUpDeleteItem, false, dialId(), item(), position + 1)) return;
  values_.erase(values_.begin() + position);
}

void PopupMenu::deleteAll() {
  while (entryCount() > 0) {
    int32_t before = entryCount();
    deleteEntry(before - 1);
    if (entryCount() == before) break;
  }
}

void PopupMenu::enableEntry(int32_t position, bool on) {
  if (position >= 0 && position < entryCount())
    dgDo(&HostFunctionTable::DGPopUpEnableItem, dialId(), item(), position + 1, on);
}

CadString PopupMenu::entryText(int32_t position) const {
  if (position < 0 || position >= entryCount()) return CadString();
  char buffer[1024];
  buffer[0] = '\0';
  dgCall(&HostFunctionTable::DGPopUpGetItemText, int32_t(0), dialId(), item(), position + 1, buffer,
         int32_t(sizeof buffer));
  return CadString(buffer);
}

int32_t PopupMenu::entryValue(int32_t position) const {
  return position >= 0 && position < entryCount() ? values_[std::size_t(position)] : -1;
}

int32_t PopupMenu::selectedValue() const { return entryValue(int32_t(std::lround(itemValue())) - 1); }

CadString PopupMenu::selectedText() const { return entryText(int32_t(std::lround(itemValue())) - 1); }

bool PopupMenu::selectValue(int32_t value) {
  for (std::size_t i = 0; i < values_.size(); ++i) {
    if (values_[i] == value) {
      setItemValue(double(i + 1));
      return true;
    }
  }
  return false;
}

bool PopupMenu::selectText(const CadString& text) {
  for (int32_t i = 0; i < entryCount(); ++i) {
    if (entryText(i) == text) {
      setItemValue(double(i + 1));
      return true;
    }
  }
  return false;
}

std::unique_ptr<ControlSetting> PopupMenu::cellSetting(int32_t, int32_t) const {
  return std::make_unique<MenuSetting>(selectedValue(), selectedText());
}

void PopupMenu::storeCell(const ControlSetting& value, int32_t, int32_t) {
  if (dynamic_cast<const IntegerSetting*>(&value)) selectValue(value.integer());
  else selectText(value.text());
}

LayerMenu::LayerMenu(Dialog& dialog, int16_t item, int32_t layer)
    : LayerMenu(dialog, item, platform::kDGUserControlLayer, layer) {}

LayerMenu::LayerMenu(Dialog& dialog, int16_t item, int32_t kind, int32_t value) : DialogControl(dialog, item) {
  platform::DGUserControlRecord record;
  record.dialId = dialId();
  record.item = item;
  record.kind = kind;
  record.value = value;
  host().call(&HostFunctionTable::HostInterface, platform::fourcc("SUCC"), &record, nullptr, nullptr);
}

int32_t LayerMenu::value() const { return int32_t(std::lround(itemValue())); }

std::unique_ptr<ControlSetting> LayerMenu::cellSetting(int32_t, int32_t) const {
  return std::make_unique<IntegerSetting>(value());
}

PenMenu::PenMenu(Dialog& dialog, int16_t item, int32_t pen)
    : LayerMenu(dialog, item, platform::kDGUserControlPen, pen) {}

}  // namespace lunvik
