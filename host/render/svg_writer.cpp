#include "host/render/svg_writer.h"

#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace standin {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMargin = 20;
constexpr double kTitleHeight = 30;
constexpr double kTitleSize = 16;
constexpr double kLegendGap = 30;
constexpr double kLegendRow = 22;
constexpr double kLegendSize = 13;
constexpr double kSwatch = 14;
constexpr double kMaxScale = 100;
constexpr double kMaxWidth = 1400;
constexpr double kMaxHeight = 1000;
constexpr std::size_t kLegendCharacters = 40;
const char* const kFont = "DejaVu Sans";

// The legend's width for its longest name, at about eight pixels a character.
double legendWidth(const Picture& picture) {
  std::size_t longest = 0;
  for (const LegendEntry& e : picture.legend()) longest = std::max(longest, std::min(e.name.size(), kLegendCharacters));
  return picture.legend().empty() ? 0 : kSwatch + 10 + 8.0 * double(longest);
}

// A legend name cut to its first characters (whole UTF-8 sequences).
std::string legendName(const std::string& name) {
  std::string shown = displayText(name);
  std::size_t characters = 0, at = 0;
  while (at < shown.size() && characters < kLegendCharacters) {
    ++characters;
    ++at;
    while (at < shown.size() && (static_cast<unsigned char>(shown[at]) & 0xC0) == 0x80) ++at;
  }
  return at < shown.size() ? shown.substr(0, at) + "\xE2\x80\xA6" : shown;
}

void setColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

cairo_status_t appendTo(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

void fillAndStroke(cairo_t* cr, const PictureItem& item) {
  if (item.filled) {
    setColour(cr, item.fill);
    if (item.stroked) cairo_fill_preserve(cr);
    else cairo_fill(cr);
  }
  if (item.stroked) {
    setColour(cr, item.stroke);
    cairo_set_line_width(cr, item.strokeWidth);
    cairo_stroke(cr);
  }
  cairo_new_path(cr);
}

// Lines of text, each centred on the point or starting at it, the first on it.
void drawText(cairo_t* cr, PicturePoint at, const std::string& text, double size, double angle, bool centred, Rgb colour) {
  if (!(size >= 0.5) || !std::isfinite(at.x) || !std::isfinite(at.y)) return;
  const std::string shown = displayText(text);
  cairo_save(cr);
  cairo_translate(cr, at.x, at.y);
  cairo_rotate(cr, -angle);
  cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  setColour(cr, colour);
  std::size_t start = 0;
  for (int line = 0; start <= shown.size(); ++line) {
    std::size_t end = shown.find('\n', start);
    if (end == std::string::npos) end = shown.size();
    const std::string part = shown.substr(start, end - start);
    double x = 0, y = line * size * 1.2;
    if (centred) {
      cairo_text_extents_t extents;
      cairo_text_extents(cr, part.c_str(), &extents);
      x = -extents.x_advance / 2;
      y += size * 0.35;
    }
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, part.c_str());
    start = end + 1;
  }
  cairo_restore(cr);
}

bool finite(PicturePoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

void drawItem(cairo_t* cr, const PageLayout& page, const PictureItem& item) {
  // A point that is not a number would put Cairo out of order for every item after it.
  for (const PicturePoint& p : item.points)
    if (!finite(p)) return;
  if (!finite(item.centre) || !std::isfinite(item.radius) || !std::isfinite(item.beginAngle) ||
      !std::isfinite(item.endAngle) || !std::isfinite(item.angle))
    return;
  switch (item.shape) {
    case PictureItem::Shape::Polygon:
    case PictureItem::Shape::Polyline: {
      if (item.points.size() < 2) return;
      const bool polygon = item.shape == PictureItem::Shape::Polygon;
      std::vector<std::size_t> ends = polygon && !item.contourEnds.empty() ? item.contourEnds
                                                                            : std::vector<std::size_t>{item.points.size()};
      std::size_t begin = 0;
      for (std::size_t end : ends) {
        end = std::min(end, item.points.size());
        for (std::size_t i = begin; i < end; ++i) {
          PicturePoint p = page.toPage(item.points[i]);
          if (i == begin) cairo_move_to(cr, p.x, p.y);
          else cairo_line_to(cr, p.x, p.y);
        }
        if (polygon && end > begin) cairo_close_path(cr);
        begin = end;
      }
      PictureItem paint = item;
      if (!polygon) paint.filled = false;
      fillAndStroke(cr, paint);
      return;
    }
    case PictureItem::Shape::Arc: {
      PicturePoint c = page.toPage(item.centre);
      double r = item.radius * page.scale;
      if (!(r > 0)) return;
      // Counter-clockwise in the picture is clockwise on the page, whose y runs down.
      cairo_new_sub_path(cr);
      cairo_arc_negative(cr, c.x, c.y, std::max(r, 0.5), -item.beginAngle, -item.endAngle);
      fillAndStroke(cr, item);
      return;
    }
    case PictureItem::Shape::Text:
      if (!item.points.empty())
        drawText(cr, page.toPage(item.points.front()), item.text, item.textHeight * page.scale, item.angle,
                 item.centred, item.fill);
      return;
  }
}

void drawLegend(cairo_t* cr, const Picture& picture, const PageLayout& page) {
  double y = page.legendTop;
  for (const LegendEntry& e : picture.legend()) {
    const double x = page.legendLeft;
    switch (e.role) {
      case PictureRole::JointChecked:
      case PictureRole::JointUnchecked:
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + kSwatch / 2, y + kSwatch / 2, kSwatch / 2 - 1, 0, 2 * kPi);
        setColour(cr, e.colour);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        break;
      case PictureRole::Click:
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + kSwatch / 2, y + kSwatch / 2, kSwatch / 2 - 3, 0, 2 * kPi);
        setColour(cr, e.colour);
        cairo_fill(cr);
        break;
      case PictureRole::RubberLine:
        cairo_move_to(cr, x, y + kSwatch / 2);
        cairo_line_to(cr, x + kSwatch, y + kSwatch / 2);
        setColour(cr, e.colour);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        break;
      default:
        cairo_rectangle(cr, x, y, kSwatch, kSwatch);
        setColour(cr, e.colour);
        cairo_fill_preserve(cr);
        setColour(cr, Rgb{51, 51, 51});
        cairo_set_line_width(cr, 0.75);
        cairo_stroke(cr);
        break;
    }
    drawText(cr, {x + kSwatch + 8, y + kSwatch - 2}, legendName(e.name), kLegendSize, 0, false, Rgb{0, 0, 0});
    y += kLegendRow;
  }
}

}  // namespace

std::string displayText(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      if (c == '\n') out += '\n';
      else if (c == '\t') out += ' ';
      else if (c >= 0x20 && c != 0x7F) out += char(c);
      ++i;
      continue;
    }
    // The length of a well-formed sequence starting here (0 when it is not one).
    std::size_t length = 0;
    uint32_t code = 0;
    if (c >= 0xC2 && c <= 0xDF) length = 2, code = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) length = 3, code = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) length = 4, code = c & 0x07;
    bool good = length > 0 && i + length <= n;
    for (std::size_t k = 1; good && k < length; ++k) {
      good = (s[i + k] & 0xC0) == 0x80;
      code = (code << 6) | (s[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not text.
    good = good && !(length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) &&
           !(length == 4 && (code < 0x10000 || code > 0x10FFFF));
    if (good) {
      // C1 control characters are dropped like the others.
      if (!(code >= 0x80 && code < 0xA0)) out.append(bytes, i, length);
      i += length;
      continue;
    }
    // A byte that is no UTF-8 is read as Latin-1.
    if (c >= 0xA0) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    }
    ++i;
  }
  return out;
}

PageLayout layoutPage(const Picture& picture) {
  PageLayout page;
  PicturePoint lo{0, 0}, hi{1, 1};
  if (!picture.empty()) {
    lo = picture.minimum();
    hi = picture.maximum();
  }
  const double w = std::max(hi.x - lo.x, 1e-3), h = std::max(hi.y - lo.y, 1e-3);
  page.scale = std::min({kMaxScale, kMaxWidth / w, kMaxHeight / h});
  page.minimum = lo;
  page.maximum = hi;
  page.left = kMargin;
  page.top = kMargin + kTitleHeight;
  const double drawingRight = page.left + w * page.scale, drawingBottom = page.top + h * page.scale;
  page.legendLeft = drawingRight + kLegendGap;
  page.legendTop = page.top;
  const double legendRight = picture.legend().empty() ? drawingRight : page.legendLeft + legendWidth(picture);
  const double legendBottom = page.legendTop + kLegendRow * double(picture.legend().size());
  page.width = int(std::ceil(std::max(legendRight, 240.0) + kMargin));
  page.height = int(std::ceil(std::max(drawingBottom, legendBottom) + kMargin));
  return page;
}

bool writeSvg(const Picture& picture, std::string& out, std::string& error) {
  const PageLayout page = layoutPage(picture);
  std::string svg;
  cairo_surface_t* surface = cairo_svg_surface_create_for_stream(&appendTo, &svg, page.width, page.height);
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
  cairo_t* cr = cairo_create(surface);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  setColour(cr, Rgb{255, 255, 255});
  cairo_paint(cr);
  drawText(cr, {kMargin, kMargin + kTitleSize}, picture.title(), kTitleSize, 0, false, Rgb{0, 0, 0});
  for (const PictureItem& item : picture.items()) drawItem(cr, page, item);
  drawLegend(cr, picture, page);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  // Cairo and fontconfig keep the fonts they found in caches of their own, which would outlive
  // the program; the next picture finds them again.
  cairo_debug_reset_static_data();
  FcFini();
  if (status != CAIRO_STATUS_SUCCESS) {
    error = std::string("the picture could not be drawn (") + cairo_status_to_string(status) + ")";
    return false;
  }
  out = std::move(svg);
  return true;
}

}  // namespace standin
