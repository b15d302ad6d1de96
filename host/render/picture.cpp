#include "host/render/picture.h"

#include <algorithm>
#include <cmath>

namespace standin {

void Picture::extend(PicturePoint p) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
  if (!bounded_) {
    min_ = max_ = p;
    bounded_ = true;
    return;
  }
  min_ = {std::min(min_.x, p.x), std::min(min_.y, p.y)};
  max_ = {std::max(max_.x, p.x), std::max(max_.y, p.y)};
}

void Picture::add(PictureItem item) {
  switch (item.shape) {
    case PictureItem::Shape::Polygon:
    case PictureItem::Shape::Polyline:
      for (const PicturePoint& p : item.points) extend(p);
      break;
    case PictureItem::Shape::Arc:
      extend({item.centre.x - item.radius, item.centre.y - item.radius});
      extend({item.centre.x + item.radius, item.centre.y + item.radius});
      break;
    case PictureItem::Shape::Text:
      if (!item.points.empty()) {
        // About six tenths of the height a character, as wide as the longest line.
        std::size_t longest = 0, characters = 0, lines = 1;
        for (char c : item.text) {
          if (c == '\n') {
            ++lines;
            characters = 0;
          } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            longest = std::max(longest, ++characters);
          }
        }
        const PicturePoint at = item.points.front();
        const double width = 0.6 * item.textHeight * double(longest), depth = 1.2 * item.textHeight * double(lines);
        if (std::fabs(item.angle) > 1e-9) {
          // A turned text stays within its length around its point.
          const double reach = std::max(width, depth);
          extend({at.x - reach, at.y - reach});
          extend({at.x + reach, at.y + reach});
        } else {
          const double left = item.centred ? at.x - width / 2 : at.x;
          extend({left, at.y + item.textHeight});
          extend({left + width, at.y - depth + item.textHeight * 0.8});
        }
      }
      break;
  }
  items_.push_back(std::move(item));
}

void Picture::addLegend(const std::string& name, Rgb colour, PictureRole role) {
  for (const LegendEntry& e : legend_)
    if (e.name == name) return;
  legend_.push_back(LegendEntry{name, colour, role});
}

}  // namespace standin
