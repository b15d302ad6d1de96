// A picture of a view of the project: flat items in the view's own frame (metres, x to the
// right, y up), drawn in order, each saying what it shows and which element it draws. The
// renderer builds one (scene.h) and the writer turns it into a file (svg_writer.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/element_records.h"

namespace standin {

// A colour, 0 to 255 a channel.
struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

inline bool operator==(const Rgb& a, const Rgb& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(const Rgb& a, const Rgb& b) { return !(a == b); }

// A point of the picture, in metres of the view's frame.
struct PicturePoint {
  double x = 0;
  double y = 0;
};

// What an item shows.
enum class PictureRole {
  Face,            // a face of a 3D body
  Outline,         // the box of a placed part that has no body, or a wall's, column's or beam's outline
  Polygon,         // a slab, roof, mesh, hatch, polyline or drawing
  Line,            // a line, hotspot or dimension
  Arc,             // an arc or circle
  Text,            // a text element
  JointChecked,    // the symbol of a checked joint
  JointUnchecked,  // the symbol of a joint not yet checked
  CutNumber,       // a member's cut number
  Label,           // a member's label
  Click,           // a point a session script clicked
  RubberLine,      // a rubber line the add-on showed while asking for input
};

// One item: a filled or stroked polygon or polyline, a circle or arc, or a text.
struct PictureItem {
  enum class Shape { Polygon, Polyline, Arc, Text };
  Shape shape = Shape::Polygon;
  PictureRole role = PictureRole::Face;
  std::vector<PicturePoint> points;      // polygon and polyline vertices; a text's base point
  std::vector<std::size_t> contourEnds;  // a polygon's contours (one past the last vertex of each), outline first
  bool filled = false;
  Rgb fill;
  bool stroked = true;
  Rgb stroke;
  double strokeWidth = 1;                // in pixels of the written picture
  PicturePoint centre;                   // an arc's centre, radius and angles (radians,
  double radius = 0;                     // counter-clockwise from the x axis)
  double beginAngle = 0;
  double endAngle = 0;
  std::string text;                      // a text's content (any bytes; shown, never interpreted)
  double textHeight = 0;                 // metres
  double angle = 0;                      // a text's direction, radians
  bool centred = false;                  // a text centred on its point, else starting there
  platform::Guid element{};              // the element drawn, zero for none
  bool highlighted = false;              // the element is selected
};

// One line of the legend.
struct LegendEntry {
  std::string name;
  Rgb colour;
  PictureRole role = PictureRole::Face;
};

// A picture: its title, items in drawing order and legend.
class Picture {
 public:
  // Appends an item (drawn over those before it).
  void add(PictureItem item);
  // Adds a legend line unless one of that name is there.
  void addLegend(const std::string& name, Rgb colour, PictureRole role);

  const std::vector<PictureItem>& items() const { return items_; }
  const std::vector<LegendEntry>& legend() const { return legend_; }
  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }

  // True when no item has an extent.
  bool empty() const { return !bounded_; }
  // The extent of the items' geometry (texts by their base point and height).
  PicturePoint minimum() const { return min_; }
  PicturePoint maximum() const { return max_; }

 private:
  void extend(PicturePoint p);

  std::string title_;
  std::vector<PictureItem> items_;
  std::vector<LegendEntry> legend_;
  bool bounded_ = false;
  PicturePoint min_;
  PicturePoint max_;
};

}  // namespace standin
