// A loaded host with a small project open: three timber members of two timber types (their
// joint symbols set to "All", "Unchecked" and "None"), a plain object, a hatch, a line, a
// circle, texts, a wall, a section "A-A" with elements of its own and an elevation "North <&>".
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/render/scene.h"
#include "support/loaded_host.h"

namespace render_test {

// The fixture's elements by the last digits of their GUIDs.
inline platform::Guid guid(int n) {
  char text[40];
  std::snprintf(text, sizeof text, "54524553-0000-4000-0000-%012X", n);
  platform::Guid g{};
  standin::parseGuid(text, g);
  return g;
}
enum : int { kPost = 1, kBeam = 2, kQuiet = 3, kObject = 4, kHatch = 5, kLine = 6, kCircle = 7, kText = 8,
             kSectionText = 9, kSectionLine = 10, kWall = 11 };

class RenderFixture : public testing_support::LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    std::string error;
    ASSERT_TRUE(host().openProject(std::string(TRESTLAR_FIXTURES) + "/render/members.trestlar", error)) << error;
  }

  standin::Picture draw(const std::string& viewName, const standin::TraceMarks* trace = nullptr) {
    standin::ViewChoice view;
    EXPECT_TRUE(standin::findView(host().model(), viewName, view)) << viewName;
    return standin::drawView(host(), view, trace);
  }

  // The items of a picture that draw element n (with role, when given).
  static std::vector<standin::PictureItem> itemsOf(const standin::Picture& picture, int n) {
    std::vector<standin::PictureItem> out;
    for (const standin::PictureItem& item : picture.items())
      if (item.element == guid(n)) out.push_back(item);
    return out;
  }
  static std::vector<standin::PictureItem> itemsOf(const standin::Picture& picture, int n, standin::PictureRole role) {
    std::vector<standin::PictureItem> out;
    for (const standin::PictureItem& item : itemsOf(picture, n))
      if (item.role == role) out.push_back(item);
    return out;
  }
  static std::size_t count(const standin::Picture& picture, standin::PictureRole role) {
    std::size_t n = 0;
    for (const standin::PictureItem& item : picture.items()) n += item.role == role;
    return n;
  }
  // The legend's colour of name; fails the test when it has none.
  static standin::Rgb legendColour(const standin::Picture& picture, const std::string& name) {
    for (const standin::LegendEntry& e : picture.legend())
      if (e.name == name) return e.colour;
    ADD_FAILURE() << "no legend entry " << name;
    return {};
  }
  // The extent of items' points.
  static void extent(const std::vector<standin::PictureItem>& items, standin::PicturePoint& lo, standin::PicturePoint& hi) {
    bool first = true;
    for (const standin::PictureItem& item : items)
      for (const standin::PicturePoint& p : item.points) {
        if (first) lo = hi = p;
        first = false;
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
      }
  }
};

}  // namespace render_test
