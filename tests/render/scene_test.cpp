// Pictures of the project's views: what they draw, in which colours and order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "host/model/stored_parameter.h"
#include "render_fixture.h"

namespace {

using render_test::guid;
using standin::Picture;
using standin::PictureItem;
using standin::PictureRole;
using namespace render_test;
namespace colours = standin::picture_colours;

class Scene : public RenderFixture {};

constexpr double kNear = 1e-9;

TEST_F(Scene, ThePlanDrawsEveryKindOfElement) {
  Picture plan = draw("plan");
  // Placed parts by the faces of their bodies: seen from above, a box shows its top.
  for (int n : {kPost, kBeam, kQuiet, kObject}) EXPECT_FALSE(itemsOf(plan, n, PictureRole::Face).empty()) << n;
  std::vector<PictureItem> post = itemsOf(plan, kPost, PictureRole::Face);
  ASSERT_EQ(post.size(), 1u);
  standin::PicturePoint lo, hi;
  extent(post, lo, hi);
  EXPECT_NEAR(lo.x, -0.1, kNear);
  EXPECT_NEAR(hi.x, 0.1, kNear);
  EXPECT_NEAR(lo.y, -0.1, kNear);
  EXPECT_NEAR(hi.y, 0.1, kNear);

  std::vector<PictureItem> hatch = itemsOf(plan, kHatch, PictureRole::Polygon);
  ASSERT_EQ(hatch.size(), 1u);
  EXPECT_TRUE(hatch[0].filled);
  // Its arc edge from (5, 0) to (5, 1) bulges out to x = 5 + (1 / (2 sin 0.5)) (1 - cos 0.5).
  extent(hatch, lo, hi);
  EXPECT_NEAR(hi.x, 5 + (1 - std::cos(0.5)) / (2 * std::sin(0.5)), 1e-3);

  std::vector<PictureItem> line = itemsOf(plan, kLine, PictureRole::Line);
  ASSERT_EQ(line.size(), 1u);
  EXPECT_NEAR(line[0].points[1].x, 3, kNear);
  std::vector<PictureItem> circle = itemsOf(plan, kCircle, PictureRole::Arc);
  ASSERT_EQ(circle.size(), 1u);
  EXPECT_NEAR(circle[0].radius, 0.3, kNear);
  EXPECT_NEAR(circle[0].endAngle - circle[0].beginAngle, 2 * 3.14159265358979323846, kNear);
  std::vector<PictureItem> text = itemsOf(plan, kText, PictureRole::Text);
  ASSERT_EQ(text.size(), 1u);
  EXPECT_EQ(text[0].text, "</svg><script>alert(1)</script>");  // kept as data; the writer draws glyphs
  EXPECT_NEAR(text[0].textHeight, 0.25, kNear);                  // 2.5 mm at 1:100

  // A wall is widened to the left of its line, (6, 0) to (9, 0).
  std::vector<PictureItem> wall = itemsOf(plan, kWall, PictureRole::Outline);
  ASSERT_EQ(wall.size(), 1u);
  extent(wall, lo, hi);
  EXPECT_NEAR(lo.x, 6, kNear);
  EXPECT_NEAR(hi.x, 9, kNear);
  EXPECT_NEAR(lo.y, 0, kNear);
  EXPECT_NEAR(hi.y, 0.3, kNear);

  // The section's own elements are not the plan's.
  EXPECT_TRUE(itemsOf(plan, kSectionText).empty());
  EXPECT_TRUE(itemsOf(plan, kSectionLine).empty());
}

TEST_F(Scene, MembersAreColouredByTimberTypeWithALegend) {
  Picture plan = draw("plan");
  std::vector<std::string> names;
  for (const standin::LegendEntry& e : plan.legend()) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Oak", "Pine", "other objects", "checked joint", "unchecked joint"}));
  const standin::Rgb oak = legendColour(plan, "Oak"), pine = legendColour(plan, "Pine");
  EXPECT_NE(oak, pine);
  // The plan is drawn flat: a face has its timber type's colour.
  for (int n : {kPost, kQuiet})
    for (const PictureItem& face : itemsOf(plan, n, PictureRole::Face)) EXPECT_EQ(face.fill, oak) << n;
  for (const PictureItem& face : itemsOf(plan, kBeam, PictureRole::Face)) EXPECT_EQ(face.fill, pine);
  for (const PictureItem& face : itemsOf(plan, kObject, PictureRole::Face)) EXPECT_EQ(face.fill, colours::kOtherObject);

  // A type keeps its colour in a view that does not show the others.
  Picture section = draw("A-A");
  names.clear();
  for (const standin::LegendEntry& e : section.legend()) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Pine", "unchecked joint"}));
  EXPECT_EQ(legendColour(section, "Pine"), pine);
}

TEST_F(Scene, SelectedElementsOfAnyKindAreHighlighted) {
  Picture plain = draw("plan");
  for (const PictureItem& item : plain.items()) EXPECT_FALSE(item.highlighted);
  for (const standin::LegendEntry& e : plain.legend()) EXPECT_NE(e.name, "selected");

  for (const char* id : {"M-BEAM", "H-1", "C-1"}) host().model().select(host().model().findById(id).at(0)->header().guid, true);
  Picture plan = draw("plan");
  for (const PictureItem& item : plan.items()) {
    const bool selected = item.element == guid(kBeam) || item.element == guid(kHatch) || item.element == guid(kCircle);
    // The beam's joint symbol keeps its own colour.
    if (item.role == PictureRole::JointUnchecked || item.role == PictureRole::JointChecked) continue;
    EXPECT_EQ(item.highlighted, selected) << int(item.role);
    if (selected) {
      EXPECT_EQ(item.stroke, colours::kHighlight);
    }
  }
  EXPECT_EQ(legendColour(plan, "selected"), colours::kHighlight);
}

TEST_F(Scene, JointSymbolsFollowEachMembersSettingAndTellCheckedFromUnchecked) {
  Picture plan = draw("plan");
  // "All": the post's checked start and unchecked end, both where it stands.
  std::vector<PictureItem> checked = itemsOf(plan, kPost, PictureRole::JointChecked);
  std::vector<PictureItem> unchecked = itemsOf(plan, kPost, PictureRole::JointUnchecked);
  auto circles = [](const std::vector<PictureItem>& items) {
    std::vector<PictureItem> out;
    for (const PictureItem& item : items)
      if (item.shape == PictureItem::Shape::Arc) out.push_back(item);
    return out;
  };
  ASSERT_EQ(circles(checked).size(), 1u);
  ASSERT_EQ(circles(unchecked).size(), 1u);
  EXPECT_NEAR(circles(checked)[0].centre.x, 0, kNear);
  EXPECT_NEAR(circles(checked)[0].centre.y, 0, kNear);
  EXPECT_NEAR(circles(checked)[0].radius, 0.1, kNear);  // the part's jointTextHt
  EXPECT_EQ(circles(checked)[0].stroke, colours::kCheckedJoint);
  EXPECT_EQ(circles(unchecked)[0].stroke, colours::kUncheckedJoint);
  // A tick in the checked one, a cross (two strokes) in the other.
  EXPECT_EQ(checked.size() - circles(checked).size(), 1u);
  EXPECT_EQ(unchecked.size() - circles(unchecked).size(), 2u);

  // "Unchecked": only the beam's end, three metres along it.
  EXPECT_TRUE(itemsOf(plan, kBeam, PictureRole::JointChecked).empty());
  unchecked = circles(itemsOf(plan, kBeam, PictureRole::JointUnchecked));
  ASSERT_EQ(unchecked.size(), 1u);
  EXPECT_NEAR(unchecked[0].centre.x, 3, kNear);
  EXPECT_NEAR(unchecked[0].centre.y, 1, kNear);

  // "None": nothing, though neither of its joints is checked.
  EXPECT_TRUE(itemsOf(plan, kQuiet, PictureRole::JointChecked).empty());
  EXPECT_TRUE(itemsOf(plan, kQuiet, PictureRole::JointUnchecked).empty());
}

TEST_F(Scene, CutNumbersAndLabelsShowWhereTheyAreOn) {
  Picture plan = draw("plan");
  std::vector<PictureItem> number = itemsOf(plan, kPost, PictureRole::CutNumber);
  ASSERT_EQ(number.size(), 1u);
  EXPECT_EQ(number[0].text, "5");
  // cutIDPos (1, 0, 0.1) along the upright post is its middle, above its point (0, 0).
  EXPECT_NEAR(number[0].points[0].x, 0, kNear);
  EXPECT_NEAR(number[0].points[0].y, 0, kNear);
  EXPECT_NEAR(number[0].textHeight, 0.15, kNear);
  std::vector<PictureItem> label = itemsOf(plan, kPost, PictureRole::Label);
  ASSERT_EQ(label.size(), 1u);
  EXPECT_EQ(label[0].text, "Post <b>\"&'</b>");
  EXPECT_NEAR(label[0].points[0].y, -1.3 * 0.15, kNear);  // a line below the number
  // Off on the other members.
  for (int n : {kBeam, kQuiet}) {
    EXPECT_TRUE(itemsOf(plan, n, PictureRole::CutNumber).empty());
    EXPECT_TRUE(itemsOf(plan, n, PictureRole::Label).empty());
  }
  // The elevation shows the number halfway up the post.
  std::vector<PictureItem> raised = itemsOf(draw("North <&>"), kPost, PictureRole::CutNumber);
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_NEAR(raised[0].points[0].x, 5, kNear);
  EXPECT_NEAR(raised[0].points[0].y, 1, kNear);
}

TEST_F(Scene, ASectionShowsWhatLiesBehindItsCutLineAndItsOwnElements) {
  // A-A runs along x at y = 1 from x = -1 and looks to +y: the beam (y 0.95 to 1.05) reaches
  // behind it; the post, the quiet member and the object lie in front.
  Picture section = draw("A-A");
  std::vector<PictureItem> beam = itemsOf(section, kBeam, PictureRole::Face);
  ASSERT_EQ(beam.size(), 1u);  // its side facing the line
  standin::PicturePoint lo, hi;
  extent(beam, lo, hi);
  EXPECT_NEAR(lo.x, 1, kNear);
  EXPECT_NEAR(hi.x, 4, kNear);
  EXPECT_NEAR(lo.y, 2, kNear);
  EXPECT_NEAR(hi.y, 2.2, kNear);
  for (int n : {kPost, kQuiet, kObject, kHatch, kLine, kCircle, kText}) EXPECT_TRUE(itemsOf(section, n).empty()) << n;
  EXPECT_EQ(itemsOf(section, kSectionText, PictureRole::Text).at(0).text, "A-A <own>");
  EXPECT_EQ(itemsOf(section, kSectionLine, PictureRole::Line).size(), 1u);
}

TEST_F(Scene, AnElevationShowsEveryPlacedPartAcrossItsLine) {
  // "North <&>" runs from (5, 3) toward -x and looks to -y: x becomes 5 - x.
  Picture elevation = draw("North <&>");
  for (int n : {kPost, kBeam, kQuiet, kObject}) EXPECT_FALSE(itemsOf(elevation, n, PictureRole::Face).empty()) << n;
  standin::PicturePoint lo, hi;
  extent(itemsOf(elevation, kPost, PictureRole::Face), lo, hi);
  EXPECT_NEAR(lo.x, 4.9, kNear);
  EXPECT_NEAR(hi.x, 5.1, kNear);
  EXPECT_NEAR(lo.y, 0, kNear);
  EXPECT_NEAR(hi.y, 2, kNear);
  EXPECT_TRUE(itemsOf(elevation, kHatch).empty());
}

TEST_F(Scene, The3DViewShowsTheFacesTowardTheViewerFarToNear) {
  Picture model = draw("3d");
  // A box seen from above and aside shows three faces.
  for (int n : {kPost, kBeam, kQuiet}) EXPECT_EQ(itemsOf(model, n, PictureRole::Face).size(), 3u) << n;
  for (PictureRole role : {PictureRole::Polygon, PictureRole::Line, PictureRole::Text, PictureRole::CutNumber,
                           PictureRole::Label, PictureRole::JointChecked, PictureRole::JointUnchecked})
    EXPECT_EQ(count(model, role), 0u) << int(role);
  // Shaded: the faces of one member differ.
  std::vector<PictureItem> post = itemsOf(model, kPost, PictureRole::Face);
  EXPECT_NE(post[0].fill, post[1].fill);

  // In the plan, the quiet member (top at 0.1) is drawn before the post (2) and the beam (2.2).
  Picture plan = draw("plan");
  std::vector<int> order;
  for (const PictureItem& item : plan.items())
    for (int n : {kQuiet, kPost, kBeam})
      if (item.role == PictureRole::Face && item.element == guid(n)) order.push_back(n);
  EXPECT_EQ(order, (std::vector<int>{kQuiet, kPost, kBeam}));
}

TEST_F(Scene, ElementsOnHiddenLayersAreLeftOut) {
  host().model().addLayer(1, "Layer 1", true, false);
  Picture plan = draw("plan");
  EXPECT_TRUE(plan.items().empty());
  EXPECT_TRUE(plan.empty());
}

TEST_F(Scene, ATraceDrawsClicksAndRubberLinesOnTop) {
  standin::TraceMarks trace;
  trace.clicks = {{1, 2, 0}, {3, 2, 0}};
  trace.rubberLines = {{{1, 2, 0}, {3, 2, 0}}};
  Picture plan = draw("plan", &trace);
  const PictureItem& last = plan.items().back();
  EXPECT_EQ(last.role, PictureRole::Click);
  std::vector<PictureItem> lines;
  std::vector<PictureItem> dots;
  for (const PictureItem& item : plan.items()) {
    if (item.role == PictureRole::RubberLine) lines.push_back(item);
    if (item.role == PictureRole::Click && item.shape == PictureItem::Shape::Arc) dots.push_back(item);
  }
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NEAR(lines[0].points[1].x, 3, kNear);
  ASSERT_EQ(dots.size(), 2u);
  EXPECT_NEAR(dots[1].centre.x, 3, kNear);
  EXPECT_NEAR(dots[1].centre.y, 2, kNear);
  EXPECT_EQ(plan.legend().back().name, "rubber line");
  EXPECT_EQ(legendColour(plan, "click"), colours::kTrace);

  // In a section the pointer's coordinates are the view's own: along the cut line, up.
  trace.clicks = {{1, 2, 0}};
  trace.rubberLines.clear();
  Picture section = draw("A-A", &trace);
  dots.clear();
  for (const PictureItem& item : section.items())
    if (item.role == PictureRole::Click && item.shape == PictureItem::Shape::Arc) dots.push_back(item);
  ASSERT_EQ(dots.size(), 1u);
  EXPECT_NEAR(dots[0].centre.x, 1, kNear);
  EXPECT_NEAR(dots[0].centre.y, 2, kNear);
}

TEST_F(Scene, ViewsAreFoundByNameAndListed) {
  const struct {
    const char* name;
    bool found;
    standin::ViewChoice::Kind kind;
    const char* shown;
  } cases[] = {{"plan", true, standin::ViewChoice::Kind::Plan, "plan"},
               {"PLAN", true, standin::ViewChoice::Kind::Plan, "plan"},
               {"3D", true, standin::ViewChoice::Kind::Model3D, "3d"},
               {"a-a", true, standin::ViewChoice::Kind::CutPlane, "A-A"},
               {"north <&>", true, standin::ViewChoice::Kind::CutPlane, "North <&>"},
               {"B-B", false, standin::ViewChoice::Kind::Plan, ""},
               {"", false, standin::ViewChoice::Kind::Plan, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    standin::ViewChoice view;
    ASSERT_EQ(standin::findView(host().model(), c.name, view), c.found);
    if (!c.found) continue;
    EXPECT_EQ(view.kind, c.kind);
    EXPECT_EQ(view.name, c.shown);
  }
  EXPECT_EQ(standin::viewNames(host().model()), (std::vector<std::string>{"plan", "3d", "A-A", "North <&>"}));
}

}  // namespace
