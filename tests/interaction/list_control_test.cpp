// The in-place editing cycle of a list: edit controls laid on the selected row, their values
// written back when the selection moves on.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "interaction/controls.h"
#include "interaction/dialog.h"
#include "interaction/list_control.h"
#include "support/dialog_script.h"
#include "support/loaded_host.h"

namespace {

using namespace testing_support;

constexpr int32_t kListDialog = 40002;

const char* const kListLayout =
    "title \"List\"\n"
    "item 1 button \"OK\"\n"
    "item 2 button \"Cancel\"\n"
    "item 3 text \"\" hidden\n"
    "item 4 length \"\" hidden\n"
    "item 5 list \"Rows\" tabs 100 60\n"
    "item 6 button \"Delete\"\n";

// Three rows (name, length); the name and length fields edit them in place.
class ListDialog : public lunvik::Dialog {
 public:
  ListDialog() : Dialog(kListDialog, true) {}
  void setupControls() override {
    list = add(new lunvik::ListControl(*this, 5));
    list->setColumns({{100, 0, "Name"}, {60, 2, "Length"}});
    name = add(new lunvik::EditText(*this, 3));
    length = add(new lunvik::LengthText(*this, 4));
    list->attachEditor(0, name);
    list->attachEditor(1, length);
    const char* names[] = {"Post", "Beam", "Brace"};
    for (int i = 0; i < 3; ++i) {
      int32_t row = list->appendRow();
      list->setValue(row, 0, lunvik::StringSetting(names[i]));
      list->setValue(row, 1, lunvik::LengthSetting(1.0 + i));
    }
    attach(add(new lunvik::Button(*this, 6)), new lunvik::ActionCall([this](lunvik::ActionEvent& e) {
             list->deleteRow(list->selectedRow());
             e.reply(0);
             return true;
           }));
    // Seen after each change of selection.
    attach(list, new lunvik::ItemCall([this](lunvik::ItemEvent&) {
             if (onSelect) onSelect();
             return true;
           }));
  }
  void accept() override {
    list->commitEdit();
    for (int32_t r = 0; r < list->rows(); ++r)
      rows.push_back(list->value(r, 0)->text().str() + "=" + list->value(r, 1)->text().str());
  }

  lunvik::ListControl* list = nullptr;
  lunvik::EditText* name = nullptr;
  lunvik::LengthText* length = nullptr;
  std::function<void()> onSelect;
  std::vector<std::string> rows;
};

class ListControlTest : public LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    host().dialogs().setLayout(kListDialog, kListLayout);
  }
  standin::DialogManager& dialogs() { return host().dialogs(); }
};

TEST_F(ListControlTest, SelectingARowLaysTheEditorsOnItWithItsValues) {
  ListDialog dialog;
  std::vector<std::string> seen;
  dialog.onSelect = [&] {
    standin::OpenDialog* open = dialogs().dialog(dialog.dialId());
    const standin::DialogItem* list = open->item(5);
    seen.push_back(dialog.name->text().str() + "/" + std::to_string(dialog.length->value()) + " on row " +
                   std::to_string(list->fieldRow) + " items " + std::to_string(list->fieldItems.at(1)) +
                   "," + std::to_string(list->fieldItems.at(2)) + " editing " +
                   std::to_string(dialog.list->editingRow()));
  };
  dialogs().queueDialog(kListDialog, {selectRow(5, 2), pressOk()});
  ASSERT_EQ(dialog.run(), 1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "Beam/2.000000 on row 2 items 3,4 editing 1");
}

TEST_F(ListControlTest, MovingTheSelectionWritesTheEditedValuesIntoTheRowLeft) {
  ListDialog dialog;
  dialogs().queueDialog(kListDialog, {editCell(5, 1, 1, "King Post"), editCell(5, 1, 2, "2.5"), selectRow(5, 3),
                                      pressOk()});
  ASSERT_EQ(dialog.run(), 1);
  EXPECT_EQ(dialog.rows, (std::vector<std::string>{"King Post=2.5", "Beam=2", "Brace=3"}));
  // The cell shows the value too.
  const standin::DialogRecord* record = dialogs().lastRecord(kListDialog);
  EXPECT_EQ(record->item(5)->rows[0], (std::vector<std::string>{"King Post", "2.5"}));
}

TEST_F(ListControlTest, AnEditStillOpenAtOkIsKept) {
  ListDialog dialog;
  dialogs().queueDialog(kListDialog, {editCell(5, 3, 1, "Strut"), pressOk()});
  ASSERT_EQ(dialog.run(), 1);
  EXPECT_EQ(dialog.rows.back(), "Strut=3");
}

TEST_F(ListControlTest, DeletingTheEditedRowDropsItsEditWithoutTouchingTheNextRow) {
  ListDialog dialog;
  dialogs().queueDialog(kListDialog, {editCell(5, 1, 1, "Gone"), clickItem(6), selectRow(5, 1), pressOk()});
  ASSERT_EQ(dialog.run(), 1);
  EXPECT_EQ(dialog.rows, (std::vector<std::string>{"Beam=2", "Brace=3"}));
}

TEST_F(ListControlTest, EditorsAreHiddenAtOpeningAndWhenNothingIsSelected) {
  ListDialog dialog;
  std::vector<bool> visible;
  dialog.onSelect = [&] { visible.push_back(dialog.name->visible()); };
  dialogs().queueDialog(kListDialog, {selectRow(5, 1), selectRows(5, {"none"}), pressOk()});
  ASSERT_EQ(dialog.run(), 1);
  EXPECT_EQ(visible, (std::vector<bool>{true, false}));
  EXPECT_EQ(dialog.list->editingRow(), -1);
  // Nothing was edited: the values are as filled.
  EXPECT_EQ(dialog.rows, (std::vector<std::string>{"Post=1", "Beam=2", "Brace=3"}));
}

TEST_F(ListControlTest, AFieldNotLaidOnTheRowCannotBeEdited) {
  ListDialog dialog;
  standin::DialogAction edit = setItem(3, "x");
  edit.line = 4;
  dialogs().queueDialog(kListDialog, {edit});
  EXPECT_EQ(dialog.run(), 2);
  EXPECT_EQ(dialogs().scriptError(), "line 4: item 3 (text) is hidden");
}

}  // namespace
