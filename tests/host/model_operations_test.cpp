// The stand-in host's model operations as the table hands them out: element boxes ('CABO'),
// screen points ('PTOC'), databases by their whole identity, attributes created and changed,
// files moved, and what the project file keeps of them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/model/project_model.h"
#include "host/project/project_file.h"

namespace {

namespace fs = std::filesystem;
using platform::fourcc;
using platform::GSErr;
using standin::Host;

class ModelOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.newProject();
    char pattern[] = "/tmp/trestlar-ops-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  standin::ProjectModel& model() { return host_.model(); }
  GSErr database(uint32_t code, void* p1, void* p2 = nullptr, void* p3 = nullptr) {
    return host_.table().HostDatabase(host_.token(), code, p1, p2, p3);
  }
  GSErr environment(uint32_t code, void* p1, void* p2 = nullptr, void* p3 = nullptr) {
    return host_.table().HostEnvironment(host_.token(), code, p1, p2, p3);
  }
  GSErr box(const platform::ElementHeader& header, platform::Box3DRecord& out) {
    return database(fourcc("CABO"), const_cast<platform::ElementHeader*>(&header), &out);
  }
  standin::HostElement& make(int32_t kind, void (*fill)(platform::ElementRecord&)) {
    platform::ElementRecord r = model().defaults(kind);
    fill(r);
    return model().create(model().currentDatabase(), r);
  }

  Host host_;
  std::string folder_;
};

TEST_F(ModelOperationsTest, DatabasesAreKnownByKindIndexAndNumber) {
  platform::DatabaseRecord plain = model().addCutPlane(platform::kDatabaseSection, 0, 0, 1, 0, 0, "A-A");
  platform::DatabaseRecord numbered = model().addCutPlane(platform::kDatabaseSection, 0, 1, 1, 1, 0, "B-B", 12);
  platform::GSHandle ids = nullptr;
  ASSERT_EQ(database(fourcc("GSDI"), &ids), platform::kNoError);
  ASSERT_EQ(host_.memory().size(ids), int64_t(2 * sizeof(platform::DatabaseRecord)));
  const auto* listed = reinterpret_cast<const platform::DatabaseRecord*>(*ids);
  EXPECT_EQ(listed[0].index, plain.index);
  EXPECT_EQ(listed[1].number, 12);
  host_.memory().dispose(ids);
  // 'SDAT' takes the number too; without it the numbered view is not found.
  int32_t kind = numbered.kind, index = numbered.index;
  int16_t number = 12;
  EXPECT_EQ(database(fourcc("SDAT"), &kind, &index), platform::kErrBadIndex);
  ASSERT_EQ(database(fourcc("SDAT"), &kind, &index, &number), platform::kNoError);
  int32_t gotKind = 0, gotIndex = 0;
  int16_t gotNumber = 0;
  ASSERT_EQ(database(fourcc("GDAT"), &gotKind, &gotIndex, &gotNumber), platform::kNoError);
  EXPECT_EQ(gotKind, platform::kDatabaseSection);
  EXPECT_EQ(gotIndex, numbered.index);
  EXPECT_EQ(gotNumber, 12);
  // Its elements carry it, and a copy lands beside them.
  standin::HostElement& line = make(platform::kLine, [](platform::ElementRecord&) {});
  EXPECT_EQ(line.header().databaseNumber, 12);
  platform::EditRecord copy{};
  copy.kind = int32_t(fourcc("DRAG"));
  copy.second = {1, 0, 0};
  auto made = model().edit({line.header().guid}, copy);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(model().find(made[0])->header().databaseNumber, 12);
}

}  // namespace
