// The product add-on inside the stand-in host: its packages in the project, its library
// folder and the generated ProjectData macro.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/project.h"
#include "prefs/joint_prefs.h"
#include "prefs/package_codes.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "runtime/addon.h"
#include "shell/project_data.h"
#include "support/loaded_host.h"

namespace {

using varnholt::JointPrefs;
using varnholt::ProjectPrefs;
using varnholt::TimberPrefs;

template <typename P>
P& package(uint32_t code) {
  auto* p = dynamic_cast<P*>(lunvik::theAddon()->project()->store().get(code));
  if (!p) throw std::runtime_error("package missing");
  return *p;
}

// The top-level element names of a module-data text, in order.
std::vector<std::string> packageTags(const std::string& text) {
  std::vector<std::string> tags;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    if (line.size() > 2 && line[0] == '<' && line[1] != '/' && line.back() == '>')
      tags.push_back(line.substr(1, line.size() - 2));
  return tags;
}

class ProductShellTest : public testing_support::LoadedHost {
 protected:
  std::string projectFile(const char* name) { return appData() + "/" + name + ".trestlar"; }
  std::string macroPath() { return appData() + "/Trestlar/ProjectData.gdl"; }
  // A fresh host with the same application-data folder, the add-on loaded anew.
  void reload() {
    host_.reset();
    host_ = std::make_unique<standin::Host>();
    host_->setApplicationDataFolder(appData());
    std::string error;
    ASSERT_TRUE(host_->load(testing_support::linkedAddon(), error)) << error;
  }
};

TEST_F(ProductShellTest, ANewProjectStoresTheSevenPackagesInCodeOrder) {
  host().newProject();
  std::string error;
  ASSERT_TRUE(host().saveProject(projectFile("new"), error)) << error;
  const std::string& data = host().moduleData();
  EXPECT_EQ(packageTags(data), (std::vector<std::string>{"alignPrefs", "framePrefs", "frameTemplatePrefs",
                                                         "jointPrefs", "profilePrefs", "projectPrefs",
                                                         "timberPrefs"}));
  std::size_t from = data.find("<projectPrefs>");
  std::size_t to = data.find("</projectPrefs>\n");
  ASSERT_NE(to, std::string::npos);
  EXPECT_EQ(data.substr(from, to + 16 - from),
            "<projectPrefs>\n\t<headingState>false</headingState>\n\t<reportType>schedule</reportType>\n"
            "\t<projectNo></projectNo>\n\t<personID></personID>\n\t<labourCost>0</labourCost>\n"
            "\t<lengthInc>0.25</lengthInc>\n\t<sectionInc>0.025</sectionInc>\n\t<loadTimber>true</loadTimber>\n"
            "\t<loadSteel>true</loadSteel>\n\t<numPrefix></numPrefix>\n\t<numSuffix></numSuffix>\n"
            "\t<numPadding>0</numPadding>\n</projectPrefs>\n");
  // A new project's joint and timber lists are the embedded defaults.
  EXPECT_EQ(package<JointPrefs>(varnholt::kJointPrefsCode).joints().size(), 17u);
  EXPECT_EQ(package<TimberPrefs>(varnholt::kTimberPrefsCode).specifications().size(), 4u);
}

TEST_F(ProductShellTest, EveryPackageSurvivesSaveAndOpen) {
  host().newProject();
  auto& project = package<ProjectPrefs>(varnholt::kProjectPrefsCode);
  project.projectNo = "P-17";
  project.labourCost = 36.5;
  project.numPadding = 3;
  package<JointPrefs>(varnholt::kJointPrefsCode).add("Dovetail", "lap", 0.05, 0.5);
  package<TimberPrefs>(varnholt::kTimberPrefsCode).add("Oak", 1234.5);
  std::string error;
  ASSERT_TRUE(host().saveProject(projectFile("round"), error)) << error;
  std::string saved = host().moduleData();

  // A second host opens the file: the add-on reads back exactly what it wrote.
  reload();
  ASSERT_TRUE(host().openProject(projectFile("round"), error)) << error;
  EXPECT_EQ(package<ProjectPrefs>(varnholt::kProjectPrefsCode).projectNo.str(), "P-17");
  EXPECT_EQ(package<JointPrefs>(varnholt::kJointPrefsCode).joints().size(), 18u);
  host().notifyProject(platform::kProjectPreSave);
  EXPECT_EQ(host().moduleData(), saved);
}

TEST_F(ProductShellTest, AProjectWithoutJointsGetsTheDefaultJoints) {
  std::string file = projectFile("nojoints");
  std::ofstream(file) << R"({"format": "trestlar-project", "version": 1, "settings": {"workingUnits": "metric"},
    "moduleData": {"data": "<projectPrefs><projectNo>X</projectNo></projectPrefs>"}})";
  std::string error;
  ASSERT_TRUE(host().openProject(file, error)) << error;
  EXPECT_EQ(package<ProjectPrefs>(varnholt::kProjectPrefsCode).projectNo.str(), "X");
  const auto& joints = package<JointPrefs>(varnholt::kJointPrefsCode).joints();
  ASSERT_EQ(joints.size(), 17u);
  EXPECT_EQ(joints[0].name.str(), "Tenon1.5");
  EXPECT_EQ(joints[16].name.str(), "King Post");
}

TEST_F(ProductShellTest, ModuleDataThatDoesNotReadIsReportedAndTheHostKeepsAFlag) {
  const std::string file = projectFile("unread");
  std::ofstream(file) << R"({"format": "trestlar-project", "version": 1, "settings": {"workingUnits": "metric"},
    "moduleData": {"data": "<projectPrefs><projectNo>X</projectNo><labourCost>inf</labourCost></projectPrefs>"}})";
  std::string error;
  ASSERT_TRUE(host().openProject(file, error)) << error;
  EXPECT_TRUE(host().moduleDataUnread());
  EXPECT_EQ(host().unreadModulePackage(), "projectPrefs");
  ASSERT_FALSE(host().alerts().empty());
  const standin::AlertRecord& alert = host().alerts().back();
  EXPECT_EQ(alert.kind, platform::kAlertWarning);
  EXPECT_NE(alert.text.find("could not be read"), std::string::npos) << alert.text;
  EXPECT_NE(alert.text.find("(projectPrefs)"), std::string::npos) << alert.text;
  // Nothing of the unread text passes as read; the project keeps what it had.
  EXPECT_EQ(package<ProjectPrefs>(varnholt::kProjectPrefsCode).projectNo.str(), "");
  // A save that wrote the file ends the flag; so does opening a project that reads.
  ASSERT_TRUE(host().saveProject(file, error)) << error;
  EXPECT_FALSE(host().moduleDataUnread());
  ASSERT_TRUE(host().openProject(file, error)) << error;
  EXPECT_FALSE(host().moduleDataUnread());
}

TEST_F(ProductShellTest, MergingAProjectAddsOnlyJointsOfNewNames) {
  host().newProject();
  std::string error;
  std::string other = projectFile("other");
  package<JointPrefs>(varnholt::kJointPrefsCode).add("Dovetail", "lap", 0.05, 0.5);
  ASSERT_TRUE(host().saveProject(other, error)) << error;
  // A new project keeps the settings it was made from, so start from a fresh add-on.
  reload();
  host().newProject();
  ASSERT_EQ(package<JointPrefs>(varnholt::kJointPrefsCode).joints().size(), 17u);
  ASSERT_TRUE(host().mergeProject(other, error)) << error;
  const auto& joints = package<JointPrefs>(varnholt::kJointPrefsCode).joints();
  ASSERT_EQ(joints.size(), 18u);
  EXPECT_EQ(joints[17].name.str(), "Dovetail");
  EXPECT_NE(host().moduleData().find("<name>Dovetail</name>"), std::string::npos);
}

TEST_F(ProductShellTest, TheLibraryFolderIsLoadedOnlyWhenLoadTimberIsOn) {
  std::string hostFolder = appData() + "/host";
  std::filesystem::create_directories(hostFolder + "/Add-Ons/Framing");
  host().setHostFolder(platform::kHostFolderApplication, hostFolder);
  auto loaded = [&] {
    for (const std::string& f : host().resolvedLibraryFolders())
      if (f.find("Add-Ons/Framing") != std::string::npos) return true;
    return false;
  };
  host().newProject();
  EXPECT_TRUE(loaded());

  host().newProject();
  host().setLibraryFolders({});
  package<ProjectPrefs>(varnholt::kProjectPrefsCode).loadTimber = false;
  host().chooseMenuItem(32504, 4);
  EXPECT_FALSE(loaded());
  package<ProjectPrefs>(varnholt::kProjectPrefsCode).loadTimber = true;
  host().chooseMenuItem(32504, 4);
  EXPECT_TRUE(loaded());
}

TEST_F(ProductShellTest, AMenuChoiceRegeneratesAMissingMacroFirst) {
  host().newProject();
  ASSERT_TRUE(std::filesystem::exists(macroPath()));
  std::filesystem::remove(macroPath());
  host().touchLibrary();

  // The macro is back before the command is delivered.
  bool seenBeforeCommand = false;
  class Probe : public lunvik::Subscriber {
   public:
    Probe(const std::string& path, bool& seen) : path_(path), seen_(seen) {}
    lunvik::EventSpec spec() const override { return {lunvik::kProductCategory, platform::fourcc("STTL")}; }
    bool takeEvent(lunvik::Event&) override {
      seen_ = std::filesystem::exists(path_);
      return true;
    }

   private:
    std::string path_;
    bool& seen_;
  } probe(macroPath(), seenBeforeCommand);
  lunvik::theAddon()->subscribe(&probe);
  host().chooseMenuItem(32504, 1);
  lunvik::theAddon()->unsubscribe(&probe);
  EXPECT_TRUE(seenBeforeCommand);
  EXPECT_GT(host().planRebuilds(), 0);
}

TEST_F(ProductShellTest, AMacroThatCannotBeWrittenIsReported) {
  host().setApplicationDataFolder("/proc/no-such-folder");
  host().newProject();
  ASSERT_FALSE(host().alerts().empty());
  EXPECT_EQ(host().alerts().back().text,
            "The project preferences could not be updated. All timbers may not work correctly");
}

TEST(ProjectDataMacroTest, WrapsValueListsBeforeEveryFourthJoint) {
  ProjectPrefs project;
  JointPrefs joints;
  for (const char* name : {"A", "B", " \t", "D", "E"}) joints.add(name, "", 0, 0);
  TimberPrefs timbers;
  std::string macro = varnholt::projectDataMacro(project, joints, &timbers).str();
  // The blank name is left out; the joint at index 4 starts a new line.
  EXPECT_NE(macro.find("\tvalues \"JuncTypeSt\" \"\", \"A\", \"B\", \"D\", \n\t\t\"E\"\n"), std::string::npos)
      << macro;
  EXPECT_NE(macro.find("\tVALUES \"SeasonType\" \"Untitled\"\n"), std::string::npos);
  EXPECT_NE(macro.find("if (GLOB_USER_1 = 7) then\n\tGLOB_USER_2 = 0.25\n\tGLOB_USER_3 = 0.025\nendif\n\n"),
            std::string::npos);
}

TEST(ProjectDataMacroTest, NamesAreWrittenAsSafeLiterals) {
  struct Case {
    const char* name;
    const char* literal;
  } cases[] = {{"Tenon", "\"Tenon\""},
               {"8\" tenon", "'8\" tenon'"},
               {"it's 8\"", "\"it's 8\" + '\"'"},
               {"two\nlines\r", "\"two lines \""}};
  for (const Case& c : cases) EXPECT_EQ(varnholt::gdlString(c.name).str(), c.literal) << c.name;
}

// Reads a GDL string expression (literals in single or double quotes joined by "+") from text
// at pos, as GDL reads it; false when text holds anything else there.
bool readGdlString(const std::string& text, std::size_t& pos, std::string& value) {
  value.clear();
  auto skipBlanks = [&] {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  };
  for (;;) {
    skipBlanks();
    if (pos >= text.size() || (text[pos] != '"' && text[pos] != '\'')) return false;
    const char delimiter = text[pos++];
    std::size_t end = text.find(delimiter, pos);
    if (end == std::string::npos || text.find('\n', pos) < end) return false;
    value.append(text, pos, end - pos);
    pos = end + 1;
    skipBlanks();
    if (pos >= text.size() || text[pos] != '+') return true;
    ++pos;
  }
}

TEST(ProjectDataMacroTest, EveryNameReadsBackExactly) {
  const std::vector<std::string> names = {"it's 8\"", "\"quoted\" 'both'", "\"'", "'\"\"'", "a\"b'c\"\"d",
                                          "plain", "8\" tenon"};
  ProjectPrefs project;
  project.projectNo = "P'1\"";
  JointPrefs joints;
  for (const std::string& name : names) joints.add(name.c_str(), name.c_str(), 0, 0);
  TimberPrefs timbers;
  std::string macro = varnholt::projectDataMacro(project, joints, &timbers).str();

  // The keys and descriptions of the joint block, after the default joint.
  std::vector<std::string> keys, descriptions;
  const std::string keyStart = "\tif (GLOB_USER_11 = ";
  const std::string descriptionStart = "\t\tGLOB_USER_12 = ";
  std::size_t blockEnd = macro.find("endif\n\n");
  for (std::size_t at = macro.find(keyStart); at < blockEnd; at = macro.find(keyStart, at)) {
    std::size_t pos = at + keyStart.size();
    std::string key;
    ASSERT_TRUE(readGdlString(macro, pos, key)) << macro.substr(at, 80);
    EXPECT_EQ(macro.compare(pos, 7, ") then\n"), 0) << macro.substr(at, 80);
    keys.push_back(key);
    pos = macro.find(descriptionStart, pos) + descriptionStart.size();
    std::string description;
    ASSERT_TRUE(readGdlString(macro, pos, description));
    descriptions.push_back(description);
    at = pos;
  }
  std::vector<std::string> expected = names;
  expected.insert(expected.begin(), std::string());
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(descriptions, expected);

  // The value list offers the same names.
  std::size_t pos = macro.find("\tvalues \"JuncTypeSt\" ") + 21;
  std::vector<std::string> listed;
  for (std::string name; readGdlString(macro, pos, name);) {
    listed.push_back(name);
    while (pos < macro.size() && (macro[pos] == ',' || macro[pos] == ' ' || macro[pos] == '\t' ||
                                  (macro[pos] == '\n' && macro.compare(pos, 3, "\n\t\t") == 0)))
      ++pos;
  }
  EXPECT_EQ(listed, expected);

  pos = macro.find("\n\tGLOB_USER_12 = ");
  ASSERT_NE(pos, std::string::npos);
  pos += 17;
  std::string number;
  ASSERT_TRUE(readGdlString(macro, pos, number));
  EXPECT_EQ(number, "P'1\"");
}

}  // namespace
