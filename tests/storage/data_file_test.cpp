#include "storage/data_file.h"

#include <gtest/gtest.h>

#include <string>

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
