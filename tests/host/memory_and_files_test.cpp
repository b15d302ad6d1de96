#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/core/fault_table.h"
#include "host/core/host.h"
#include "host/core/memory_manager.h"
#include "host/files/file_library.h"
#include "host/files/file_replace.h"

namespace {

TEST(MemoryManagerTest, ResizeKeepsBytesAndZeroesGrowth) {
  standin::MemoryManager mm;
  platform::GSHandle h = mm.newHandle(3);
  ASSERT_NE(h, nullptr);
  std::memcpy(*h, "abc", 3);
  ASSERT_EQ(mm.resize(h, 6), platform::kNoError);
  EXPECT_EQ(mm.size(h), 6);
  EXPECT_EQ(std::string(*h, 6), std::string("abc\0\0\0", 6));
  EXPECT_EQ(mm.resize(h, -1), platform::kErrBadParameter);
  EXPECT_EQ(mm.newHandle(-5), nullptr);
  mm.dispose(h);
  mm.dispose(h);  // a second free is ignored
  EXPECT_EQ(mm.liveHandles(), 0u);
  EXPECT_EQ(mm.size(h), 0);
}

class FileLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/trestlar-files-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }
  std::string dir_;
};

TEST_F(FileLibraryTest, BackslashesSeparateFoldersAndFilesRoundTrip) {
  standin::FileLibrary files;
  std::string folder = dir_ + "\\a\\b";
  ASSERT_EQ(files.createFolder(folder.c_str()), platform::kNoError);
  EXPECT_EQ(files.kind((dir_ + "/a/b").c_str()), 2);
  std::string path = folder + "\\x.txt";
  int32_t f = 0;
  ASSERT_EQ(files.open(path.c_str(), 2, &f), platform::kNoError);
  ASSERT_EQ(files.write(f, "hello", 5), platform::kNoError);
  ASSERT_EQ(files.close(f), platform::kNoError);
  int64_t size = 0;
  ASSERT_EQ(files.size(path.c_str(), &size), platform::kNoError);
  EXPECT_EQ(size, 5);
  ASSERT_EQ(files.open(path.c_str(), 1, &f), platform::kNoError);
  char buffer[16] = {};
  int64_t got = 0;
  ASSERT_EQ(files.read(f, buffer, sizeof buffer, &got), platform::kNoError);
  EXPECT_EQ(std::string(buffer, std::size_t(got)), "hello");
  files.close(f);
  EXPECT_EQ(files.close(f), platform::kErrBadParameter);
  EXPECT_EQ(files.remove(path.c_str()), platform::kNoError);
  EXPECT_EQ(files.kind(path.c_str()), 0);
  EXPECT_EQ(files.open((dir_ + "/missing/x").c_str(), 1, &f), platform::kErrFile);
  EXPECT_EQ(files.openFiles(), 0u);
}

TEST_F(FileLibraryTest, OnlyAFileWrittenIntoALibraryFolderHasTheLibraryScannedAgain) {
  standin::Host host;
  host.newProject();
  const std::string library = dir_ + "/library";
  ASSERT_EQ(::mkdir(library.c_str(), 0755), 0);
  ASSERT_TRUE(host.addLibraryFolder(library));
  const uint32_t before = host.library().revision();
  auto write = [&](const std::string& path) {
    int32_t f = 0;
    ASSERT_EQ(host.table().IOOpenFile(path.c_str(), 2, &f), platform::kNoError);
    ASSERT_EQ(host.table().IOWriteFile(f, "x", 1), platform::kNoError);
    ASSERT_EQ(host.table().IOCloseFile(f), platform::kNoError);
  };
  write(dir_ + "/report.txt");
  EXPECT_EQ(host.library().revision(), before) << "a report beside the library";
  ASSERT_EQ(::mkdir((library + "/sub").c_str(), 0755), 0);
  // Through another spelling of the same folder.
  write(dir_ + "/library/../library/sub/ProjectData.gdl");
  EXPECT_NE(host.library().revision(), before);
}

std::string contents(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[256];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

void writeText(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

TEST_F(FileLibraryTest, SameFileGoesByIdentityNotByName) {
  const std::string file = dir_ + "/p.trestlar";
  writeText(file, "p");
  writeText(dir_ + "/other", "p");
  ASSERT_EQ(::mkdir((dir_ + "/sub").c_str(), 0755), 0);
  ASSERT_EQ(::link(file.c_str(), (dir_ + "/hard").c_str()), 0);
  ASSERT_EQ(::symlink(file.c_str(), (dir_ + "/soft").c_str()), 0);
  struct Case {
    std::string other;
    bool same;
  } cases[] = {{file, true},          {dir_ + "/sub/../p.trestlar", true}, {dir_ + "\\p.trestlar", true},
               {dir_ + "/hard", true}, {dir_ + "/soft", true},               {dir_ + "/other", false},
               {dir_ + "/missing", false}};
  for (const Case& c : cases) EXPECT_EQ(standin::sameFile(file, c.other), c.same) << c.other;
  EXPECT_FALSE(standin::sameFile(dir_ + "/missing", dir_ + "/missing"));
}

TEST_F(FileLibraryTest, ReplacePutsAWholeFileInPlaceOfARegularFileOnly) {
  standin::FileLibrary files;
  const std::string source = dir_ + "/.new", target = dir_ + "/report.txt";
  auto fresh = [&] {
    writeText(source, "new");
    ASSERT_EQ(files.setType(source.c_str(), 1, 2), platform::kNoError);
  };

  // A regular file takes the new bytes, keeps its permissions and gets the new file's type.
  writeText(target, "old");
  ::chmod(target.c_str(), 0600);
  fresh();
  ASSERT_EQ(files.replace(source.c_str(), target.c_str()), platform::kNoError);
  EXPECT_EQ(contents(target), "new");
  EXPECT_EQ(files.kind(source.c_str()), 0);
  uint32_t type = 0, creator = 0;
  EXPECT_TRUE(files.type(target, type, creator));
  EXPECT_EQ(type, 1u);
  EXPECT_FALSE(files.type(source, type, creator));
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);

  // Through a link the file it leads to is replaced; the link stays.
  ASSERT_EQ(::symlink(target.c_str(), (dir_ + "/link").c_str()), 0);
  fresh();
  ASSERT_EQ(files.replace(source.c_str(), (dir_ + "/link").c_str()), platform::kNoError);
  ASSERT_EQ(::lstat((dir_ + "/link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(contents(target), "new");

  // A FIFO, a folder and a read-only file are refused; both files stay as they were.
  ASSERT_EQ(::mkfifo((dir_ + "/pipe").c_str(), 0644), 0);
  ASSERT_EQ(::mkdir((dir_ + "/folder").c_str(), 0755), 0);
  writeText(dir_ + "/locked", "locked");
  ::chmod((dir_ + "/locked").c_str(), 0444);
  for (const char* name : {"/pipe", "/folder", "/locked"}) {
    writeText(source, "new");
    EXPECT_EQ(files.replace(source.c_str(), (dir_ + name).c_str()), platform::kErrFile) << name;
    EXPECT_EQ(contents(source), "new") << name;
  }
  ASSERT_EQ(::lstat((dir_ + "/pipe").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(contents(dir_ + "/locked"), "locked");
  EXPECT_EQ(files.replace(nullptr, target.c_str()), platform::kErrNullArgument);
}

platform::GSErr countingOp(platform::HostToken, bool) { return platform::kNoError; }

TEST(FaultTableTest, FailsOnlyThePlannedCallAndKeepsMissingSlotsMissing) {
  platform::HostFunctionTable inner{};
  inner.HostKeepInMemory = &countingOp;
  standin::FaultPlan plan;
  plan.failAt = 2;
  plan.code = platform::kErrMemory;
  platform::HostFunctionTable wrapped = standin::faultyTable(inner, plan);
  EXPECT_EQ(wrapped.HostOpenUndoStep, nullptr);
  EXPECT_EQ(wrapped.HostKeepInMemory(1, true), platform::kNoError);
  EXPECT_EQ(wrapped.HostKeepInMemory(1, true), platform::kErrMemory);
  EXPECT_EQ(wrapped.HostKeepInMemory(1, true), platform::kNoError);
  EXPECT_TRUE(plan.fired);
  EXPECT_EQ(plan.calls, 3);
  EXPECT_STREQ(plan.operation, "HostKeepInMemory");
}

platform::GSErr openUndo(platform::HostToken, const char*) { return platform::kNoError; }

TEST(FaultTableTest, CountsTheCallsOfOneOperationWhenAskedTo) {
  platform::HostFunctionTable inner{};
  inner.HostKeepInMemory = &countingOp;
  inner.HostOpenUndoStep = &openUndo;
  standin::FaultPlan plan;
  plan.only = "HostOpenUndoStep";
  plan.failAt = 2;
  platform::HostFunctionTable wrapped = standin::faultyTable(inner, plan);
  EXPECT_EQ(wrapped.HostKeepInMemory(1, true), platform::kNoError);
  EXPECT_EQ(wrapped.HostOpenUndoStep(1, "a"), platform::kNoError);
  EXPECT_EQ(wrapped.HostKeepInMemory(1, true), platform::kNoError);
  EXPECT_EQ(wrapped.HostOpenUndoStep(1, "b"), platform::kErrGeneral);
  EXPECT_EQ(plan.calls, 2);
  EXPECT_STREQ(plan.operation, "HostOpenUndoStep");
}

}  // namespace
