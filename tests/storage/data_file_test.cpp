#include "storage/data_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host_types.h"
#include "storage/storage_host.h"
#include "storage/test_records.h"
#include "storage/xml_reader.h"
#include "storage/xml_writer.h"

namespace storage_test {
namespace {

using lunvik::DataFile;

TEST(DataFile, WritesAndReadsBackThroughTheHost) {
  StorageHost host;
  TempFolder folder;
  const std::string path = folder.path() + "/notes.txt";
  DataFile file(CadString(path.c_str()));
  EXPECT_FALSE(file.exists());
  ASSERT_TRUE(file.openForWriting());
  EXPECT_FALSE(file.openForReading());  // open already
  ASSERT_TRUE(file.writeText("first line\n"));
  ASSERT_TRUE(file.writeText("second"));
  ASSERT_TRUE(file.close());
  EXPECT_FALSE(file.close());
  EXPECT_TRUE(file.exists());
  int64_t size = 0;
  ASSERT_TRUE(file.size(size));
  EXPECT_EQ(size, 17);

  std::string text;
  ASSERT_TRUE(file.readAll(text));  // opens, reads, closes
  EXPECT_EQ(text, "first line\nsecond");
  EXPECT_FALSE(file.isOpen());

  ASSERT_TRUE(file.open(DataFile::Mode::append));
  ASSERT_TRUE(file.writeText("!"));
  std::size_t got = 0;
  char byte;
  EXPECT_FALSE(file.read(&byte, 1, got));  // written, not read
  ASSERT_TRUE(file.close());
  text.clear();
  ASSERT_TRUE(file.readAll(text));
  EXPECT_EQ(text, "first line\nsecond!");

  ASSERT_TRUE(file.remove());
  EXPECT_FALSE(file.exists());
  EXPECT_FALSE(file.remove());
  EXPECT_FALSE(file.openForReading());
}

TEST(DataFile, CarriesItsFileTypeIntoTheHostWhenWritten) {
  StorageHost host;
  TempFolder folder;
  const std::string path = folder.path() + "/Default Joints.xml";
  const uint32_t type = platform::fourcc("    ");
  const uint32_t creator = platform::fourcc(" XML");
  DataFile file(CadString(path.c_str()), type, creator);
  ASSERT_TRUE(file.openForWriting());
  ASSERT_TRUE(file.close());
  ASSERT_EQ(host.log().fileTypes.count(path), 1u);
  EXPECT_EQ(host.log().fileTypes[path], std::make_pair(type, creator));

  host.log().fileTypes.clear();
  std::string text;
  ASSERT_TRUE(file.readAll(text));
  EXPECT_TRUE(host.log().fileTypes.empty());  // reading leaves the type alone
}

TEST(DataFile, ReportsItsFolderAndCreatesIt) {
  struct Case {
    const char* path;
    const char* folder;
  } cases[] = {
      {"/a/b/c.xml", "/a/b"},
      {"C:\\Users\\me\\prefs.xml", "C:\\Users\\me"},
      {"c.xml", ""},
      {"/top.xml", ""},
      {"mixed\\dir/file", "mixed\\dir"},
  };
  for (const Case& c : cases) EXPECT_EQ(DataFile(c.path).folder(), c.folder) << c.path;

  StorageHost host;
  TempFolder folder;
  DataFile nested(CadString((folder.path() + "/one/two/three/file.xml").c_str()));
  ASSERT_TRUE(nested.createFolder());
  ASSERT_TRUE(nested.createFolder());  // already there
  ASSERT_TRUE(nested.openForWriting());
  ASSERT_TRUE(nested.close());
  EXPECT_TRUE(nested.exists());

  DataFile underAFile(CadString((folder.path() + "/one/two/three/file.xml/inner.xml").c_str()));
  EXPECT_FALSE(underAFile.createFolder());
}

TEST(DataFile, EveryOperationFailsWithoutTheHostsFileLibrary) {
  TempFolder folder;
  const std::string path = folder.path() + "/absent.xml";
  for (bool withTable : {false, true}) {
    std::unique_ptr<StorageHost> host;
    if (withTable) host = std::make_unique<StorageHost>(false);
    DataFile file(CadString(path.c_str()), 1, 2);
    EXPECT_FALSE(file.openForWriting());
    EXPECT_FALSE(file.openForReading());
    EXPECT_FALSE(file.writeText("x"));
    std::string text = "unchanged";
    EXPECT_FALSE(file.readAll(text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_FALSE(file.exists());
    int64_t size = 5;
    EXPECT_FALSE(file.size(size));
    EXPECT_EQ(size, 5);
    EXPECT_FALSE(file.remove());
    EXPECT_FALSE(file.createFolder());
    EXPECT_FALSE(file.close());
  }
}

TEST(DataFile, WriteErrorsReachTheCaller) {
  StorageHost host;
  TempFolder folder;
  DataFile file(CadString((folder.path() + "/full.xml").c_str()));
  ASSERT_TRUE(file.openForWriting());
  host.log().failWrites = true;
  Rack rack;
  EXPECT_FALSE(lunvik::XMLWriter().write(rack, file, true));
  EXPECT_TRUE(file.close());
}

// The bytes of a file, and the names in a folder.
std::string contents(const std::string& path) {
  std::string text;
  DataFile(CadString(path.c_str())).readAll(text);
  return text;
}

std::vector<std::string> folderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DataFile, AReplacementTakesThePathsPlaceOnlyWhenClosedComplete) {
  StorageHost host;
  TempFolder folder;
  const std::string path = folder.path() + "/report.txt";
  const uint32_t type = platform::fourcc("TEXT");
  DataFile old(CadString(path.c_str()));
  ASSERT_TRUE(old.openForWriting());
  ASSERT_TRUE(old.writeText("old report"));
  ASSERT_TRUE(old.close());

  DataFile file(CadString(path.c_str()), type, 7);
  ASSERT_TRUE(file.openForReplacing());
  ASSERT_TRUE(file.writeText("new report"));
  EXPECT_EQ(contents(path), "old report");  // untouched while the new one is written
  ASSERT_TRUE(file.close());
  EXPECT_EQ(contents(path), "new report");
  EXPECT_EQ(folderNames(folder.path()), std::vector<std::string>{"report.txt"});
  ASSERT_EQ(host.log().fileTypes.count(path), 1u);
  EXPECT_EQ(host.log().fileTypes[path], std::make_pair(type, uint32_t(7)));

  // Where nothing was, the file is created.
  DataFile fresh(CadString((folder.path() + "/fresh.txt").c_str()));
  ASSERT_TRUE(fresh.openForReplacing());
  ASSERT_TRUE(fresh.writeText("x"));
  ASSERT_TRUE(fresh.close());
  EXPECT_EQ(contents(folder.path() + "/fresh.txt"), "x");
}

TEST(DataFile, AReplacementThatFailsLeavesTheOldFileByteForByte) {
  enum class Failure { write, replace, discard, destroyed };
  for (Failure failure : {Failure::write, Failure::replace, Failure::discard, Failure::destroyed}) {
    StorageHost host;
    TempFolder folder;
    const std::string path = folder.path() + "/Default Joints.xml";
    {
      DataFile old(CadString(path.c_str()));
      ASSERT_TRUE(old.openForWriting());
      ASSERT_TRUE(old.writeText("<jointPrefs/>\r\n"));
      ASSERT_TRUE(old.close());
    }
    {
      DataFile file(CadString(path.c_str()));
      ASSERT_TRUE(file.openForReplacing());
      ASSERT_TRUE(file.writeText("<jointPrefs>"));
      switch (failure) {
        case Failure::write:
          host.log().failWrites = true;
          EXPECT_FALSE(file.writeText("<jointList/>"));
          host.log().failWrites = false;
          EXPECT_TRUE(file.writeText("</jointPrefs>"));  // a later write does not mend it
          EXPECT_FALSE(file.close());
          break;
        case Failure::replace:
          host.log().failReplaces = true;
          EXPECT_FALSE(file.close());
          break;
        case Failure::discard:
          file.discard();
          EXPECT_FALSE(file.isOpen());
          break;
        case Failure::destroyed: break;
      }
    }
    EXPECT_EQ(contents(path), "<jointPrefs/>\r\n") << int(failure);
    EXPECT_EQ(folderNames(folder.path()), std::vector<std::string>{"Default Joints.xml"}) << int(failure);
    EXPECT_EQ(host.log().replaceCalls, failure == Failure::replace ? 1 : 0) << int(failure);
  }
}

TEST(DataFile, ReplacingNeedsTheHostsReplaceOperation) {
  StorageHost host;
  TempFolder folder;
  platform::HostFunctionTable table = lunvik::host().table();
  table.IOReplaceFile = nullptr;
  lunvik::host().setTable(table);
  DataFile file(CadString((folder.path() + "/x.txt").c_str()));
  EXPECT_FALSE(file.openForReplacing());
  EXPECT_TRUE(folderNames(folder.path()).empty());
}

TEST(DataFile, ShippedDocumentRoundTripsThroughAFile) {
  StorageHost host;
  TempFolder folder;
  DataFile file(CadString((folder.path() + "/rack.xml").c_str()));
  Rack original;
  original.label = "Loft";
  original.planks.items().push_back(std::make_unique<Plank>());
  original.planks.items()[0].name = "Collar";
  ASSERT_TRUE(file.openForWriting());
  ASSERT_TRUE(lunvik::XMLWriter().write(original, file, true));
  ASSERT_TRUE(file.close());

  std::string text;
  ASSERT_TRUE(file.readAll(text));
  EXPECT_EQ(text.rfind(lunvik::XMLWriter::kDeclaration, 0), 0u);

  Rack copy;
  ASSERT_TRUE(file.openForReading());
  ASSERT_TRUE(lunvik::XMLReader().read(copy, file));
  ASSERT_TRUE(file.close());
  EXPECT_EQ(copy.label, "Loft");
  ASSERT_EQ(copy.planks.items().size(), 1u);
  EXPECT_EQ(copy.planks.items()[0].name, "Collar");
}

}  // namespace
}  // namespace storage_test
