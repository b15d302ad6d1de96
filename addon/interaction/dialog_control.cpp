#include "interaction/dialog_control.h"

#include <algorithm>
#include <vector>

#include "interaction/dg_calls.h"
#include "interaction/dialog.h"

namespace lunvik {

using platform::HostFunctionTable;

int16_t ControlLink::dialId() const { return dialog_ ? dialog_->dialId() : 0; }

DialogControl::DialogControl(Dialog& dialog, int16_t item, int32_t rows, int32_t columns)
    : link_(item, &dialog), rows_(rows), columns_(columns) {}

bool DialogControl::ownsItem(int16_t id) const {
  std::vector<int16_t> mine = items();
  return std::find(mine.begin(), mine.end(), id) != mine.end();
}

platform::DGRect DialogControl::rect() const {
  platform::DGRect r;
  dgCall(&HostFunctionTable::DGGetItemRect, false, dialId(), item(), &r);
  return r;
}

bool DialogControl::enabled() const { return dgCall(&HostFunctionTable::DGIsItemEnabled, false, dialId(), item()); }
bool DialogControl::visible() const { return dgCall(&HostFunctionTable::DGIsItemVisible, false, dialId(), item()); }
void DialogControl::show(bool on) { dgDo(&HostFunctionTable::DGShowItem, dialId(), item(), on); }
void DialogControl::enable(bool on) { dgDo(&HostFunctionTable::DGEnableItem, dialId(), item(), on); }
void DialogControl::setFocus() { dgDo(&HostFunctionTable::DGSetFocus, dialId(), item()); }
void DialogControl::setFont(int32_t font) { dgDo(&HostFunctionTable::DGSetItemFont, dialId(), item(), font); }
void DialogControl::redraw() { dgDo(&HostFunctionTable::DGRedrawItem, dialId(), item()); }

void DialogControl::moveAndGrow(int16_t dx, int16_t dy, int16_t dw, int16_t dh) {
  platform::DGRect r = rect();
  r.left = int16_t(r.left + dx);
  r.right = int16_t(r.right + dx + dw);
  r.top = int16_t(r.top + dy);
  r.bottom = int16_t(r.bottom + dy + dh);
  dgDo(&HostFunctionTable::DGSetItemRect, dialId(), item(), static_cast<const platform::DGRect*>(&r));
}

bool DialogControl::hasCell(int32_t row, int32_t column) const {
  return row >= 0 && column >= 0 && row < rows() && column < columns();
}

std::unique_ptr<ControlSetting> DialogControl::setting(int32_t row, int32_t column) const {
  if (!hasCell(row, column)) return nullptr;
  return cellSetting(row, column);
}

bool DialogControl::setCell(const ControlSetting& value, int32_t row, int32_t column) {
  if (!hasCell(row, column)) return false;
  storeCell(value, row, column);
  return true;
}

CadString DialogControl::cellText(int32_t row, int32_t column) const {
  auto s = setting(row, column);
  return s ? s->text() : CadString();
}

bool DialogControl::setCellText(const CadString& text, int32_t row, int32_t column) {
  return setCell(StringSetting(text), row, column);
}

CadString DialogControl::itemText() const {
  CadString text;
  readItemText(text);
  return text;
}

bool DialogControl::readItemText(CadString& text) const {
  const int32_t length = dgCall(&HostFunctionTable::DGGetItemText, int32_t(-1), dialId(), item(),
                                static_cast<char*>(nullptr), int32_t(0));
  if (length < 0) return false;
  std::vector<char> buffer(std::size_t(length) + 1, '\0');
  // The text may have changed between the calls: what the second one answers is what counts.
  if (dgCall(&HostFunctionTable::DGGetItemText, int32_t(-1), dialId(), item(), buffer.data(),
             int32_t(buffer.size())) < 0)
    return false;
  text = CadString(buffer.data());
  return true;
}

void DialogControl::setItemText(const CadString& text) {
  dgDo(&HostFunctionTable::DGSetItemText, dialId(), item(), text.c_str());
}

double DialogControl::itemValue() const { return dgCall(&HostFunctionTable::DGGetItemValue, 0.0, dialId(), item()); }
void DialogControl::setItemValue(double value) { dgDo(&HostFunctionTable::DGSetItemValue, dialId(), item(), value); }

std::unique_ptr<ControlSetting> DialogControl::cellSetting(int32_t, int32_t) const {
  return std::make_unique<StringSetting>(itemText());
}

void DialogControl::storeCell(const ControlSetting& value, int32_t, int32_t) { setItemText(value.text()); }

}  // namespace lunvik
