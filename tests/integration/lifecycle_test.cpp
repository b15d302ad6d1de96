// The add-on's lifecycle driven by the stand-in host in the host's order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/core/fault_table.h"
#include "host/core/host.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "support/loaded_host.h"

namespace {

using platform::fourcc;
using testing_support::linkedAddon;
using testing_support::LoadedHost;

TEST(LifecycleTest, HostDrivesTheEntryPointsInOrder) {
  standin::Host host;
  std::string error;
  ASSERT_TRUE(host.load(linkedAddon(), error)) << error;

  EXPECT_EQ(host.entryRecord().signature, 0x000E0001u);
  EXPECT_EQ(host.entryRecord().version, 14000u);
  EXPECT_STREQ(host.environmentRecord().name, "Trestlar");
  EXPECT_GT(std::strlen(host.environmentRecord().description), 0u);

  // Registration comes before any handler, handlers before nothing else is asked.
  const auto& log = host.callLog();
  auto at = [&](const char* op) { return std::find(log.begin(), log.end(), op) - log.begin(); };
  EXPECT_LT(at("HostRegisterBuiltInLibrary"), at("HostRegisterSubtypeTool"));
  EXPECT_LT(at("HostRegisterSubtypeTool"), at("HostRegisterCommand"));
  EXPECT_LT(at("HostRegisterCommand"), at("HostRegisterMenu"));
  EXPECT_LT(at("HostRegisterMenu"), at("HostKeepInMemory"));
  EXPECT_LT(at("HostKeepInMemory"), at("HostCatchProjectEvents"));
  EXPECT_LT(at("HostCatchProjectEvents"), at("HostInstallModuleDataMergeHandler"));
  EXPECT_LT(at("HostInstallModuleDataMergeHandler"), at("HostInstallCommandHandler"));
  EXPECT_LT(at("HostInstallCommandHandler"), at("HostInstallMenuHandler"));

  ASSERT_EQ(host.tools().size(), 1u);
  const standin::RegisteredTool& tool = host.tools()[0];
  EXPECT_EQ(tool.signature, fourcc("Vrnh"));
  EXPECT_EQ(std::vector<int32_t>({tool.templateResource, tool.transparent, tool.stringList, tool.icon, tool.icon2,
                                  tool.toolboxGroup, tool.enableFlags, tool.defaultsResource}),
            std::vector<int32_t>({131, 1, 32540, 32602, 32603, 0, 127, 131}));
  EXPECT_TRUE(host.builtInLibraryRegistered());
  ASSERT_EQ(host.commands().size(), 1u);
  EXPECT_EQ(host.commands()[0], std::make_pair(fourcc("GSUP"), int32_t(1)));
  EXPECT_EQ(host.projectEventMask(), 0xFFF);
  EXPECT_EQ(host.projectHandlerInstalls(), 1);
  EXPECT_EQ(host.mergeHandlerInstalls(), 1);
  EXPECT_TRUE(host.keptInMemory());

  ASSERT_NE(lunvik::theAddon(), nullptr);
  host.unload();
  EXPECT_EQ(lunvik::theAddon(), nullptr);
  EXPECT_EQ(host.memory().liveHandles(), 0u);
}

TEST(LifecycleTest, MenusRegisterInTheProductOrderWithTheirListsAndFlags) {
  standin::Host host;
  std::string error;
  ASSERT_TRUE(host.load(linkedAddon(), error)) << error;
  struct Expected {
    int16_t menu, prompt;
    int32_t position, flags;
  };
  const Expected expected[] = {{32500, 32510, 0, 0}, {32501, 32511, 0, 0}, {32502, 32512, 0, 0},
                               {32503, 32513, 0, 0}, {32504, 32514, 0, 0}, {32505, 32515, 0, 1},
                               {32507, 32517, 4, 0}, {32506, 32516, 0, 1}};
  ASSERT_EQ(host.menus().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const auto& m = host.menus()[i];
    EXPECT_EQ(m.menuList, expected[i].menu) << i;
    EXPECT_EQ(m.promptList, expected[i].prompt) << i;
    EXPECT_EQ(m.position, expected[i].position) << i;
    EXPECT_EQ(m.flags, expected[i].flags) << i;
    EXPECT_TRUE(host.hasMenuHandler(m.menuList)) << i;
  }
}

TEST(LifecycleTest, EntryPointsBeforeTheTableAnswerNoTable) {
  lunvik::Environment::instance().detachHost();
  platform::ExportedFuncRecord record{};
  ASSERT_EQ(GetExportedFuncAddrs(&record), platform::kNoError);
  platform::EnvironmentRecord env{};
  env.application = 1;
  EXPECT_EQ(record.checkEnvironment(&env), 0);
  EXPECT_EQ(record.registerInterface(), platform::kErrNoTable);
  EXPECT_EQ(record.initialise(7), platform::kErrNoTable);
  EXPECT_EQ(record.release(), platform::kErrNoTable);
  EXPECT_EQ(lunvik::theAddon(), nullptr);
}

TEST(LifecycleTest, EnvironmentCheckWithoutApplicationAnswersOneAndKeepsNoObject) {
  standin::Host host;
  platform::HostFunctionTable table = host.table();
  ASSERT_EQ(SetImportedFuncAddrs(&table), platform::kNoError);
  platform::ExportedFuncRecord record{};
  GetExportedFuncAddrs(&record);
  platform::EnvironmentRecord env{};
  EXPECT_EQ(record.checkEnvironment(&env), platform::kEnvNoHost);
  EXPECT_EQ(lunvik::theAddon(), nullptr);
  // Initialising without a registered object does nothing and answers 0.
  EXPECT_EQ(record.initialise(3), platform::kNoError);
  EXPECT_EQ(host.callCount("HostKeepInMemory"), 0);
  EXPECT_EQ(host.projectHandlerInstalls(), 0);
}

TEST(LifecycleTest, MissingSubtypeToolOperationFailsRegistrationWithItsCode) {
  standin::Host host;
  platform::HostFunctionTable table = host.table();
  table.HostRegisterSubtypeTool = nullptr;
  host.setTable(table);
  std::string error;
  EXPECT_FALSE(host.load(linkedAddon(), error));
  EXPECT_NE(error.find(std::to_string(platform::kErrMissingOperation)), std::string::npos) << error;
  EXPECT_TRUE(host.menus().empty());
}

TEST(LifecycleTest, EveryFailingHostCallDuringLoadIsSurvived) {
  // Load once to count the calls that answer a result code, then fail each in turn.
  int total = 0;
  {
    standin::Host host;
    standin::FaultPlan plan;
    host.setTable(standin::faultyTable(host.table(), plan));
    std::string error;
    ASSERT_TRUE(host.load(linkedAddon(), error)) << error;
    total = plan.calls;
  }
  ASSERT_GT(total, 10);
  for (int k = 1; k <= total; ++k) {
    standin::Host host;
    standin::FaultPlan plan;
    plan.failAt = k;
    host.setTable(standin::faultyTable(host.table(), plan));
    std::string error;
    bool loaded = host.load(linkedAddon(), error);
    EXPECT_TRUE(plan.fired) << k;
    if (!loaded) {
      EXPECT_FALSE(error.empty()) << k;
    }
    host.unload();
    EXPECT_EQ(lunvik::theAddon(), nullptr) << k;
  }
}

class AddonTest : public LoadedHost {};

// Listens for a product command and records what it hears.
class CommandListener : public lunvik::Subscriber {
 public:
  explicit CommandListener(uint32_t kind) : kind_(kind) {}
  lunvik::EventSpec spec() const override { return lunvik::EventSpec(lunvik::kProductCategory, kind_); }
  bool takeEvent(lunvik::Event& event) override {
    ++heard;
    if (auto* t = dynamic_cast<lunvik::ToggleEvent*>(&event)) values.push_back(t->on());
    else if (auto* l = dynamic_cast<lunvik::LongEvent*>(&event)) values.push_back(l->value());
    else values.push_back(-1);
    if (throws) throw std::runtime_error("tool failed");
    return true;
  }
  int heard = 0;
  std::vector<int32_t> values;
  bool throws = false;

 private:
  uint32_t kind_;
};

TEST_F(AddonTest, MenuChoicesBecomeProductCommands) {
  struct Case {
    int16_t menu;
    int32_t item;
    uint32_t kind;
    int32_t value;  // -1 plain event, else the toggle flag or the long value
  } cases[] = {
      {32500, 2, fourcc("UPPF"), -1}, {32500, 6, fourcc("SWAP"), -1}, {32501, 9, fourcc("SMAS"), -1}, {32502, 5, fourcc("ZOJN"), -1},
      {32503, 11, fourcc("UCTL"), -1},
  };
  // The Preferences, Schedule and Alignment items are taken by their own commands; what they
  // do shows that they ran (tests/integration/prefs_dialogs_test.cpp, tests/numbering/, and
  // tests/alignment/ for "Align Selection...", "Align Again" and the presets 1 to 10).
  for (const Case& c : cases) {
    CommandListener listener(c.kind);
    lunvik::theAddon()->subscribe(&listener);
    EXPECT_EQ(host().chooseMenuItem(c.menu, c.item), platform::kNoError);
    lunvik::theAddon()->unsubscribe(&listener);
    EXPECT_EQ(listener.values, std::vector<int32_t>{c.value}) << c.menu << " " << c.item;
  }
}

TEST_F(AddonTest, SeparatorsPublishNothing) {
  CommandListener any(fourcc("NEPF"));
  lunvik::theAddon()->subscribe(&any);
  host().chooseMenuItem(32500, 4);
  host().chooseMenuItem(32500, 99);
  lunvik::theAddon()->unsubscribe(&any);
  EXPECT_EQ(any.heard, 0);
}

TEST_F(AddonTest, AnExceptionInAToolEndsInTheInternalErrorAlert) {
  CommandListener failing(fourcc("SPTL"));
  failing.throws = true;
  lunvik::theAddon()->subscribe(&failing);
  EXPECT_EQ(host().chooseMenuItem(32503, 2), platform::kNoError);
  lunvik::theAddon()->unsubscribe(&failing);
  ASSERT_EQ(host().alerts().size(), 1u);
  const standin::AlertRecord& alert = host().alerts()[0];
  EXPECT_EQ(alert.kind, platform::kAlertError);
  EXPECT_EQ(alert.title, "Error");
  EXPECT_EQ(alert.text.rfind("An internal error has ocurred in the Framing addon.", 0), 0u) << alert.text;
  EXPECT_EQ(alert.buttons, std::vector<std::string>{"OK"});
  // The host goes on: the next choice is delivered.
  CommandListener next(fourcc("SPTL"));
  lunvik::theAddon()->subscribe(&next);
  host().chooseMenuItem(32503, 2);
  lunvik::theAddon()->unsubscribe(&next);
  EXPECT_EQ(next.heard, 1);
}

TEST_F(AddonTest, UndoStepsDoNotNestAndAreForgottenByTheNextEvent) {
  lunvik::Addon& addon = *lunvik::theAddon();
  uint32_t first = addon.openUndoStep("Rotate");
  EXPECT_NE(first, 0u);
  EXPECT_EQ(addon.openUndoStep("Split"), 0u);
  EXPECT_EQ(addon.closeUndoStep(0), 0u);
  EXPECT_EQ(host().openUndoSteps(), 1);
  EXPECT_EQ(addon.closeUndoStep(first), first);
  EXPECT_EQ(host().openUndoSteps(), 0);
  ASSERT_EQ(host().undoSteps().size(), 1u);
  EXPECT_EQ(host().undoSteps()[0].name, "Rotate");

  uint32_t left = addon.openUndoStep("Split");
  EXPECT_NE(left, 0u);
  host().chooseMenuItem(32500, 4);  // any host callback readies the add-on
  EXPECT_EQ(addon.openUndoId(), 0u);
  EXPECT_NE(addon.openUndoStep("Bend"), 0u);
}

TEST_F(AddonTest, SetMenuItemEnabledWritesOnlyAChange) {
  lunvik::Addon& addon = *lunvik::theAddon();
  host().clearRecords();
  addon.setMenuItemEnabled(32504, 2, true);
  EXPECT_EQ(host().callCount("HostInterface"), 1);  // read only
  addon.setMenuItemEnabled(32504, 2, false);
  EXPECT_EQ(host().callCount("HostInterface"), 3);
  standin::MenuItem item;
  ASSERT_TRUE(host().findMenuItem("Framing/Schedule/Enumerate Timbers", item));
  EXPECT_EQ(item.flags & platform::kMenuItemDisabled, platform::kMenuItemDisabled);
  addon.setMenuItemText(32507, 4, "Preset 1 - Left^E3");
  ASSERT_TRUE(host().findMenuItem("Alignment/Preset 1 - Left", item));
  EXPECT_EQ(item.itemIndex, 4);
}

TEST_F(AddonTest, SupervisorCommandHandsOutTheProjectContext) {
  platform::CommandResultRecord result{};
  EXPECT_EQ(host().callCommand(fourcc("GSUP"), 1, nullptr, result), platform::kNoError);
  EXPECT_EQ(result.context, &lunvik::theAddon()->context());
}

TEST_F(AddonTest, QuitNotificationRenewsTheContext) {
  lunvik::Addon& addon = *lunvik::theAddon();
  lunvik::Project* before = addon.project();
  host().notifyProject(platform::kProjectClose);
  EXPECT_EQ(addon.project(), before);
  host().notifyProject(platform::kProjectQuit);
  EXPECT_NE(addon.project(), nullptr);
  EXPECT_EQ(addon.context().addons, std::vector<lunvik::Addon*>{&addon});
}

}  // namespace

TEST_F(AddonTest, AboutShowsTheAboutBox) {
  EXPECT_EQ(host().chooseMenuItem(32506, 1), platform::kNoError);
  EXPECT_NE(host().dialogs().lastRecord(32513), nullptr);
}
