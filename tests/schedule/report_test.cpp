// Reports written through the host's save path by the add-on inside the stand-in host: the
// exact files of a small frame (schedule and cutting list, headings on and off, metric and
// imperial), the reporting dialog, the confirmations and the failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "prefs/joint_prefs.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "timber/timber_fixture.h"

namespace {

using standin::DialogAction;

class ReportTest : public testing_support::TimberHost {
 protected:
  void SetUp() override {
    TimberHost::SetUp();
    lunvik::ObjectStore& store = project().store();
    auto* prefs = dynamic_cast<varnholt::ProjectPrefs*>(store.get(varnholt::ProjectPrefs::kCode));
    auto* joints = dynamic_cast<varnholt::JointPrefs*>(store.get(varnholt::JointPrefs::kCode));
    auto* timbers = dynamic_cast<varnholt::TimberPrefs*>(store.get(varnholt::TimberPrefs::kCode));
    ASSERT_TRUE(prefs && joints && timbers);
    prefs->numPrefix = "T";
    prefs->numPadding = 3;
    prefs->labourCost = 25;
    prefs->lengthInc = 0.25;
    prefs->sectionInc = 0.025;
    joints->joints().clear();
    joints->add("Tenon", "", 0.05, 1.5);
    timbers->specifications().clear();
    timbers->add("Green Oak", 400);
    prefs_ = prefs;
    out_ = appData() + "/report.txt";
  }

  // A rectangular member with its joints (types "None" unless given).
  standin::HostElement* member(const char* name, double number, const char* season, double length, double width,
                               double depth, testing_support::MemberValues more = {}, double y = 0) {
    testing_support::MemberValues values{{"timberName", name},   {"TimberNo", number}, {"seasonType", season},
                                         {"length", length},     {"profWide", width},  {"profDeep", depth},
                                         {"IncInSched", 1.0},    {"JuncTypeSt", "None"}, {"JuncTypeEn", "None"},
                                         {"IntJuncType1", "None"}, {"IntJuncType2", "None"},
                                         {"IntJuncType3", "None"}};
    for (auto& v : more) {
      bool replaced = false;
      for (auto& w : values)
        if (w.first == v.first) w.second = v.second, replaced = true;
      if (!replaced) values.push_back(v);
    }
    standin::HostElement* e = placeMember("Rectilinear", values, "RECT", true, 0, y);
    if (e) std::snprintf(e->record.part.id, sizeof e->record.part.id, "M-%d", ++placed_);
    return e;
  }

  // The small frame: a tie beam with a locked tenon at each end (cost 36), two identical
  // braces of different descriptions, an unnumbered purlin of an unknown specification, and a
  // peg left out of schedules.
  void smallFrame() {
    ASSERT_TRUE(member("Tie beam", 7, "Green Oak", 2.9, 0.2, 0.15,
                       {{"JuncTypeSt", "Tenon"}, {"StLock", 1.0}, {"JuncTypeEn", "Tenon"}, {"EnLock", 1.0}}));
    ASSERT_TRUE(member("Brace left", 3, "Green Oak", 1.0, 0.1, 0.1, {}, 1));
    ASSERT_TRUE(member("Brace", 3, "Green Oak", 0.98, 0.1, 0.1, {}, 2));
    ASSERT_TRUE(member("Purlin", 0, "Douglas Fir", 4.0, 0.1, 0.15,
                       {{"JuncTypeSt", "Lap"}, {"TimeAllocSt", 0.75}}, 3));
    ASSERT_TRUE(placeMember("Peg", {{"IncInSched", 0.0}, {"length", 0.3}}, "TPEG", true, 0, 4));
  }

  // Saves the report as the host's save dialog does, answering the reporting dialog.
  bool save(bool cutlist, bool headings, std::string* error = nullptr) {
    host().dialogs().queueDialog(32512, {click(cutlist ? 5 : 4), set(6, headings ? "on" : "off")});
    std::string message;
    bool ok = host().saveAs(out_, "Timber Schedule", message);
    if (error) *error = message;
    return ok;
  }

  static DialogAction click(int16_t item) {
    DialogAction a;
    a.kind = DialogAction::Kind::Click;
    a.item = item;
    return a;
  }
  static DialogAction set(int16_t item, const std::string& value) {
    DialogAction a;
    a.kind = DialogAction::Kind::Set;
    a.item = item;
    a.args = {value};
    return a;
  }

  static std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  varnholt::ProjectPrefs* prefs_ = nullptr;
  int placed_ = 0;
  std::string out_;
};

TEST_F(ReportTest, ExactReportsOfASmallFrame) {
  smallFrame();
  struct Case {
    const char* expected;
    bool cutlist, headings, imperial;
  } cases[] = {
      {"schedule_headings.txt", false, true, false},  {"schedule_bare.txt", false, false, false},
      {"cutlist_headings.txt", true, true, false},    {"cutlist_bare.txt", true, false, false},
      {"schedule_imperial.txt", false, true, true},   {"cutlist_imperial.txt", true, true, true},
  };
  for (const Case& c : cases) {
    host().setWorkingUnits(c.imperial ? standin::WorkingUnits::Imperial : standin::WorkingUnits::Metric);
    std::string error;
    ASSERT_TRUE(save(c.cutlist, c.headings, &error)) << c.expected << ": " << error;
    EXPECT_EQ(readFile(out_), readFile(std::string(TRESTLAR_FIXTURES) + "/schedule/" + c.expected)) << c.expected;
    // The dialog's OK keeps the choices in the project preferences.
    EXPECT_EQ(prefs_->headingState, c.headings);
    EXPECT_EQ(prefs_->reportType == varnholt::ProjectPrefs::Report::cutlist, c.cutlist);
  }
}

TEST_F(ReportTest, EveryMetricUnitSchedulesInCubicMetresAndEveryImperialOneInCubicFeet) {
  // 3.0 x 0.2 x 0.15 at 400 a cubic metre: 0.09 cubic metres, cost 36.
  ASSERT_TRUE(member("Beam", 1, "Green Oak", 3.0, 0.2, 0.15));
  using standin::WorkingUnits;
  struct Case {
    WorkingUnits units;
    const char* row;
  } cases[] = {
      {WorkingUnits::Metres, "0.09\t0.09\tM-1\tT001\tGreen Oak\t36\t0\t36\r\n"},
      {WorkingUnits::Centimetres, "0.09\t0.09\tM-1\tT001\tGreen Oak\t36\t0\t36\r\n"},
      {WorkingUnits::Millimetres, "0.09\t0.09\tM-1\tT001\tGreen Oak\t36\t0\t36\r\n"},
      {WorkingUnits::FeetAndFractionalInches, "3.17832\t3.17832\tM-1\tT001\tGreen Oak\t1271.33\t0\t1271.33\r\n"},
      {WorkingUnits::FeetAndDecimalInches, "3.17832\t3.17832\tM-1\tT001\tGreen Oak\t1271.33\t0\t1271.33\r\n"},
      {WorkingUnits::DecimalFeet, "3.17832\t3.17832\tM-1\tT001\tGreen Oak\t1271.33\t0\t1271.33\r\n"},
      {WorkingUnits::FractionalInches, "3.17832\t3.17832\tM-1\tT001\tGreen Oak\t1271.33\t0\t1271.33\r\n"},
      {WorkingUnits::DecimalInches, "3.17832\t3.17832\tM-1\tT001\tGreen Oak\t1271.33\t0\t1271.33\r\n"},
  };
  for (const Case& c : cases) {
    host().setWorkingUnits(c.units);
    ASSERT_TRUE(save(false, false)) << int(c.units);
    // Sizes stay metres whatever the units.
    EXPECT_EQ(readFile(out_), std::string("Beam\t0.200000\t0.150000\t3.000000\t") + c.row) << int(c.units);
  }
}

TEST_F(ReportTest, RowsHaveTheirFieldCountsAndCrLf) {
  smallFrame();
  for (bool cutlist : {false, true}) {
    ASSERT_TRUE(save(cutlist, true));
    std::string text = readFile(out_);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    std::size_t lines = 0, start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2, ++lines) {
      std::string line = text.substr(start, end - start);
      EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), cutlist ? 8 : 11) << line;
      EXPECT_EQ(line.find('\n'), std::string::npos);
    }
    EXPECT_EQ(lines, cutlist ? 4u : 5u);  // the heading and the rows; the peg is not scheduled
  }
}

TEST_F(ReportTest, TabsAndLineBreaksInTheProjectsTextsKeepTheLayout) {
  prefs_->numPrefix = "T\t";
  dynamic_cast<varnholt::TimberPrefs*>(project().store().get(varnholt::TimberPrefs::kCode))->add("Green\nOak", 400);
  standin::HostElement* e = member("Brace\tleft\r\nside", 3, "Green\nOak", 1.0, 0.1, 0.1);
  ASSERT_TRUE(e);
  std::snprintf(e->record.part.id, sizeof e->record.part.id, "ID\t7");
  model().touch(*e);
  for (bool cutlist : {false, true}) {
    ASSERT_TRUE(save(cutlist, false));
    std::string expected =
        cutlist ? "Brace left  side\tGreen Oak\tT 003\t0.100000\t0.100000\t1.000000\t1\t0.01\t0\r\n"
                : "Brace left  side\t0.100000\t0.100000\t1.000000\t0.01\t0.01\tID 7\tT 003\tGreen Oak\t4\t0\t4\r\n";
    EXPECT_EQ(readFile(out_), expected);
  }
}

TEST_F(ReportTest, UnnumberedTimberIsConfirmed) {
  smallFrame();
  host().queueAlertAnswer(2);  // Cancel
  std::string error;
  EXPECT_FALSE(save(false, true, &error));
  EXPECT_NE(error.find("cancelled"), std::string::npos) << error;
  EXPECT_FALSE(std::ifstream(out_).good());
  ASSERT_FALSE(host().alerts().empty());
  EXPECT_EQ(host().alerts().back().text,
            "Some of the timber in this schedule has not been numbered - do you wish to save it anyway?");

  host().clearRecords();
  ASSERT_TRUE(save(false, true));  // answered OK
  EXPECT_EQ(host().alerts().size(), 1u);
  ASSERT_FALSE(host().dialogs().progressWindows().empty());
  EXPECT_EQ(host().dialogs().progressWindows().back().title, "Scheduling Progress");
  EXPECT_EQ(host().dialogs().progressWindows().back().maximum, 4);
}

TEST_F(ReportTest, EmptyProjectWritesTheHeadingLine) {
  ASSERT_TRUE(save(false, true));
  EXPECT_EQ(readFile(out_),
            "Description\tWidth\tDepth\tLength\tActual Vol\tCubic Vol\tCons ID\tNumber\tType\tCost\tHours\t"
            "Cost Inc Labour\r\n");
  ASSERT_TRUE(save(true, false));
  EXPECT_EQ(readFile(out_), "");
}

TEST_F(ReportTest, CancelOrAnUnwritablePathWritesNothing) {
  smallFrame();
  host().dialogs().queueDialog(32512, {[] {
                                 DialogAction a;
                                 a.kind = DialogAction::Kind::Cancel;
                                 return a;
                               }()});
  std::string error;
  EXPECT_FALSE(host().saveAs(out_, "Timber Schedule", error));
  EXPECT_FALSE(std::ifstream(out_).good());

  out_ = appData() + "/no such folder/report.txt";
  EXPECT_FALSE(save(false, true, &error));
  EXPECT_NE(error.find("could not be written"), std::string::npos) << error;
}

TEST_F(ReportTest, MissingParametersAndMissingBodies) {
  // A member without sizes, number or joints and one without a 3D body: rows of zeros, no
  // crash.
  standin::HostElement* bare = member("Bare", 2, "Green Oak", 1.0, 0.1, 0.1);
  ASSERT_TRUE(bare);
  for (const char* name : {"profWide", "profDeep", "TimberNo", "JuncTypeSt", "TimeAllocSt", "seasonType"})
    dropParameter(*bare, name);
  standin::HostElement* bodiless = member("No body", 5, "Green Oak", 2.0, 0.1, 0.1, {}, 1);
  ASSERT_TRUE(bodiless);
  host().bodies().place(bodiless->record.header.typeID, bodiless->record.header.index, standin::BodySource{});
  ASSERT_TRUE(save(false, false));
  std::string text = readFile(out_);
  EXPECT_NE(text.find("Bare\t"), std::string::npos) << text;
  EXPECT_NE(text.find("No body\t"), std::string::npos) << text;
}

TEST_F(ReportTest, UseSelectionIsOfferedOnlyForASelectedScheduledMember) {
  standin::HostElement* beam = member("Beam", 1, "Green Oak", 2.0, 0.1, 0.1);
  standin::HostElement* peg = placeMember("Peg", {{"IncInSched", 0.0}}, "TPEG", true, 0, 4);
  standin::HostElement* plain = placeMember("Rectilinear", {{"IncInSched", 1.0}}, "", true, 0, 6);  // no kind code
  ASSERT_TRUE(beam && peg && plain);
  struct Case {
    const char* what;
    std::vector<standin::HostElement*> selected;
    bool offered;
  } cases[] = {
      {"nothing selected", {}, false},
      {"a member left out of schedules", {peg}, false},
      {"an object that is no timber", {plain}, false},
      {"a scheduled member", {beam}, true},
      {"a scheduled member among others", {peg, beam}, true},
  };
  for (const Case& c : cases) {
    host().model().deselectAll();
    for (standin::HostElement* e : c.selected) host().model().select(e->record.header.guid, true);
    host().clearRecords();
    ASSERT_TRUE(save(false, false)) << c.what;
    const standin::DialogRecord* dialog = nullptr;
    for (const standin::DialogRecord& d : host().dialogs().records())
      if (d.resourceId == 32512) dialog = &d;
    ASSERT_NE(dialog, nullptr) << c.what;
    ASSERT_NE(dialog->item(7), nullptr);
    EXPECT_EQ(dialog->item(7)->enabled, c.offered) << c.what;
  }
  // Checking it while it is disabled is refused; nothing is written.
  host().model().deselectAll();
  host().model().select(peg->record.header.guid, true);
  std::remove(out_.c_str());
  host().dialogs().queueDialog(32512, {set(7, "on")});
  std::string error;
  EXPECT_FALSE(host().saveAs(out_, "Timber Schedule", error));
  EXPECT_FALSE(std::ifstream(out_).good());
}

TEST_F(ReportTest, RegisteredFileType) {
  ASSERT_EQ(host().fileTypes().size(), 1u);
  const platform::FileTypeRecord& type = host().fileTypes()[0];
  EXPECT_EQ(type.refCon, 1);
  EXPECT_EQ(type.fileType, platform::fourcc("CWIE"));
  EXPECT_EQ(type.creator, platform::fourcc("TEXT"));
  EXPECT_STREQ(type.extension, "txt");
  EXPECT_STREQ(type.description, "Timber Schedule");
  EXPECT_EQ(type.methods, platform::kFileTypeExport);
}

}  // namespace
