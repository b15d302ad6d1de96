// The library through the stand-in host: parts found by their own GUIDs, the library's
// locations as folders and files, and folders renamed and moved on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/library/library_index.h"
#include "model/directory.h"
#include "model/library.h"
#include "model_fixture.h"
#include "storage/data_file.h"

namespace {

namespace fs = std::filesystem;
using lunvik::CadString;
using lunvik::Directory;
using lunvik::PartGuid;

const char* const kBracketId = "{0A1B2C3D-4E5F-4061-8273-94A5B6C7D8E9}-{11223344-5566-4778-899A-ABBCCDDEEFF0}";

class LibraryFoldersTest : public testing_support::ModelHost {
 protected:
  void SetUp() override {
    ModelHost::SetUp();
    parts_ = std::string(TRESTLAR_FIXTURES) + "/model/parts";
    ASSERT_TRUE(host().addLibraryFolder(parts_));
  }
  lunvik::Library& library() { return project().library(); }

  std::string parts_;
};

TEST_F(LibraryFoldersTest, APartIsFoundByItsOwnGuid) {
  PartGuid guid;
  ASSERT_TRUE(lunvik::parsePartGuid(CadString(kBracketId).lower(), guid));
  EXPECT_EQ(lunvik::partGuidText(guid), kBracketId);
  int32_t type = 0;
  EXPECT_EQ(library().indexOf(guid, type), host().library().find("Bracket", 0));
  EXPECT_EQ(type, platform::kPartObject);
  // Of another type, or another identifier: none.
  type = platform::kPartDoor;
  EXPECT_EQ(library().indexOf(guid, type), 0);
  guid.revision.bytes[15] ^= 1;
  type = 0;
  EXPECT_EQ(library().indexOf(guid, type), 0);
}

TEST_F(LibraryFoldersTest, OnlyAWholeIdentifierReadsAsAPartGuid) {
  const char* bad[] = {"", "{0A1B2C3D-4E5F-4061-8273-94A5B6C7D8E9}", "0A1B2C3D-4E5F-4061-8273-94A5B6C7D8E9-11223344",
                       "{0A1B2C3D-4E5F-4061-8273-94A5B6C7D8E9}-{11223344-5566-4778-899A-ABBCCDDEEFFG}",
                       "{0A1B2C3D-4E5F-4061-8273-94A5B6C7D8E9}+{11223344-5566-4778-899A-ABBCCDDEEFF0}"};
  for (const char* text : bad) {
    PartGuid guid;
    guid.main.bytes[0] = 7;
    EXPECT_FALSE(lunvik::parsePartGuid(CadString(text), guid)) << text;
    EXPECT_EQ(guid.main.bytes[0], 7) << text;
  }
}

TEST_F(LibraryFoldersTest, TheLibraryListsItsFoldersAndFiles) {
  const std::string file = appData() + "/loose.gsm";
  std::ofstream(file) << "not a folder\n";
  std::vector<std::string> locations = host().libraryFolders();
  locations.push_back(file);
  host().setLibraryFolders(locations);
  library().releaseCaches();
  const lunvik::FileList& folders = library().folders();
  ASSERT_EQ(folders.size(), locations.size());
  for (std::size_t i = 0; i + 1 < folders.size(); ++i) {
    EXPECT_TRUE(dynamic_cast<const Directory*>(&folders[i])) << locations[i];
    EXPECT_TRUE(folders[i].isFolder()) << locations[i];
  }
  auto* loose = dynamic_cast<const lunvik::DataFile*>(&folders[folders.size() - 1]);
  ASSERT_NE(loose, nullptr);
  EXPECT_EQ(loose->name(), "loose.gsm");
  EXPECT_FALSE(loose->isFolder());
  EXPECT_EQ(library().defaultFolder(), 0);
  EXPECT_TRUE(library().hasFolder(CadString(parts_ + "/")));
  auto copy = library().folderList();
  ASSERT_EQ(copy->size(), folders.size());
  EXPECT_EQ(copy->at(1).path(), folders[1].path());
}

TEST_F(LibraryFoldersTest, AFolderIsRenamedAndMovedOnDisk) {
  fs::create_directories(appData() + "/work/frames");
  fs::create_directories(appData() + "/archive");
  std::ofstream(appData() + "/work/frames/truss.txt") << "kept";
  Directory frames(CadString(appData() + "/work/frames"));
  ASSERT_TRUE(frames.rename("trusses")) << frames.lastError();
  EXPECT_EQ(frames.path(), appData() + "/work/trusses/");
  EXPECT_TRUE(fs::exists(appData() + "/work/trusses/truss.txt"));
  EXPECT_FALSE(fs::exists(appData() + "/work/frames"));
  ASSERT_TRUE(frames.moveTo(CadString(appData() + "/archive")));
  EXPECT_EQ(frames.path(), appData() + "/archive/trusses/");
  EXPECT_TRUE(fs::exists(appData() + "/archive/trusses/truss.txt"));
  EXPECT_FALSE(fs::exists(appData() + "/work/trusses"));
}

TEST_F(LibraryFoldersTest, ARenameOrMoveThatWouldOverwriteOrNestIsRefused) {
  fs::create_directories(appData() + "/a/inner");
  fs::create_directories(appData() + "/b");
  std::ofstream(appData() + "/a/file") << "x";
  Directory a(CadString(appData() + "/a"));
  const char* names[] = {"", ".", "..", "x/y", "x\\y", "b"};
  for (const char* name : names) {
    EXPECT_FALSE(a.rename(name)) << name;
    EXPECT_EQ(a.path(), appData() + "/a/") << name;
  }
  EXPECT_TRUE(fs::exists(appData() + "/a/file"));
  EXPECT_TRUE(fs::is_empty(appData() + "/b"));
  EXPECT_FALSE(a.moveTo(CadString(appData() + "/a/inner")));  // into itself
  EXPECT_FALSE(a.moveTo(CadString(appData() + "/missing")));
  EXPECT_EQ(a.path(), appData() + "/a/");
  EXPECT_TRUE(fs::exists(appData() + "/a/inner"));
  Directory gone(CadString(appData() + "/nothing"));
  EXPECT_FALSE(gone.rename("something"));
}

}  // namespace
