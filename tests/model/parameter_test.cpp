// Parameters: value conversions from host records, shapes and index rules, assignment, and
// the lists' name lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/parameter_list.h"
#include "runtime/memory.h"
#include "support/loaded_host.h"

namespace {

using lunvik::Parameter;
using platform::HostParameterRecord;

HostParameterRecord scalar(int32_t type, const char* name, double value) {
  HostParameterRecord r{};
  r.typeID = type;
  std::strncpy(r.name, name, 31);
  r.value.real = value;
  return r;
}

TEST(ParameterTest, HostNumbersConvertToTheValueType) {
  struct Case {
    int32_t type;
    double host;
    const char* text;
  } cases[] = {
      {platform::kParamInteger, 2.9, "2"},  {platform::kParamInteger, -2.9, "-2"}, {platform::kParamBoolean, -1, "1"},
      {platform::kParamBoolean, 0, "0"},    {platform::kParamPen, 7.6, "7"},      {platform::kParamLength, 2.5, "2.5"},
      {platform::kParamLightSwitch, 0.5, "1"},
  };
  for (const Case& c : cases) {
    auto p = Parameter::fromHostRecord(scalar(c.type, "p", c.host));
    ASSERT_NE(p, nullptr) << c.type;
    EXPECT_EQ(p->typeCode(), c.type);
    EXPECT_EQ(p->getText().str(), c.text) << "type " << c.type << " value " << c.host;
  }
}

TEST(ParameterTest, BooleanTextIsFalseOnlyForZero) {
  lunvik::BooleanParameter b("flag", "", true);
  b.setText("0");
  EXPECT_FALSE(b.get());
  b.setText("no");
  EXPECT_TRUE(b.get());
}

TEST(ParameterTest, ScalarShapeAndIndexRule) {
  lunvik::LengthParameter length("length", "", 3.2);
  EXPECT_EQ(length.rows(), 1);
  EXPECT_EQ(length.columns(), 1);
  EXPECT_DOUBLE_EQ(length.get(0, 0), 3.2);
  EXPECT_THROW(length.get(1, 0), std::out_of_range);
  EXPECT_THROW(length.set(1.0, 1, 0), std::out_of_range);
  EXPECT_THROW(length.get(0, 1), std::out_of_range);
}

TEST(ParameterTest, SetBeyondAnArrayGrowsIt) {
  lunvik::RealParameter array("offsets", "", 1.0, 0, 1, true);
  array.addRows(1);
  ASSERT_EQ(array.rows(), 2);
  array.set(5.0, 3, 0);
  EXPECT_EQ(array.rows(), 4);
  EXPECT_DOUBLE_EQ(array.get(2, 0), 0.0);
  EXPECT_DOUBLE_EQ(array.get(3, 0), 5.0);
  EXPECT_THROW(array.set(1.0, 0, 1), std::out_of_range);
}

TEST(ParameterTest, GetBeyondAnArrayGrowsIt) {
  lunvik::RealParameter array("offsets", "", 1.5, 0, 2, true);
  array.addRows(1);
  ASSERT_EQ(array.rows(), 2);
  EXPECT_DOUBLE_EQ(array.get(3, 1), 0.0);
  EXPECT_EQ(array.rows(), 4);
  EXPECT_DOUBLE_EQ(array.get(0, 0), 1.5);
  // Read through a constant parameter, a missing row is the default value and nothing grows.
  const lunvik::RealParameter& fixed = array;
  EXPECT_DOUBLE_EQ(fixed.get(9, 0), 0.0);
  EXPECT_EQ(fixed.rows(), 4);
  lunvik::StringParameter names("joints", "", "tenon", 0, 1, true);
  EXPECT_EQ(names.get(2, 0).str(), "");
  EXPECT_EQ(names.rows(), 3);
  // A column past the last, a negative row and a row past a scalar stay out of range.
  EXPECT_THROW(array.get(0, 2), std::out_of_range);
  EXPECT_THROW(array.get(-1, 0), std::out_of_range);
  EXPECT_THROW(fixed.get(0, 2), std::out_of_range);
  lunvik::LengthParameter scalar("length", "", 3.0);
  const lunvik::LengthParameter& constScalar = scalar;
  EXPECT_THROW(constScalar.get(1, 0), std::out_of_range);
  EXPECT_EQ(scalar.rows(), 1);
}

TEST(ParameterTest, AssignNeedsTheSameTypeColumnsAndForm) {
  lunvik::LengthParameter target("a", "", 1.0);
  lunvik::AngleParameter angle("a", "", 2.0);
  lunvik::LengthParameter array("a", "", 3.0, 0, 2, true);
  lunvik::LengthParameter same("a", "", 4.0);
  EXPECT_FALSE(target.assign(angle));
  EXPECT_FALSE(target.assign(array));
  EXPECT_DOUBLE_EQ(target.get(), 1.0);
  EXPECT_TRUE(target.assign(same));
  EXPECT_DOUBLE_EQ(target.get(), 4.0);
}

TEST(ParameterTest, ShortRecordsMakeTextIntegerOrReal) {
  platform::ShortParameterRecord r{};
  char name[] = "count";
  r.name = name;
  r.valueKind = platform::kValueInteger;
  r.integerValue = 70000;
  auto p = Parameter::fromShortRecord(r);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->getText().str(), "70000");
  r.valueKind = 9;
  EXPECT_EQ(Parameter::fromShortRecord(r), nullptr);
}

class ParameterListTest : public testing_support::LoadedHost {};

TEST_F(ParameterListTest, LookupIgnoresLetterCaseAndTakesTheFirst) {
  lunvik::ParameterList list;
  list.add(new lunvik::LengthParameter("profWide", "", 0.1));
  list.add(new lunvik::LengthParameter("PROFwide", "", 0.2));
  list.add(new lunvik::StringParameter("name", "", "Rafter"));
  EXPECT_EQ(list.indexOf("PROFWIDE"), 0);
  EXPECT_EQ(list.indexOf("Name"), 2);
  EXPECT_EQ(list.indexOf("missing"), -1);
  EXPECT_EQ(list.parameter("missing"), nullptr);
  list.removeAt(0);
  auto* p = dynamic_cast<lunvik::LengthParameter*>(list.parameter("profwide"));
  ASSERT_NE(p, nullptr);
  EXPECT_DOUBLE_EQ(p->get(), 0.2);
  list.insert(new lunvik::RealParameter("first"), 0);
  EXPECT_EQ(list.indexOf("NAME"), 2);

  // Enough names that the index's probes collide and its table grows.
  lunvik::ParameterList many;
  for (int i = 0; i < 300; ++i) many.add(new lunvik::RealParameter("par" + std::to_string(i)));
  for (int i = 0; i < 300; ++i) EXPECT_EQ(many.indexOf("PAR" + std::to_string(i)), i);
  EXPECT_EQ(many.indexOf("par300"), -1);
  EXPECT_EQ(many.indexOf("pa"), -1);
}

// Every name the list holds is found at its first position, as a walk of the list finds it.
void expectLookupsMatchAWalk(const lunvik::ParameterList& list, const std::vector<std::string>& absent,
                             const std::string& step) {
  for (int32_t i = 0; i < list.count(); ++i) {
    const std::string name = list.parameter(i)->name().str();
    int32_t first = i;
    for (int32_t k = 0; k < i; ++k)
      if (list.parameter(k)->name().lower() == list.parameter(i)->name().lower()) first = std::min(first, k);
    EXPECT_EQ(list.indexOf(lunvik::CadString(name).lower()), first) << step << ": " << name;
  }
  for (const std::string& name : absent) EXPECT_EQ(list.indexOf(name), -1) << step << ": " << name;
}

TEST_F(ParameterListTest, ARenamedParameterIsFoundByItsNewName) {
  lunvik::ParameterList list;
  for (const char* name : {"length", "profWide", "profDeep", "lunvik_ID"}) list.add(new lunvik::RealParameter(name));
  ASSERT_EQ(list.indexOf("lunvik_id"), 3);  // the index is built
  list.parameter("lunvik_ID")->setName("ID");
  EXPECT_EQ(list.indexOf("ID"), 3);
  EXPECT_EQ(list.indexOf("lunvik_ID"), -1);
  // Renamed to a name an earlier parameter has, the earlier one keeps answering.
  list.parameter(2)->setName("LENGTH");
  EXPECT_EQ(list.indexOf("length"), 0);
  EXPECT_EQ(list.indexOf("profDeep"), -1);
  // A copy of a parameter belongs to no list: renaming it changes nothing there.
  std::unique_ptr<lunvik::Parameter> copy = list.parameter(1)->clone();
  copy->setName("elsewhere");
  EXPECT_EQ(list.indexOf("profWide"), 1);
  EXPECT_EQ(list.indexOf("elsewhere"), -1);
}

TEST_F(ParameterListTest, EditsThroughTheVectorKeepLookupsRight) {
  lunvik::ParameterList list;
  for (const char* name : {"a", "b", "c"}) list.add(new lunvik::RealParameter(name));
  struct Edit {
    const char* what;
    void (*apply)(lunvik::ParameterVector&);
    std::vector<std::string> absent;
  } edits[] = {
      {"push_back", [](lunvik::ParameterVector& v) { v.push_back(new lunvik::RealParameter("d")); }, {"e"}},
      {"insert at the front", [](lunvik::ParameterVector& v) { v.insert(0, new lunvik::RealParameter("e")); }, {"f"}},
      {"erase", [](lunvik::ParameterVector& v) { v.erase(1); }, {"a"}},
      {"release", [](lunvik::ParameterVector& v) { delete v.release(0); }, {"e", "a"}},
      {"rename in place", [](lunvik::ParameterVector& v) { v[0].setName("renamed"); }, {"b", "e", "a"}},
      {"assign over", [](lunvik::ParameterVector& v) { v[1] = lunvik::RealParameter("assigned"); }, {"c", "b"}},
      {"clear and refill",
       [](lunvik::ParameterVector& v) {
         v.clear();
         v.push_back(std::make_unique<lunvik::RealParameter>("only"));
       },
       {"renamed", "assigned", "d"}},
  };
  for (const Edit& edit : edits) {
    ASSERT_GE(list.indexOf("zzz"), -1);  // the index is current before the edit
    edit.apply(list.vector());
    expectLookupsMatchAWalk(list, edit.absent, edit.what);
  }
  // A parameter released from the list is free to be renamed.
  list.add(new lunvik::RealParameter("kept"));
  std::unique_ptr<lunvik::Parameter> freed(list.vector().release(0));
  ASSERT_NE(freed, nullptr);
  freed->setName("kept");
  EXPECT_EQ(list.indexOf("kept"), 0);
  EXPECT_EQ(list.indexOf("only"), -1);
}

TEST_F(ParameterListTest, AnArrayWhoseSizeWrapsIsRefused) {
  // 1073807362 x 2147352580 values: 8 bytes each is 2^64 + 64, which a size wraps to 64.
  HostParameterRecord r{};
  r.typeID = platform::kParamReal;
  r.shape = platform::kShapeArray;
  r.dim1 = 1073807362;
  r.dim2 = 2147352580;
  std::strcpy(r.name, "huge");
  double eight[8] = {};
  lunvik::HandleOwner values(lunvik::newHandle(eight, sizeof eight));
  r.value.array = values.get();
  lunvik::HandleOwner h(lunvik::newHandle(&r, sizeof r));
  lunvik::ParameterList list;
  EXPECT_FALSE(list.fromHostRecords(h.get()));
  EXPECT_EQ(list.count(), 0);
}

TEST_F(ParameterListTest, AnUnknownHostTypeEmptiesTheList) {
  HostParameterRecord records[3] = {scalar(platform::kParamLength, "a", 1), scalar(99, "b", 2),
                                    scalar(platform::kParamReal, "c", 3)};
  lunvik::HandleOwner h(lunvik::newHandle(records, sizeof records));
  lunvik::ParameterList list;
  list.add(new lunvik::RealParameter("old"));
  EXPECT_FALSE(list.fromHostRecords(h.get()));
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.indexOf("a"), -1);
  EXPECT_TRUE(list.fromHostRecords(nullptr));
}

TEST_F(ParameterListTest, ArraysRoundTripThroughHostRecords) {
  lunvik::ParameterList list;
  auto* joints = new lunvik::StringParameter("joints", "", "tenon", 0, 1, true);
  joints->set("peg", 2, 0);
  list.add(joints);
  auto* sizes = new lunvik::LengthParameter("sizes", "", 0.1, 1, 2, true);
  sizes->set(0.4, 1, 1);
  list.add(sizes);
  platform::GSHandle h = list.toHostRecords();
  ASSERT_NE(h, nullptr);
  lunvik::ParameterList back;
  EXPECT_TRUE(back.fromHostRecords(h));
  lunvik::ParameterList::disposeHostRecords(h);
  auto* j = dynamic_cast<lunvik::StringParameter*>(back.parameter("JOINTS"));
  auto* s = dynamic_cast<lunvik::LengthParameter*>(back.parameter("sizes"));
  ASSERT_TRUE(j && s);
  EXPECT_EQ(j->rows(), 3);
  EXPECT_EQ(j->get(0, 0).str(), "tenon");
  EXPECT_EQ(j->get(1, 0).str(), "");
  EXPECT_EQ(j->get(2, 0).str(), "peg");
  EXPECT_EQ(s->rows(), 2);
  EXPECT_EQ(s->columns(), 2);
  EXPECT_DOUBLE_EQ(s->get(1, 1), 0.4);
}

TEST_F(ParameterListTest, ATruncatedArrayHandleIsRefused) {
  HostParameterRecord r{};
  r.typeID = platform::kParamReal;
  r.shape = platform::kShapeArray;
  r.dim1 = 4;
  r.dim2 = 1;
  std::strcpy(r.name, "values");
  double two[2] = {1, 2};
  lunvik::HandleOwner values(lunvik::newHandle(two, sizeof two));
  r.value.array = values.get();
  lunvik::HandleOwner h(lunvik::newHandle(&r, sizeof r));
  lunvik::ParameterList list;
  EXPECT_FALSE(list.fromHostRecords(h.get()));
  EXPECT_EQ(list.count(), 0);
}

TEST_F(ParameterListTest, MergeKeepsValuesWhoseParameterStillExists) {
  lunvik::ParameterList fresh;
  fresh.add(new lunvik::LengthParameter("length", "", 1.0));
  fresh.add(new lunvik::LengthParameter("onlyNew", "", 9.0));
  lunvik::ParameterList old;
  old.add(new lunvik::LengthParameter("LENGTH", "", 3.2));
  old.add(new lunvik::AngleParameter("onlyNew", "", 0.5));
  fresh.merge(old);
  EXPECT_DOUBLE_EQ(dynamic_cast<lunvik::LengthParameter*>(fresh.parameter("length"))->get(), 3.2);
  EXPECT_DOUBLE_EQ(dynamic_cast<lunvik::LengthParameter*>(fresh.parameter("onlyNew"))->get(), 9.0);
}

}  // namespace
