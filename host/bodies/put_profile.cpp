#include "host/bodies/put_profile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace standin {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSame = 0.00001;

std::string trimmed(const std::string& text) {
  std::size_t a = text.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return std::string();
  std::size_t b = text.find_last_not_of(" \t\r\n");
  return text.substr(a, b - a + 1);
}

// A field as a number: a decimal standing alone, finite and within reach.
bool fieldNumber(const std::string& field, double& value) {
  std::string text = trimmed(field);
  if (text.empty()) return false;
  for (char c : text)
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
      return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end && *end == '\0' && std::isfinite(value) && std::fabs(value) <= kFarthestProfilePoint;
}

bool wordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The text of the rows: the profile block, else every put statement's lines after "put".
bool rowText(const std::string& script, std::string& rows) {
  const std::size_t start = script.find("!LUNVIK_PROFILE_START");
  if (start != std::string::npos) {
    const std::size_t from = start + 21;
    const std::size_t end = script.find("!LUNVIK_PROFILE_END", from);
    if (end == std::string::npos) return false;
    std::string block = script.substr(from, end - from);
    std::string lower = block;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    std::size_t put = lower.find("put");
    if (put == std::string::npos) return false;
    rows = block.substr(put + 3);
    return true;
  }
  std::string upper = script;
  for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
  bool any = false;
  for (std::size_t at = 0; (at = upper.find("PUT", at)) != std::string::npos;) {
    bool word = (at == 0 || !wordChar(upper[at - 1])) && (at + 3 >= upper.size() || !wordChar(upper[at + 3]));
    at += 3;
    if (!word) continue;
    any = true;
    // The statement runs to the end of its line; a trailing comma continues it.
    while (at < script.size()) {
      std::size_t stop = script.find('\n', at);
      std::string line = script.substr(at, stop == std::string::npos ? std::string::npos : stop - at);
      std::size_t bang = line.find('!');
      if (bang != std::string::npos) line.resize(bang);
      at = stop == std::string::npos ? script.size() : stop + 1;
      std::string t = trimmed(line);
      bool more = !t.empty() && t.back() == ',';
      // Each statement's rows follow the ones before.
      if (!t.empty()) rows += more ? t : t + ",";
      rows += "\n";
      if (!more) break;
    }
  }
  return any;
}

// The points of an arc about centre from the point before, turning by sweep (radians), its
// first point left out; no facet farther than tolerance from the arc.
void arcPoints(const Point2& centre, const Point2& from, double sweep, double tolerance, Contour& out) {
  const double dx = from.first - centre.first, dy = from.second - centre.second;
  const double r = std::hypot(dx, dy);
  const double a0 = std::atan2(dy, dx);
  int steps = 1;
  if (r > tolerance && tolerance > 0) {
    double facet = 2 * std::acos((r - tolerance) / r);
    if (facet > 0) steps = int(std::ceil(std::fabs(sweep) / facet));
  } else {
    steps = int(std::ceil(std::fabs(sweep) / (kPi / 4)));
  }
  steps = std::max(1, std::min(steps, 720));
  for (int k = 1; k <= steps; ++k) {
    double a = a0 + sweep * k / steps;
    out.push_back({centre.first + r * std::cos(a), centre.second + r * std::sin(a)});
  }
}

bool samePoint(const Point2& a, const Point2& b) {
  return std::fabs(a.first - b.first) <= kSame && std::fabs(a.second - b.second) <= kSame;
}

// The contour without consecutive repeats and without a last point repeating the first.
Contour cleaned(const Contour& c) {
  Contour out;
  for (const Point2& p : c)
    if (out.empty() || !samePoint(out.back(), p)) out.push_back(p);
  while (out.size() > 1 && samePoint(out.front(), out.back())) out.pop_back();
  return out;
}

double cross(const Point2& a, const Point2& b, const Point2& c) {
  return (b.first - a.first) * (c.second - a.second) - (b.second - a.second) * (c.first - a.first);
}

// The outline with a hole joined to it by a bridge from the hole's rightmost point to a point
// of the outline it can see (the outline counter-clockwise, the hole clockwise).
bool bridge(Contour& outline, const Contour& hole) {
  std::size_t m = 0;
  for (std::size_t i = 1; i < hole.size(); ++i)
    if (hole[i].first > hole[m].first) m = i;
  const Point2 M = hole[m];
  // The nearest outline edge the ray from M along +x meets.
  double bestX = 0;
  std::size_t bestEdge = outline.size();
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const Point2& a = outline[i];
    const Point2& b = outline[(i + 1) % outline.size()];
    if ((a.second > M.second) == (b.second > M.second)) {
      if (a.second == M.second && a.first >= M.first && (bestEdge == outline.size() || a.first < bestX)) {
        bestX = a.first;
        bestEdge = i;
      }
      continue;
    }
    double x = a.first + (M.second - a.second) * (b.first - a.first) / (b.second - a.second);
    if (x < M.first) continue;
    if (bestEdge == outline.size() || x < bestX) {
      bestX = x;
      bestEdge = i;
    }
  }
  if (bestEdge == outline.size()) return false;
  const Point2 I{bestX, M.second};
  std::size_t p = bestEdge;
  const std::size_t q = (bestEdge + 1) % outline.size();
  if (outline[q].first > outline[p].first) p = q;
  if (samePoint(outline[bestEdge], I)) p = bestEdge;
  // A reflex outline point inside the triangle M, I, P hides P: take the one nearest the ray.
  const Point2 P = outline[p];
  double bestAngle = 10;
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const Point2& v = outline[i];
    if (i == p || samePoint(v, P)) continue;
    const Point2& prev = outline[(i + outline.size() - 1) % outline.size()];
    const Point2& next = outline[(i + 1) % outline.size()];
    if (cross(prev, v, next) >= 0) continue;  // not reflex
    double d1 = cross(M, I, v), d2 = cross(I, P, v), d3 = cross(P, M, v);
    bool inside = (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
    if (!inside) continue;
    double angle = std::fabs(std::atan2(v.second - M.second, v.first - M.first));
    if (angle < bestAngle) {
      bestAngle = angle;
      p = i;
    }
  }
  Contour merged;
  merged.reserve(outline.size() + hole.size() + 2);
  for (std::size_t i = 0; i <= p; ++i) merged.push_back(outline[i]);
  for (std::size_t k = 0; k <= hole.size(); ++k) merged.push_back(hole[(m + k) % hole.size()]);
  merged.push_back(outline[p]);
  for (std::size_t i = p + 1; i < outline.size(); ++i) merged.push_back(outline[i]);
  outline = std::move(merged);
  return true;
}

// Ear clipping of a (weakly) simple counter-clockwise polygon.
void clipEars(std::vector<Point2> poly, std::vector<std::vector<Point2>>& out) {
  std::size_t guard = 0;
  while (poly.size() > 3 && guard++ < 1000000) {
    bool clipped = false;
    for (std::size_t i = 0; i < poly.size(); ++i) {
      const Point2 a = poly[(i + poly.size() - 1) % poly.size()], b = poly[i], c = poly[(i + 1) % poly.size()];
      double turn = cross(a, b, c);
      if (std::fabs(turn) <= 1e-14 && samePoint(a, c)) {
        // A slit's tip: nothing to fill.
        poly.erase(poly.begin() + long(i));
        clipped = true;
        break;
      }
      if (turn <= 1e-14) continue;
      bool inside = false;
      for (const Point2& p : poly) {
        if (p == a || p == b || p == c) continue;
        if (cross(a, b, p) >= 0 && cross(b, c, p) >= 0 && cross(c, a, p) >= 0) {
          inside = true;
          break;
        }
      }
      if (inside) continue;
      out.push_back({a, b, c});
      poly.erase(poly.begin() + long(i));
      clipped = true;
      break;
    }
    if (!clipped) return;  // not a simple polygon: keep what was cut off
  }
  if (poly.size() == 3 && cross(poly[0], poly[1], poly[2]) > 1e-14) out.push_back(poly);
}

}  // namespace

double contourArea(const Contour& contour) {
  double area = 0;
  for (std::size_t i = 0; i < contour.size(); ++i) {
    const Point2& a = contour[i];
    const Point2& b = contour[(i + 1) % contour.size()];
    area += a.first * b.second - b.first * a.second;
  }
  return area / 2;
}

PutProfile readPutProfile(const std::string& script3D, double tolerance) {
  PutProfile profile;
  std::string text;
  if (!rowText(script3D, text)) return profile;
  std::vector<std::string> fields;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t stop = text.find_first_of("\r\n", at);
    if (stop == std::string::npos) stop = text.size();
    std::string line = trimmed(text.substr(at, stop - at));
    at = stop + 1;
    if (line.empty()) continue;
    bool last = line.back() != ',';
    if (last) line += ',';
    for (std::size_t from = 0; from < line.size();) {
      std::size_t comma = line.find(',', from);
      fields.push_back(line.substr(from, comma - from));
      from = comma + 1;
    }
    if (last) break;
  }
  if (fields.size() % 3 != 0) return profile;
  std::vector<Contour> contours(1);
  Point2 centre{0, 0};
  for (std::size_t i = 0; i < fields.size(); i += 3) {
    double x = 0, y = 0, s = 0;
    if (!fieldNumber(fields[i], x) || !fieldNumber(fields[i + 1], y) || !fieldNumber(fields[i + 2], s)) return profile;
    long status = long(s);
    long kind = status < 1 ? status : status / 100;
    Contour& c = contours.back();
    switch (kind) {
      case 0:
        c.push_back({x, y});
        break;
      case 1:
        if (!c.empty()) c.push_back({c.back().first + x, c.back().second + y});
        else c.push_back({x, y});
        break;
      case 7:
        if (!c.empty()) c.push_back(c.front());
        break;
      case 9:
        centre = {x, y};
        break;
      case 40:
        if (!c.empty()) arcPoints(centre, c.back(), y * kPi / 180, tolerance, c);
        break;
      case -1:
        contours.emplace_back();
        break;
      default:
        break;
    }
  }
  for (const Contour& c : contours) {
    Contour clean = cleaned(c);
    if (clean.size() >= 3 || (&c == &contours.front() && !clean.empty())) profile.contours.push_back(std::move(clean));
  }
  return profile;
}

std::vector<std::vector<Point2>> fillProfile(const PutProfile& profile) {
  std::vector<std::vector<Point2>> triangles;
  if (profile.contours.empty() || profile.contours[0].size() < 3) return triangles;
  Contour outline = profile.contours[0];
  if (contourArea(outline) < 0) std::reverse(outline.begin(), outline.end());
  std::vector<Contour> holes;
  for (std::size_t h = 1; h < profile.contours.size(); ++h) {
    if (profile.contours[h].size() < 3) continue;
    Contour hole = profile.contours[h];
    if (contourArea(hole) > 0) std::reverse(hole.begin(), hole.end());
    holes.push_back(std::move(hole));
  }
  // Holes farthest right first, so that each bridge crosses no hole still to come.
  std::sort(holes.begin(), holes.end(), [](const Contour& a, const Contour& b) {
    double ma = a[0].first, mb = b[0].first;
    for (const Point2& p : a) ma = std::max(ma, p.first);
    for (const Point2& p : b) mb = std::max(mb, p.first);
    return ma > mb;
  });
  for (const Contour& hole : holes) bridge(outline, hole);
  clipEars(outline, triangles);
  return triangles;
}

}  // namespace standin
