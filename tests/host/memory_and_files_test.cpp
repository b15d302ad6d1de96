#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "host/core/fault_table.h"
#include "host/core/host.h"
#include "host/core/memory_manager.h"
#include "host/files/file_library.h"

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
}

}  // namespace
