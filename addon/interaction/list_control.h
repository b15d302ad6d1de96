// Multi-column lists with in-place editing: an edit control of the same dialog per column,
// laid on the selected row's tab field.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "interaction/dialog_control.h"

namespace lunvik {

// A list column: its width in pixels, its justification and its title.
struct ListColumnStyle {
  int16_t width = 50;
  int32_t justification = 0;  // 0 left, 1 centre, 2 right
  CadString title;
};

// A column's edit control and the value stored for each row.
struct FieldProxy {
  DialogControl* editor = nullptr;  // owned by the dialog
  std::vector<std::unique_ptr<ControlSetting>> values;  // by row; null where none is stored
};

// A multi-column list; rows and columns are 0-based. One row is edited at a time: when the
// selection changes, the edit controls' values go into the row that was edited and the
// controls take the values of the newly selected row.
class ListControl : public DialogControl {
 public:
  ListControl(Dialog& dialog, int16_t item);

  // Sets the columns (DG's tab fields).
  void setColumns(const std::vector<ListColumnStyle>& columns);
  const std::vector<ListColumnStyle>& columnStyles() const { return columns_; }
  // The rows this list made; the host's own count is checked against it when the rows are
  // read (readRows), so that a failed count never shortens what the list stands for.
  int32_t rows() const override { return madeRows_; }
  // The host's row count (-1 without a host).
  int32_t hostRows() const;
  int32_t columns() const override { return int32_t(columns_.size()); }

  // Appends an empty row and answers its index.
  int32_t appendRow();
  // Inserts an empty row before row (the end when beyond it).
  void insertRow(int32_t row);
  // Deletes a row; the row being edited is dropped without writing it back.
  bool deleteRow(int32_t row);
  // Deletes every row; nothing is being edited afterwards.
  void clearRows();

  CadString cellText(int32_t row, int32_t column) const override;
  bool setCellText(const CadString& text, int32_t row, int32_t column) override;

  // The selected row, -1 when none is.
  int32_t selectedRow() const;
  // Selects a row (-1: none) and runs the editing cycle as a user's selection does.
  void selectRow(int32_t row);
  // The row being edited, -1 when none is.
  int32_t editingRow() const { return editRow_; }

  // Attaches an edit control of the same dialog to a column (null detaches).
  void attachEditor(int32_t column, DialogControl* editor);
  DialogControl* editor(int32_t column) const;
  // Stores a value for a cell and shows it as the cell's text.
  void setValue(int32_t row, int32_t column, const ControlSetting& value);
  // The value stored for a cell, else its text as a StringSetting; null outside the grid.
  std::unique_ptr<ControlSetting> value(int32_t row, int32_t column) const;
  // Writes the edit controls' values into the row being edited (before the rows are read).
  void commitEdit();
  // Every row's values by column, the edit controls' values written back first. False, with
  // out unchanged, when the host's row count is not the rows this list made or a cell cannot
  // be read: a caller must not take a short or empty list for the rows.
  bool readRows(std::vector<std::vector<std::unique_ptr<ControlSetting>>>& out);

  // On initialise the edit controls are hidden; a change of selection runs the editing cycle;
  // then the event is published.
  bool handleEvent(InterfaceEvent& event) override;

 protected:
  std::unique_ptr<ControlSetting> cellSetting(int32_t row, int32_t column) const override;
  void storeCell(const ControlSetting& value, int32_t row, int32_t column) override { setValue(row, column, value); }

 private:
  void selectionChanged(int32_t row);
  void hideEditors();

  std::vector<ListColumnStyle> columns_;
  std::vector<FieldProxy> proxies_;  // by column
  int32_t editRow_ = -1;
  int32_t madeRows_ = 0;  // rows inserted less rows deleted, as the host confirmed them
};

}  // namespace lunvik
