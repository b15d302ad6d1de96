// The pointer add-on: one menu command, "Pointer/Ask for Clicks", asks for a point, the end
// of a line, the end of an arc and a polygon through user paths with a rubber bander, and
// tells what it got in a notification alert ("Clicks: ..."), or where the user cancelled.
#include <cmath>
#include <iomanip>
#include <memory>
#include <sstream>

#include "interaction/user_path.h"
#include "platform/resource_module.h"
#include "runtime/addon.h"
#include "runtime/alert.h"

namespace {

constexpr int16_t kMenu = 100;
constexpr int16_t kPrompts = 101;

const char kMenuStrings[] = "1\tPointer\n2\tAsk for Clicks\n";
const char kPromptStrings[] = "2\tAsks for a point, a line, an arc and a polygon\n";
const char kAddonStrings[] = "2\tPointer\n3\tAsks for clicks, for the command line's tests\n";

const platform::ResourceEntry kEntries[] = {
    {platform::kResourceStrings, kMenu, reinterpret_cast<const unsigned char*>(kMenuStrings), sizeof kMenuStrings - 1},
    {platform::kResourceStrings, kPrompts, reinterpret_cast<const unsigned char*>(kPromptStrings),
     sizeof kPromptStrings - 1},
    {platform::kResourceStrings, 32528, reinterpret_cast<const unsigned char*>(kAddonStrings),
     sizeof kAddonStrings - 1},
};

// Draws the edge from the path's last vertex to the cursor, a line or an arc by the cursor's
// arc angle; an erase call draws again what the draw call before it drew.
class EdgeBander : public lunvik::RubberBander {
 public:
  void draw(const lunvik::PolyPoint* last, const lunvik::PolyPoint& cursor, bool drawFlag, bool) override {
    if (drawFlag) {
      shown_ = last != nullptr;
      if (last) {
        from_ = *last;
        to_ = cursor;
      }
    }
    if (shown_) drawEdge(from_, to_);
  }

 private:
  bool shown_ = false;
  lunvik::PolyPoint from_;
  lunvik::PolyPoint to_;
};

// The coordinates in the stream's default form, rounding noise (1e-16) shown as 0.
std::string coordinates(const lunvik::CadPoint& p) {
  auto clean = [](double v) { return std::fabs(v) < 1e-9 ? 0.0 : v; };
  std::ostringstream out;
  out << clean(p.getX()) << " " << clean(p.getY()) << " " << clean(p.getZ());
  return out.str();
}

void tell(const std::string& text) { lunvik::NotifyAlert("Clicks").show(text); }

class AskForClicks : public lunvik::MenuSubscriber {
 public:
  AskForClicks() : MenuSubscriber(kMenu, kPrompts, 0, 0) {}

  bool menuSelected(lunvik::MenuEvent& event) override {
    if (event.itemIndex() != 1) return false;
    ask();
    return true;
  }

 private:
  static void ask() {
    lunvik::UserPath path(std::make_unique<EdgeBander>());
    path.setPrompt(1, "Click a point");
    path.setPrompt(2, "Click the end of the line");
    path.setPrompt(3, "Click the end of the arc");
    if (!path.getFirstPoint()) return tell("cancelled at the point");
    if (!path.getNextPoint(false)) return tell("cancelled at the line");
    if (!path.getArc()) return tell("cancelled at the arc");
    lunvik::UserPath polygon(std::make_unique<EdgeBander>());
    polygon.setPrompt(2, "Click the polygon's vertices");
    polygon.append(std::make_unique<lunvik::PolyPoint>(path[path.vertexCount() - 1]));
    if (!polygon.getPolygon()) return tell("cancelled at the polygon");
    std::ostringstream out;
    out << std::setprecision(6) << "point " << coordinates(path[0]) << "; line " << coordinates(path[1]) << "; arc "
        << coordinates(path[2]) << " angle " << path[2].arcAngle() << "; polygon";
    for (std::size_t i = 0; i < polygon.vertexCount(); ++i) out << (i ? ", " : " ") << coordinates(polygon[i]);
    tell(out.str());
  }
};

class PointerAddon : public lunvik::Addon {
 public:
  ~PointerAddon() override { unsubscribe(&menu_); }
  void setup() override { subscribe(&menu_); }

 private:
  AskForClicks menu_;
};

}  // namespace

namespace lunvik {

const platform::ResourceModule& addonResourceModule() {
  static const platform::ResourceModule module{"pointer", kEntries, uint32_t(sizeof kEntries / sizeof kEntries[0])};
  return module;
}

Addon* newProductAddon() { return new PointerAddon(); }

}  // namespace lunvik
