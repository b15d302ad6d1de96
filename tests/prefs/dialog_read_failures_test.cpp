// The preference dialogs under a host whose row count or item text fails once: OK either
// stores the rows and fields as a sound host gives them, or changes no package and says so
// with an error alert.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/addon.h"
#include "runtime/host_interface.h"
#include "support/dialog_script.h"
#include "support/loaded_host.h"

namespace {

using namespace testing_support;

constexpr int32_t kJointDialog = 32515;
constexpr int32_t kReportsDialog = 32516;
constexpr int32_t kCostingDialog = 32527;

// The row count's k-th call answers 0, as DG does for a list it cannot find.
platform::HostFunctionTable gSound{};
int gCalls = 0;
int gFailAt = 0;
bool gFired = false;

int32_t rowCountFailingOnce(int16_t dialId, int16_t item) {
  if (++gCalls == gFailAt) {
    gFired = true;
    return 0;
  }
  return gSound.DGListGetRowCount(dialId, item);
}

// The item text's k-th call answers -1, as DG does for an item it cannot find.
int32_t itemTextFailingOnce(int16_t dialId, int16_t item, char* buffer, int32_t size) {
  if (++gCalls == gFailAt) {
    gFired = true;
    return -1;
  }
  return gSound.DGGetItemText(dialId, item, buffer, size);
}

struct DialogCase {
  const char* name;
  bool itemText;  // the item text fails, else the row count
  const char* menu;
  int32_t dialog;
  Actions actions;
  int32_t nestedDialog;  // 0: none
  Actions nested;
};

const std::vector<DialogCase>& dialogCases() {
  static const std::vector<DialogCase> cases = {
      {"project", true, "Project...", 32514, {setItem(4, "P-42"), setItem(6, "JB"), pressOk()}, 0, {}},
      {"reports_fields", true, "Reports...", kReportsDialog, {setItem(13, "T-"), setItem(15, "/A"), pressOk()}, 0, {}},
      {"joints", false, "Joints...", kJointDialog,
       {editCell(12, 1, 1, "Mortice"), clickItem(13), editCell(12, 2, 4, "0.2"), pressOk()}, 0, {}},
      {"reports", false, "Reports...", kReportsDialog, {editCell(8, 2, 1, "Oak"), clickItem(23), pressOk()}, 0, {}},
      {"costing", false, "Reports...", kReportsDialog, {selectRow(8, 2), clickItem(24), pressOk()}, kCostingDialog,
       {clickItem(9), editCell(8, 1, 1, "2.4"), editCell(8, 1, 2, "150"), pressOk()}},
  };
  return cases;
}

class DialogReadFailuresTest : public LoadedHost, public ::testing::WithParamInterface<DialogCase> {
 protected:
  void SetUp() override { fresh(); }
  // A new host with the add-on loaded and a new project open.
  void fresh() {
    if (host_) LoadedHost::TearDown();
    LoadedHost::SetUp();
    host().newProject();
    host().clearRecords();
    gSound = lunvik::host().table();
    failing_ = gSound;
    if (GetParam().itemText) failing_.DGGetItemText = &itemTextFailingOnce;
    else failing_.DGListGetRowCount = &rowCountFailingOnce;
  }
  // The project's packages as the add-on stores them.
  std::string packages() {
    lunvik::theAddon()->saveToProject();
    return host().moduleData();
  }
  // Runs the case; answers the error alerts it raised.
  std::vector<std::string> run(const DialogCase& c) {
    host().clearRecords();
    host().dialogs().queueDialog(c.dialog, c.actions);
    if (c.nestedDialog) host().dialogs().queueDialog(c.nestedDialog, c.nested);
    standin::MenuItem menu;
    EXPECT_TRUE(host().findMenuItem("Framing/Preferences/" + std::string(c.menu), menu));
    host().chooseMenuItem(menu.menuList, menu.itemIndex);
    std::vector<std::string> errors;
    for (const auto& alert : host().alerts())
      if (alert.kind == platform::kAlertError) errors.push_back(alert.text);
    return errors;
  }

  platform::HostFunctionTable failing_{};
};

TEST_P(DialogReadFailuresTest, AFailedReadStoresTheDialogWholeOrChangesNothing) {
  const DialogCase& c = GetParam();
  const std::string before = packages();

  // Without a failure: the edited rows are stored, and how often the count is asked.
  gCalls = 0;
  gFailAt = 0;
  lunvik::host().setTable(failing_);
  ASSERT_TRUE(run(c).empty());
  lunvik::host().setTable(gSound);
  const std::string edited = packages();
  ASSERT_NE(edited, before);
  const int calls = gCalls;
  ASSERT_GT(calls, 0);

  int refused = 0;
  for (int k = 1; k <= calls; ++k) {
    fresh();
    ASSERT_EQ(packages(), before);
    gCalls = 0;
    gFailAt = k;
    gFired = false;
    lunvik::host().setTable(failing_);
    std::vector<std::string> errors = run(c);
    lunvik::host().setTable(gSound);
    ASSERT_TRUE(gFired) << "call " << k;
    const std::string after = packages();
    if (errors.empty()) {
      EXPECT_EQ(after, edited) << "call " << k << " changed the rows without a word";
    } else {
      ++refused;
      EXPECT_EQ(errors, std::vector<std::string>{c.itemText
                                                     ? "The dialog's fields could not be read, so nothing was changed"
                                                     : "The dialog's list could not be read, so nothing was changed"})
          << "call " << k;
      // The costing dialog's own OK is what fails; its type then keeps its costs.
      EXPECT_EQ(after, before) << "call " << k;
    }
  }
  EXPECT_GT(refused, 0);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogReadFailuresTest, ::testing::ValuesIn(dialogCases()),
                         [](const ::testing::TestParamInfo<DialogCase>& info) { return std::string(info.param.name); });

}  // namespace
