// The SVG writer: well-formed documents of the page's size whose texts are glyph outlines, so
// that no text of the project becomes markup.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cmath>
#include <limits>
#include <set>
#include <string>

#include "host/render/svg_writer.h"
#include "render_fixture.h"

namespace {

using standin::Picture;
using standin::PictureItem;
using standin::PictureRole;

// Every element name of the document, and the count of each.
void collectNames(const pugi::xml_node& node, std::multiset<std::string>& names) {
  for (const pugi::xml_node& child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    names.insert(child.name());
    collectNames(child, names);
  }
}

// Parses an SVG document; fails the test when it is not well-formed.
pugi::xml_node parse(pugi::xml_document& document, const std::string& svg) {
  pugi::xml_parse_result result = document.load_buffer(svg.data(), svg.size());
  EXPECT_TRUE(result) << result.description() << " at " << result.offset;
  return document.document_element();
}

Picture markupPicture() {
  Picture picture;
  picture.setTitle("</svg><script>alert('title')</script>");
  PictureItem box;
  box.shape = PictureItem::Shape::Polygon;
  box.points = {{0, 0}, {2, 0}, {2, 1}, {0, 1}};
  box.contourEnds = {4};
  box.filled = true;
  box.fill = {200, 161, 101};
  picture.add(box);
  for (const char* text : {"Post <b>\"&'</b>", "]]><!-- <![CDATA[ x", "<?xml version='1.0'?>", "&amp; &lt; &#60;",
                           "line one\nline two <tspan>"}) {
    PictureItem t;
    t.shape = PictureItem::Shape::Text;
    t.role = PictureRole::Label;
    t.points = {{1, 0.5}};
    t.text = text;
    t.textHeight = 0.15;
    t.fill = {0, 0, 0};
    picture.add(t);
  }
  picture.addLegend("Oak <script>alert(\"legend\")</script>", {200, 161, 101}, PictureRole::Face);
  picture.addLegend("x\" onload=\"alert(1)", {1, 2, 3}, PictureRole::JointChecked);
  return picture;
}

TEST(SvgWriter, TextsOfTheProjectNeverBecomeMarkup) {
  std::string svg, error;
  ASSERT_TRUE(standin::writeSvg(markupPicture(), svg, error)) << error;
  pugi::xml_document document;
  pugi::xml_node root = parse(document, svg);
  EXPECT_STREQ(root.name(), "svg");
  std::multiset<std::string> names;
  collectNames(root, names);
  const std::set<std::string> allowed = {"defs", "g", "symbol", "path", "use", "rect", "clipPath"};
  for (const std::string& name : names) EXPECT_TRUE(allowed.count(name)) << "an element " << name;
  EXPECT_GT(names.count("use"), 20u);  // the texts' glyphs
  // Not a character of the texts is in the document: they are outlines.
  for (const char* text : {"script", "alert", "onload", "tspan", "CDATA", "line one", "Post", "Oak"})
    EXPECT_EQ(svg.find(text), std::string::npos) << text;
}

TEST(SvgWriter, TheDocumentHasThePagesSize) {
  Picture picture = markupPicture();
  standin::PageLayout page = standin::layoutPage(picture);
  std::string svg, error;
  ASSERT_TRUE(standin::writeSvg(picture, svg, error)) << error;
  pugi::xml_document document;
  pugi::xml_node root = parse(document, svg);
  EXPECT_EQ(std::string(root.attribute("width").value()), std::to_string(page.width) + "px");
  EXPECT_EQ(std::string(root.attribute("height").value()), std::to_string(page.height) + "px");
  EXPECT_EQ(std::string(root.attribute("viewBox").value()),
            "0 0 " + std::to_string(page.width) + " " + std::to_string(page.height));
}

TEST(SvgWriter, PagesFitTheirPictureAtAtMostAHundredPixelsAMetre) {
  Picture small;
  PictureItem box;
  box.shape = PictureItem::Shape::Polyline;
  box.points = {{0, 0}, {2, 1}};
  small.add(box);
  standin::PageLayout page = standin::layoutPage(small);
  EXPECT_DOUBLE_EQ(page.scale, 100);
  // Margins of 20, a title line of 30, no legend, at least 240 wide.
  EXPECT_EQ(page.width, 260);
  EXPECT_EQ(page.height, 20 + 30 + 100 + 20);
  standin::PicturePoint corner = page.toPage({2, 1});
  EXPECT_DOUBLE_EQ(corner.x, 220);
  EXPECT_DOUBLE_EQ(corner.y, 50);
  corner = page.toPage({0, 0});
  EXPECT_DOUBLE_EQ(corner.x, 20);
  EXPECT_DOUBLE_EQ(corner.y, 150);

  Picture wide;
  box.points = {{0, 0}, {100, 10}};
  wide.add(box);
  page = standin::layoutPage(wide);
  EXPECT_DOUBLE_EQ(page.scale, 14);  // 1400 pixels across
  EXPECT_EQ(page.width, 20 + 1400 + 20);
}

TEST(SvgWriter, AnEmptyPictureIsAnEmptyPage) {
  std::string svg, error;
  ASSERT_TRUE(standin::writeSvg(Picture(), svg, error)) << error;
  pugi::xml_document document;
  EXPECT_STREQ(parse(document, svg).name(), "svg");
}

TEST(SvgWriter, TextThatIsNoUtf8IsShownAndDoesNotStopTheDrawing) {
  Picture picture;
  PictureItem t;
  t.shape = PictureItem::Shape::Text;
  t.points = {{0, 0}};
  t.text = std::string("caf\xE9 \xFF\xFE \xC0\x80 \x01\x1B[31m tab\tend");
  t.textHeight = 0.3;
  picture.add(t);
  PictureItem after;  // drawn after the text: Cairo must still be drawing
  after.shape = PictureItem::Shape::Polygon;
  after.points = {{0, 0}, {1, 0}, {1, 1}};
  after.filled = true;
  after.fill = {10, 20, 30};
  picture.add(after);
  std::string svg, error;
  ASSERT_TRUE(standin::writeSvg(picture, svg, error)) << error;
  pugi::xml_document document;
  parse(document, svg);
  EXPECT_NE(svg.find("rgb(3.921569%,7.843137%,11.764706%)"), std::string::npos);
}

TEST(SvgWriter, AnItemAtNoNumberIsLeftOutAndTheOthersDrawn) {
  Picture picture;
  PictureItem bad;
  bad.shape = PictureItem::Shape::Polyline;
  bad.points = {{0, 0}, {std::nan(""), 1}};
  picture.add(bad);
  PictureItem arc;
  arc.shape = PictureItem::Shape::Arc;
  arc.radius = std::numeric_limits<double>::infinity();
  picture.add(arc);
  PictureItem after;
  after.shape = PictureItem::Shape::Polygon;
  after.points = {{0, 0}, {1, 0}, {1, 1}};
  after.filled = true;
  after.fill = {10, 20, 30};
  picture.add(after);
  std::string svg, error;
  ASSERT_TRUE(standin::writeSvg(picture, svg, error)) << error;
  EXPECT_NE(svg.find("rgb(3.921569%,7.843137%,11.764706%)"), std::string::npos);
}

TEST(SvgWriter, DisplayTextKeepsUtf8AndReadsOtherBytesAsLatin1) {
  const struct {
    std::string bytes, shown;
  } cases[] = {
      {"plain <&> \"text\"", "plain <&> \"text\""},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\xB2", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\xB2"},
      {"caf\xE9", "caf\xC3\xA9"},                   // Latin-1
      {"\xC0\x80x", "\xC3\x80x"},                   // an overlong NUL: A-grave and a C1 control
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0"},          // a surrogate: i-acute, a no-break space, a C1 control
      {"a\tb\rc\x01" "d\x7F" "e", "a bcde"},         // controls dropped, a tab a blank
      {"one\ntwo", "one\ntwo"},
      {"\xC2\x85x", "x"},                            // a C1 control
      {"\xE2\x82", "\xC3\xA2"},                      // cut short
  };
  for (const auto& c : cases) EXPECT_EQ(standin::displayText(c.bytes), c.shown) << c.bytes;
}

class SvgOfTheProject : public render_test::RenderFixture {};

TEST_F(SvgOfTheProject, EveryViewOfAProjectFullOfMarkupIsWellFormed) {
  // Element IDs, labels, texts and view names with markup characters and quotes.
  for (const char* view : {"plan", "3d", "A-A", "North <&>"}) {
    SCOPED_TRACE(view);
    standin::Picture picture = draw(view);
    picture.setTitle(std::string("members.trestlar - ") + view);
    std::string svg, error;
    ASSERT_TRUE(standin::writeSvg(picture, svg, error)) << error;
    pugi::xml_document document;
    std::multiset<std::string> names;
    collectNames(parse(document, svg), names);
    for (const char* injected : {"script", "b", "text", "tspan", "own", "foreignObject"})
      EXPECT_EQ(names.count(injected), 0u) << injected;
    EXPECT_EQ(svg.find("<script"), std::string::npos);
    EXPECT_EQ(svg.find("<b>"), std::string::npos);
  }
}

}  // namespace
