#include "storage/data_buffer.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/memory.h"
#include "storage/storage_host.h"

namespace storage_test {
namespace {

using lunvik::DataBufferIn;
using lunvik::DataBufferOut;

TEST(DataBuffer, InReadsInPiecesThenReportsTheEnd) {
  const std::string text = "0123456789";
  DataBufferIn in(text);
  char piece[4];
  std::string collected;
  std::size_t got = 0;
  const std::size_t expected[] = {4, 4, 2, 0};
  for (std::size_t want : expected) {
    ASSERT_TRUE(in.read(piece, sizeof piece, got));
    EXPECT_EQ(got, want);
    collected.append(piece, got);
  }
  EXPECT_EQ(collected, text);
  EXPECT_EQ(in.remaining(), 0u);
}

TEST(DataBuffer, InReadAllTakesTheRest) {
  const std::string text = "header;body";
  DataBufferIn in(text);
  char first[7];
  std::size_t got = 0;
  ASSERT_TRUE(in.read(first, sizeof first, got));
  std::string rest = "kept:";
  ASSERT_TRUE(in.readAll(rest));
  EXPECT_EQ(rest, "kept:body");
  EXPECT_EQ(in.position(), text.size());

  DataBufferIn none(nullptr, 99);
  std::string empty;
  EXPECT_TRUE(none.readAll(empty));
  EXPECT_TRUE(empty.empty());
}

TEST(DataBuffer, InReadsAHostHandle) {
  StorageHost host;
  lunvik::HandleOwner handle(lunvik::newHandle("abc\0def", 7));
  ASSERT_NE(handle.get(), nullptr);
  DataBufferIn in(handle.get());
  std::string all;
  ASSERT_TRUE(in.readAll(all));
  EXPECT_EQ(all, std::string("abc\0def", 7));
}

TEST(DataBuffer, OutCollectsBytesAndHandsThemOver) {
  DataBufferOut out;
  ASSERT_TRUE(out.write("ab", 2));
  ASSERT_TRUE(out.writeText("cd"));
  ASSERT_TRUE(out.write(nullptr, 0));
  EXPECT_FALSE(out.write(nullptr, 3));
  EXPECT_EQ(out.bytes(), "abcd");
  EXPECT_EQ(out.takeText(), "abcd");
  EXPECT_EQ(out.size(), 0u);
}

TEST(DataBuffer, OutHandleNeedsTheHostsMemory) {
  DataBufferOut out;
  out.writeText("module data");
  EXPECT_EQ(out.takeHandle(), nullptr);  // no host table: the bytes stay
  EXPECT_EQ(out.bytes(), "module data");

  StorageHost host;
  lunvik::HandleOwner handle(out.takeHandle());
  ASSERT_NE(handle.get(), nullptr);
  EXPECT_EQ(std::string(*handle.get(), lunvik::handleSize(handle.get())), "module data");
  EXPECT_EQ(out.size(), 0u);
}

}  // namespace
}  // namespace storage_test
