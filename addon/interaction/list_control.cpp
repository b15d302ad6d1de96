#include "interaction/list_control.h"

#include <vector>

#include "interaction/dg_calls.h"

namespace lunvik {

using platform::HostFunctionTable;

ListControl::ListControl(Dialog& dialog, int16_t item) : DialogControl(dialog, item, 0, 0) {}

void ListControl::setColumns(const std::vector<ListColumnStyle>& columns) {
  columns_ = columns;
  proxies_.resize(columns.size());
  std::vector<int16_t> widths;
  for (const ListColumnStyle& c : columns) widths.push_back(c.width);
  dgCall(&HostFunctionTable::DGListSetTabs, false, dialId(), item(), int32_t(widths.size()),
         static_cast<const int16_t*>(widths.data()));
}

int32_t ListControl::hostRows() const {
  return dgCall(&HostFunctionTable::DGListGetRowCount, int32_t(-1), dialId(), item());
}

int32_t ListControl::appendRow() {
  const int32_t row = madeRows_;
  insertRow(row);
  return madeRows_ > row ? row : -1;
}

void ListControl::insertRow(int32_t row) {
  const int32_t count = madeRows_;
  if (row < 0 || row > count) row = count;
  if (!dgCall(&HostFunctionTable::DGListInsertRow, false, dialId(), item(), row + 1)) return;
  ++madeRows_;
  for (FieldProxy& p : proxies_)
    if (std::size_t(row) < p.values.size()) p.values.insert(p.values.begin() + row, nullptr);
  if (editRow_ >= row) ++editRow_;
}

bool ListControl::deleteRow(int32_t row) {
  if (row < 0 || row >= rows()) return false;
  if (!dgCall(&HostFunctionTable::DGListDeleteRow, false, dialId(), item(), row + 1)) return false;
  --madeRows_;
  for (FieldProxy& p : proxies_)
    if (std::size_t(row) < p.values.size()) p.values.erase(p.values.begin() + row);
  // The edited row is gone: its controls' values must not land on the row that follows.
  if (editRow_ == row) {
    editRow_ = -1;
    hideEditors();
  } else if (editRow_ > row) {
    --editRow_;
  }
  return true;
}

void ListControl::clearRows() {
  if (dgCall(&HostFunctionTable::DGListDeleteRow, false, dialId(), item(), int32_t(0))) madeRows_ = 0;
  for (FieldProxy& p : proxies_) p.values.clear();
  editRow_ = -1;
  hideEditors();
}

CadString ListControl::cellText(int32_t row, int32_t column) const {
  if (!hasCell(row, column)) return CadString();
  char small[512];
  int32_t length = dgCall(&HostFunctionTable::DGListGetCellText, int32_t(0), dialId(), item(), row + 1, column + 1,
                          small, int32_t(sizeof small));
  if (length < int32_t(sizeof small)) return CadString(small);
  std::vector<char> buffer(std::size_t(length) + 1, '\0');
  dgCall(&HostFunctionTable::DGListGetCellText, int32_t(0), dialId(), item(), row + 1, column + 1, buffer.data(),
         int32_t(buffer.size()));
  return CadString(buffer.data());
}

bool ListControl::setCellText(const CadString& text, int32_t row, int32_t column) {
  if (!hasCell(row, column)) return false;
  return dgCall(&HostFunctionTable::DGListSetCellText, false, dialId(), item(), row + 1, column + 1, text.c_str());
}

int32_t ListControl::selectedRow() const {
  return dgCall(&HostFunctionTable::DGListGetSelected, int32_t(0), dialId(), item(), int32_t(0)) - 1;
}

void ListControl::selectRow(int32_t row) {
  if (row >= rows()) row = -1;
  if (row < 0) dgDo(&HostFunctionTable::DGListSelectRow, dialId(), item(), int32_t(0), false);
  else dgDo(&HostFunctionTable::DGListSelectRow, dialId(), item(), row + 1, true);
  selectionChanged(selectedRow());
}

void ListControl::attachEditor(int32_t column, DialogControl* editor) {
  if (column < 0) return;
  if (std::size_t(column) >= proxies_.size()) proxies_.resize(std::size_t(column) + 1);
  proxies_[std::size_t(column)].editor = editor;
}

DialogControl* ListControl::editor(int32_t column) const {
  return column >= 0 && std::size_t(column) < proxies_.size() ? proxies_[std::size_t(column)].editor : nullptr;
}

void ListControl::setValue(int32_t row, int32_t column, const ControlSetting& value) {
  if (!hasCell(row, column)) return;
  FieldProxy& p = proxies_[std::size_t(column)];
  if (p.values.size() <= std::size_t(row)) p.values.resize(std::size_t(row) + 1);
  p.values[std::size_t(row)].reset(value.copy());
  setCellText(value.text(), row, column);
}

std::unique_ptr<ControlSetting> ListControl::value(int32_t row, int32_t column) const {
  if (!hasCell(row, column)) return nullptr;
  const FieldProxy& p = proxies_[std::size_t(column)];
  if (std::size_t(row) < p.values.size() && p.values[std::size_t(row)])
    return std::unique_ptr<ControlSetting>(p.values[std::size_t(row)]->copy());
  return std::make_unique<StringSetting>(cellText(row, column));
}

std::unique_ptr<ControlSetting> ListControl::cellSetting(int32_t row, int32_t column) const {
  return value(row, column);
}

void ListControl::commitEdit() {
  if (editRow_ < 0 || editRow_ >= rows()) return;
  for (std::size_t c = 0; c < proxies_.size(); ++c) {
    if (!proxies_[c].editor) continue;
    auto current = proxies_[c].editor->setting();
    if (current) setValue(editRow_, int32_t(c), *current);
  }
}

bool ListControl::readRows(std::vector<std::vector<std::unique_ptr<ControlSetting>>>& out) {
  commitEdit();
  const int32_t count = madeRows_;
  if (hostRows() != count) return false;
  std::vector<std::vector<std::unique_ptr<ControlSetting>>> read(static_cast<std::size_t>(count));
  for (int32_t row = 0; row < count; ++row) {
    for (int32_t column = 0; column < columns(); ++column) {
      std::unique_ptr<ControlSetting> cell = value(row, column);
      if (!cell) return false;
      read[std::size_t(row)].push_back(std::move(cell));
    }
  }
  out = std::move(read);
  return true;
}

void ListControl::hideEditors() {
  for (FieldProxy& p : proxies_)
    if (p.editor) p.editor->hide();
}

void ListControl::selectionChanged(int32_t row) {
  commitEdit();
  for (std::size_t c = 0; c < proxies_.size(); ++c) {
    FieldProxy& p = proxies_[c];
    if (!p.editor || row < 0) continue;
    if (p.values.size() <= std::size_t(row)) p.values.resize(std::size_t(row) + 1);
    auto stored = value(row, int32_t(c));
    if (stored) p.editor->setCell(*stored);
    dgCall(&HostFunctionTable::DGListSetDialItemOnTabField, false, dialId(), item(), row + 1, int32_t(c + 1),
           p.editor->item());
  }
  // With nothing selected no control may stand in for a row.
  if (row < 0) hideEditors();
  editRow_ = row;
}

bool ListControl::handleEvent(InterfaceEvent& event) {
  if (event.message() == platform::kDGMsgInit) {
    hideEditors();
    editRow_ = -1;
  } else if (event.message() == platform::kDGMsgChange && event.item() == item()) {
    selectionChanged(selectedRow());
  }
  return publish(event);
}

}  // namespace lunvik
