// Schedule arithmetic inside the loaded host: number texts, joint extensions and hours, cost,
// row dimensions, schedule order and cutting-list grouping.
#include <gtest/gtest.h>

#include <cmath>

#include "prefs/joint_prefs.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "schedule/timber_data.h"
#include "schedule/schedule_support.h"
#include "support/loaded_host.h"

namespace varnholt {
namespace {

using schedule_test::parameters;

class ScheduleArithmetic : public testing_support::LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    project.lengthInc = 0.25;
    project.sectionInc = 0.025;
    project.labourCost = 20;
    joints.joints().clear();
    joints.add("Mortice", "", 0.05, 1.5);
    joints.add("Scarf", "", 0.3, 2);
    joints.add("Scarf", "", 0.4, 1);  // a second type of the same name
    timbers.specifications().clear();
    timbers.add("Green Oak", 400);
    timbers.add("Green Oak", 900);  // the first of a name counts
    timbers.add("Douglas Fir", 250);
  }

  ScheduleCosting costing(double factor = 1) const { return ScheduleCosting(&project, &joints, &timbers, factor); }

  // A record of the given rounded dimensions (also its row's unrounded ones).
  static TimberData record(const char* description, int16_t number, double w, double d, double l) {
    TimberData data;
    data.description = description;
    data.number = number;
    data.numberText = std::to_string(number);
    data.sortNumber = sortNumberOf(number);
    data.roundedWidth = data.cacheWidth = w;
    data.roundedDepth = data.cacheDepth = d;
    data.roundedLength = data.extendedLength = l;
    return data;
  }

  ProjectPrefs project;
  JointPrefs joints;
  TimberPrefs timbers;
};

TEST_F(ScheduleArithmetic, NumberTextAndSortNumber) {
  struct Case {
    int16_t number;
    short padding;
    const char* prefix;
    const char* suffix;
    const char* text;
    const char* sort;
  } cases[] = {
      {7, 3, "T", "", "T007", "00007"},       {7, 0, "T", "", "T7", "00007"},
      {32767, 0, "", "", "32767", "32767"},   {12345, 3, "T", "-a", "T12345-a", "12345"},
      {0, 2, "", "", "00", "00000"},          {42, 5, "", "/B", "00042/B", "00042"},
      {-5, 3, "T", "", "T-05", "-0005"},      {-32768, 3, "", "", "-32768", "-32768"},
  };
  for (const Case& c : cases) {
    project.numPadding = c.padding;
    project.numPrefix = c.prefix;
    project.numSuffix = c.suffix;
    EXPECT_EQ(costing().numberText(c.number).str(), c.text) << c.number;
    EXPECT_EQ(sortNumberOf(c.number).str(), c.sort) << c.number;
  }
  project.numPadding = 3;
  project.numPrefix = "T";
  EXPECT_EQ(ScheduleCosting(nullptr, &joints, &timbers, 1).numberText(7).str(), "7");
}

TEST_F(ScheduleArithmetic, TimberNumbersAreSixteenBit) {
  EXPECT_EQ(timberNumberOf(7.0), 7);
  EXPECT_EQ(timberNumberOf(40000.0), 32767);
  EXPECT_EQ(timberNumberOf(-40000.0), -32768);
  EXPECT_EQ(timberNumberOf(std::nan("")), 0);
  EXPECT_EQ(timberNumberOf(HUGE_VAL), 0);
}

TEST_F(ScheduleArithmetic, ExtensionsAtTheEnds) {
  ScheduleCosting with = costing();
  ScheduleCosting without(&project, nullptr, &timbers, 1);
  struct Case {
    std::vector<schedule_test::Param> params;
    bool ok;
    double start;
  } cases[] = {
      // Unlocked: the member's own extra length.
      {{{"StLock", 0, platform::kParamBoolean}, {"extLenSt", 0.12, platform::kParamLength}, {"JuncTypeSt", "Scarf"}},
       true, 0.12},
      // Unlocked without its own extra length fails.
      {{{"StLock", 0, platform::kParamBoolean}, {"JuncTypeSt", "Scarf"}}, false, -1},
      // Locked: the last joint type of the name.
      {{{"StLock", 1, platform::kParamBoolean}, {"extLenSt", 0.12}, {"JuncTypeSt", "Scarf"}}, true, 0.4},
      // Locked to a type the list does not have: 0, not the own length.
      {{{"StLock", 1, platform::kParamBoolean}, {"extLenSt", 0.12}, {"JuncTypeSt", "Dovetail"}}, true, 0},
      // A lock parameter of another kind reads as unlocked.
      {{{"StLock", "yes"}, {"extLenSt", 0.07}, {"JuncTypeSt", "Scarf"}}, true, 0.07},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    double value = -1;
    EXPECT_EQ(with.extension(parameters(cases[i].params), true, value), cases[i].ok) << i;
    EXPECT_NEAR(value, cases[i].start, 1e-12) << i;
  }
  double value = -1;
  EXPECT_TRUE(without.extension(parameters(cases[2].params), true, value));
  EXPECT_EQ(value, 0);
  value = -1;
  EXPECT_TRUE(with.extension(parameters({{"EnLock", 1, platform::kParamBoolean}, {"JuncTypeEn", "Mortice"},
                                         {"StLock", 1, platform::kParamBoolean}, {"JuncTypeSt", "Scarf"}}),
                             false, value));
  EXPECT_NEAR(value, 0.05, 1e-12);
}

TEST_F(ScheduleArithmetic, JointHours) {
  using P = schedule_test::Param;
  auto all = [](std::vector<P> extra) {
    std::vector<P> p{{"JuncTypeSt", "None"}, {"JuncTypeEn", "None"}, {"IntJuncType1", "None"},
                     {"IntJuncType2", "None"}, {"IntJuncType3", "None"}};
    p.insert(p.begin(), extra.begin(), extra.end());  // the first of a name counts
    return p;
  };
  struct Case {
    const char* what;
    std::vector<P> params;
    bool ok;
    double hours;
  } cases[] = {
      {"every joint None", all({{"TimeAllocSt", 5}}), true, 0},
      {"own hours of an unlocked joint", all({{"JuncTypeSt", "Mortice"}, {"TimeAllocSt", 3}}), true, 3},
      {"locked: every type of the name", all({{"JuncTypeEn", "Scarf"}, {"EnLock", 1}, {"TimeAllocEn", 9}}), true, 3},
      {"locked to an unknown type falls back to its own hours",
       all({{"JuncTypeSt", "Dovetail"}, {"StLock", 1}, {"TimeAllocSt", 2.5}}), true, 2.5},
      {"five joints", all({{"JuncTypeSt", "Mortice"}, {"StLock", 1}, {"JuncTypeEn", "Mortice"}, {"TimeAllocEn", 1},
                           {"IntJuncType1", "Scarf"}, {"J1Lock", 1}, {"IntJuncType2", "x"}, {"IntTimeAll2", 0.25},
                           {"IntJuncType3", "Mortice"}, {"J3Lock", 1}}),
       true, 1.5 + 1 + 3 + 0.25 + 1.5},
      {"missing own hours stops with the total so far",
       all({{"JuncTypeSt", "Mortice"}, {"StLock", 1}, {"JuncTypeEn", "Tenon"}, {"IntJuncType1", "Mortice"},
            {"IntTimeAll1", 4}}),
       false, 1.5},
      {"no joint types at all", {}, true, 0},
  };
  for (const Case& c : cases) {
    double total = -1;
    EXPECT_EQ(costing().jointHours(parameters(c.params), total), c.ok) << c.what;
    EXPECT_NEAR(total, c.hours, 1e-12) << c.what;
  }
  double total = -1;
  EXPECT_FALSE(ScheduleCosting(&project, nullptr, &timbers, 1).jointHours(parameters(cases[1].params), total));
  EXPECT_EQ(total, 0);
}

TEST_F(ScheduleArithmetic, CostOfTheRoundedVolume) {
  TimberData data = record("Tie beam", 3, 0.19, 0.151, 2.9);
  data.unitCost = costing().unitCostOf("Green Oak");
  data.hours = 2;
  data.actualVolume = 0.08;
  ASSERT_EQ(data.unitCost, 400);
  ScheduleRow metric = costing().scheduleRow(data);
  EXPECT_NEAR(metric.length, 3.0, 1e-12);
  EXPECT_NEAR(metric.width, 0.2, 1e-12);
  EXPECT_NEAR(metric.depth, 0.15, 1e-12);
  EXPECT_NEAR(metric.cubicVolume, 0.09, 1e-12);
  EXPECT_NEAR(metric.cost, 36, 1e-9);
  EXPECT_NEAR(metric.costIncLabour, 36 + 2 * 20, 1e-9);
  EXPECT_NEAR(metric.actualVolume, 0.08, 1e-12);

  ScheduleRow imperial = costing(kCubicFeetPerCubicMetre).scheduleRow(data);
  EXPECT_NEAR(imperial.cost, 36 * 35.31466672148859, 1e-9);
  EXPECT_NEAR(imperial.cubicVolume, 0.09 * 35.31466672148859, 1e-12);
  EXPECT_NEAR(imperial.actualVolume, 0.08 * 35.31466672148859, 1e-12);
  EXPECT_NEAR(imperial.length, 3.0, 1e-12);  // lengths stay metres

  // No specification of that name, or no timber preferences: the labour part alone.
  data.unitCost = costing().unitCostOf("Larch");
  EXPECT_EQ(costing().scheduleRow(data).cost, 0);
  EXPECT_EQ(ScheduleCosting(&project, &joints, nullptr, 1).unitCostOf("Green Oak"), 0);
  EXPECT_NEAR(costing().scheduleRow(data).costIncLabour, 40, 1e-12);
  // Without project preferences the sizes are not rounded.
  ScheduleRow unrounded = ScheduleCosting(nullptr, &joints, &timbers, 1).scheduleRow(data);
  EXPECT_NEAR(unrounded.width, 0.19, 1e-12);
  EXPECT_NEAR(unrounded.length, 2.9, 1e-12);
}

TEST_F(ScheduleArithmetic, ScheduleOrder) {
  std::vector<TimberData> rows{
      record("Rafter", 2, 0.1, 0.15, 4.0), record("Post", 10, 0.2, 0.2, 3.0), record("", 5, 0.2, 0.2, 3.0),
      record("post", 3, 0.2, 0.2, 3.0),    record("Post", 3, 0.2, 0.2, 2.5), record("Post", 3, 0.15, 0.3, 2.5),
      record("Post", 3, 0.15 + 0.000005, 0.25, 2.5),
  };
  sortSchedule(rows);
  std::vector<std::string> order;
  for (const TimberData& d : rows)
    order.push_back(d.description.str() + "/" + d.sortNumber.str() + "/" + std::to_string(d.roundedDepth).substr(0, 4) +
                    "/" + std::to_string(d.roundedLength).substr(0, 3));
  // An empty description first; letter case ignored; then number, width (within the
  // tolerance), depth and length.
  EXPECT_EQ(order, (std::vector<std::string>{"/00005/0.20/3.0", "Post/00003/0.25/2.5", "Post/00003/0.30/2.5",
                                             "Post/00003/0.20/2.5", "post/00003/0.20/3.0", "Post/00010/0.20/3.0",
                                             "Rafter/00002/0.15/4.0"}));
}

TEST_F(ScheduleArithmetic, CuttingListGroupsAdjacentTimbers) {
  std::vector<TimberData> rows{record("Brace", 4, 0.1, 0.1, 1.0), record("Brace left", 4, 0.1, 0.1, 1.0),
                               record("Peg", 0, 0.025, 0.025, 0.25), record("Brace", 4, 0.1, 0.1, 1.0),
                               record("Brace", 4, 0.1, 0.1, 1.25)};
  for (TimberData& d : rows) d.specification = "Green Oak", d.hours = 0.5;
  rows[1].extendedLength = 0.96;   // rounds up to 1.0
  rows[1].cacheWidth = 0.1049;     // rounds to 0.1
  std::vector<CuttingGroup> groups = costing(2).cuttingList(rows);
  ASSERT_EQ(groups.size(), 4u);
  EXPECT_EQ(groups[0].description.str(), "Brace");  // of the first member
  EXPECT_EQ(groups[0].quantity, 2);
  EXPECT_NEAR(groups[0].hours, 1.0, 1e-12);
  EXPECT_NEAR(groups[0].cubicVolume(), 2 * 0.01 * 2, 1e-12);
  EXPECT_EQ(groups[1].quantity, 1);  // another number
  EXPECT_EQ(groups[2].quantity, 1);  // not adjacent to the first group
  EXPECT_EQ(groups[3].quantity, 1);  // another length
  EXPECT_NEAR(groups[3].length, 1.25, 1e-12);

  rows[1].specification = "Douglas Fir";
  EXPECT_EQ(costing().cuttingList(rows).size(), 5u);
  EXPECT_TRUE(costing().cuttingList({}).empty());
}

TEST_F(ScheduleArithmetic, RecordOfAMember) {
  ScheduleDimensions cache;
  cache.extendedLength = 3.3;
  cache.width = 0.2;
  cache.depth = 0.15;
  cache.roundedLength = 3.5;
  cache.roundedWidth = 0.2;
  cache.roundedDepth = 0.15;
  cache.valid = true;
  MemberFacts facts;
  facts.elementId = "OBJ-001";
  facts.partName = "Rectilinear";
  facts.actualVolume = 0.099;
  project.numPrefix = "T";
  project.numPadding = 3;
  TimberData data = makeTimberData(parameters({{"TimberNo", 7, platform::kParamInteger}, {"seasonType", "Douglas Fir"},
                                               {"timberName", ""}, {"length", 3.2}, {"profWide", 0.2},
                                               {"profDeep", 0.15}, {"roundLen", 9}, {"BoundVol", 0.105},
                                               {"JuncTypeSt", "Mortice"}, {"StLock", 1}}),
                                   cache, facts, costing());
  EXPECT_EQ(data.numberText.str(), "T007");
  EXPECT_EQ(data.sortNumber.str(), "00007");
  EXPECT_EQ(data.number, 7);
  EXPECT_EQ(data.description.str(), "Rectilinear");
  EXPECT_EQ(data.specification.str(), "Douglas Fir");
  EXPECT_EQ(data.elementId.str(), "OBJ-001");
  EXPECT_EQ(data.roundedLength, 3.5);  // the valid cache, not roundLen
  EXPECT_EQ(data.unitCost, 250);
  EXPECT_NEAR(data.hours, 1.5, 1e-12);
  EXPECT_EQ(data.actualVolume, 0.099);
  EXPECT_EQ(data.boundingVolume, 0.105);

  // Missing parameters or parameters of another kind leave their fields 0 or empty.
  cache.valid = false;
  facts.curved = true;
  TimberData bare = makeTimberData(parameters({{"TimberNo", "seven"}, {"length", 4.0}, {"roundLen", 4.25},
                                               {"timberName", "Arch brace"}, {"profDeep", "deep"}}),
                                   cache, facts, costing());
  EXPECT_EQ(bare.number, 0);
  EXPECT_EQ(bare.numberText.str(), "T000");
  EXPECT_EQ(bare.description.str(), "Arch brace");
  EXPECT_TRUE(bare.specification.empty());
  EXPECT_EQ(bare.depth, 2.0);  // a curved member's depth is half its length
  EXPECT_EQ(bare.roundedLength, 4.25);
  EXPECT_EQ(bare.unitCost, 0);
  EXPECT_EQ(bare.hours, 0);
}

TEST_F(ScheduleArithmetic, ValuesThatAreNoNumbersReadAsMissing) {
  const double nan = std::nan("");
  ScheduleDimensions cache;
  MemberFacts facts;
  TimberData data =
      makeTimberData(parameters({{"TimberNo", nan}, {"length", HUGE_VAL}, {"profWide", nan}, {"profDeep", -HUGE_VAL},
                                 {"roundLen", nan}, {"BoundVol", nan}, {"JuncTypeSt", "Lap"}, {"StLock", 0.0},
                                 {"TimeAllocSt", nan}, {"JuncTypeEn", "Lap"}, {"EnLock", nan}, {"TimeAllocEn", 2},
                                 {"extLenSt", nan}}),
                     cache, facts, costing());
  EXPECT_EQ(data.number, 0);
  for (double value : {data.length, data.width, data.depth, data.roundedLength, data.boundingVolume})
    EXPECT_EQ(value, 0);
  // An own-hours value that is no number stops the hours as a missing one does.
  EXPECT_EQ(data.hours, 0);
  double extension = 7;
  EXPECT_FALSE(costing().extension(parameters({{"StLock", nan}, {"extLenSt", nan}}), true, extension));
  EXPECT_EQ(extension, 7);
  ScheduleRow row = costing().scheduleRow(data);
  for (double value : {row.width, row.depth, row.length, row.cubicVolume, row.cost, row.hours, row.costIncLabour})
    EXPECT_TRUE(std::isfinite(value));
}

}  // namespace
}  // namespace varnholt
