// The host's polygon memo format read into polygons and written back, with every bad index
// refused; the hatch and polyline accessors built on it.
#include <gtest/gtest.h>

#include <vector>

#include "model/element_kinds.h"
#include "model/memo.h"
#include "runtime/memory.h"
#include "support/loaded_host.h"

namespace {

using lunvik::HandleOwner;
using lunvik::PolygonMemo;
using platform::Coord2D;
using platform::PolyArcRecord;

class PolygonMemoTest : public testing_support::LoadedHost {
 protected:
  template <typename T>
  platform::GSHandle handle(const std::vector<T>& v) {
    if (v.empty()) return nullptr;
    owned_.push_back(std::make_unique<HandleOwner>(lunvik::newHandle(v.data(), v.size() * sizeof(T))));
    return owned_.back()->get();
  }
  std::unique_ptr<lunvik::CadPoly> read(const std::vector<Coord2D>& coords, const std::vector<int32_t>& ends,
                                        const std::vector<PolyArcRecord>& arcs = {},
                                        const std::vector<int32_t>& ids = {}) {
    return PolygonMemo::readPolygon(handle(coords), handle(ends), handle(arcs), handle(ids));
  }
  std::vector<std::unique_ptr<HandleOwner>> owned_;
};

const std::vector<Coord2D> kSquare = {{0, 0}, {0, 0}, {2, 0}, {2, 1}, {0, 1}, {0, 0}};

TEST_F(PolygonMemoTest, TheClosedQuadrilateral) {
  auto poly = read(kSquare, {0, 5});
  ASSERT_NE(poly, nullptr);
  EXPECT_TRUE(poly->isClosed());
  EXPECT_EQ(poly->vertexCount(), 4u);
  EXPECT_EQ(poly->holeCount(), 0u);
  EXPECT_NEAR(poly->area(true), 2.0, 1e-9);
}

TEST_F(PolygonMemoTest, BadIndicesReadAsNoPolygon) {
  struct Case {
    const char* what;
    std::vector<int32_t> ends;
    std::vector<PolyArcRecord> arcs;
    std::vector<int32_t> ids;
  } cases[] = {
      {"contour end beyond the coordinates", {0, 6}, {}, {}},
      {"first entry not 0", {1, 5}, {}, {}},
      {"ends not ascending", {0, 3, 2}, {}, {}},
      {"negative end", {0, -4}, {}, {}},
      {"arc end beyond the coordinates", {0, 5}, {{1, 9, 0.5}}, {}},
      {"arc start at record 0", {0, 5}, {{0, 1, 0.5}}, {}},
      {"too few vertex numbers", {0, 5}, {}, {4, 1, 2}},
      {"no contours", {0}, {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(read(kSquare, c.ends, c.arcs, c.ids), nullptr) << c.what;
  EXPECT_EQ(read({{0, 0}}, {0, 0}), nullptr) << "no vertex";
}

TEST_F(PolygonMemoTest, ArcsHolesAndNumbersRoundTrip) {
  lunvik::CadPoly outline(0, 1, true);
  outline.add(0, 0).setVertexId(1);
  outline.add(4, 0, 0.7).setVertexId(2);
  outline.add(4, 3).setVertexId(3);
  outline.add(0, 3, -0.3).setVertexId(4);
  outline.setLastVertexId(8);
  auto hole = std::make_unique<lunvik::CadPoly>();
  hole->add(1, 1);
  hole->add(2, 1);
  hole->add(2, 2);
  outline.addHole(std::move(hole));
  platform::GSHandle c = nullptr, e = nullptr, a = nullptr, v = nullptr;
  ASSERT_TRUE(PolygonMemo::writePolygon(outline, c, e, a, v));
  for (auto h : {c, e, a, v}) owned_.push_back(std::make_unique<HandleOwner>(h));
  EXPECT_EQ(lunvik::handleSize(c) / sizeof(Coord2D), 10u);  // 1 + (4 + 1) + (3 + 1)
  auto back = PolygonMemo::readPolygon(c, e, a, v);
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(back->equals(outline, 1e-9));
  EXPECT_EQ(back->vertex(1).vertexId(), 2);
  EXPECT_EQ(back->lastVertexId(), 8);
  EXPECT_NEAR(back->vertex(1).arcAngle(), 0.7, 1e-12);
  EXPECT_NEAR(back->vertex(3).arcAngle(), -0.3, 1e-12);
}

TEST_F(PolygonMemoTest, AnOpenPolygonKeepsItsEnds) {
  auto poly = read({{-1, 0}, {0, 0}, {1, 0}, {1, 1}}, {0, 3});
  ASSERT_NE(poly, nullptr);
  EXPECT_FALSE(poly->isClosed());
  EXPECT_EQ(poly->vertexCount(), 3u);
}

TEST_F(PolygonMemoTest, HatchPensFillsAndIdentifiers) {
  lunvik::Hatch hatch(nullptr);
  hatch.setPen(lunvik::Pen(3), 0);
  EXPECT_EQ(hatch.getPen(1)->index(), 3);
  EXPECT_EQ(hatch.getPen(5)->index(), 3);
  EXPECT_EQ(hatch.getPen(7)->index(), 3);
  EXPECT_EQ(hatch.getPen(2), nullptr);
  hatch.setPen(lunvik::Pen(9), 7);
  EXPECT_EQ(hatch.getPen(7)->index(), 9);
  EXPECT_EQ(hatch.getPen(5)->index(), 3);
  int16_t fill = hatch.getFill(0) ? int16_t(hatch.getFill(0)->index()) : 0;
  EXPECT_EQ(hatch.setFill(lunvik::Fill(0), 0), 0);
  EXPECT_EQ(hatch.getFill(0) ? hatch.getFill(0)->index() : 0, fill);
  hatch.setFill(lunvik::Fill(12), 1);
  EXPECT_EQ(hatch.getFill(1)->index(), 12);
  EXPECT_EQ(hatch.getFill(5), nullptr);
  hatch.setId("ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(hatch.getId()->str(), "ABCDEFGHIJKLMNO");
  hatch.setId("ABCDEFGHIJKLMN\xC3\xA9Z");  // the two-byte letter would cross byte 15
  EXPECT_EQ(hatch.getId()->str(), "ABCDEFGHIJKLMN");
  EXPECT_EQ(hatch.outline(), nullptr);
}

TEST_F(PolygonMemoTest, ANewHatchIsClosedAndANewPolylineStaysOpen) {
  auto open = [] {
    auto p = std::make_unique<lunvik::CadPoly>(0, 0, false);
    p->add(0, 0);
    p->add(1, 0);
    p->add(1, 1);
    return p;
  };
  lunvik::Hatch hatch(open());
  lunvik::PolyLine line(open());
  ASSERT_NE(hatch.outline(), nullptr);
  EXPECT_TRUE(hatch.outline()->isClosed());
  EXPECT_FALSE(line.outline()->isClosed());
  EXPECT_TRUE(hatch.defaultsLoaded());
  int32_t mask = 0;
  auto memo = hatch.buildMemo(mask);
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(mask, platform::kMemoPolygon);
  // Stored closed: the first vertex is repeated at the contour's end.
  EXPECT_EQ(lunvik::handleSize(memo->coords()) / sizeof(Coord2D), 5u);
  EXPECT_EQ(reinterpret_cast<const Coord2D*>(*memo->coords())[0].x, 0.0);
}

}  // namespace
