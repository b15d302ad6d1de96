// draw KIND X Y ...: the host's fill and slab tools in a session script. The vertices come in pairs;
// arc=ANGLE after a vertex makes the edge that ends there an arc turning by ANGLE (radians, or
// degrees with "deg"), counter-clockwise when positive; "hole" starts a hole. The polygon is
// drawn in the plan, or in the section or elevation view=NAME, and fires the host's
// notifications as a user's drawing does.
#include "cli/script_draw.h"

#include <strings.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "host/core/host.h"

namespace trestlar {

namespace {

// The farthest a drawn point may lie from the origin.
constexpr double kFarthest = 1e6;
constexpr double kPi = 3.14159265358979323846;

struct DrawnVertex {
  double x = 0;
  double y = 0;
  double arc = 0;
};

bool decimal(const std::string& word, double& value) {
  if (word.empty()) return false;
  char* end = nullptr;
  double v = std::strtod(word.c_str(), &end);
  if (!end || *end != '\0' || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool angleWord(const std::string& word, double& angle) {
  const bool degrees = word.size() > 3 && word.compare(word.size() - 3, 3, "deg") == 0;
  if (!decimal(degrees ? word.substr(0, word.size() - 3) : word, angle)) return false;
  if (degrees) angle *= kPi / 180;
  return std::fabs(angle) < 2 * kPi;
}

// The host's polygon record: a first entry standing for the whole, then each contour's
// vertices with its first repeated, as the contour is closed.
standin::StoredPolygon storedPolygon(const std::vector<std::vector<DrawnVertex>>& contours) {
  standin::StoredPolygon p;
  p.coords.push_back({0.0, 0.0});
  p.ends.push_back(0);
  p.ids.push_back(0);
  int32_t id = 0;
  for (std::size_t c = 0; c < contours.size(); ++c) {
    const auto& contour = contours[c];
    for (std::size_t i = 0; i < contour.size(); ++i) {
      p.coords.push_back({contour[i].x, contour[i].y});
      p.ids.push_back(++id);
      const int32_t at = int32_t(p.coords.size()) - 1;
      if (i > 0 && std::fabs(contour[i].arc) > 0.00001) p.arcs.push_back({at - 1, at, contour[i].arc});
    }
    p.coords.push_back({contour[0].x, contour[0].y});
    p.ids.push_back(p.ids[p.ids.size() - contour.size()]);
    const int32_t at = int32_t(p.coords.size()) - 1;
    if (std::fabs(contour[0].arc) > 0.00001) p.arcs.push_back({at - 1, at, contour[0].arc});
    p.ends.push_back(int32_t(p.coords.size()) - 1);
  }
  p.ids[0] = id;
  return p;
}

}  // namespace

bool verbDraw(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (!run.endDialog(error)) return false;
  const std::string& tool = line.words[1];
  int32_t typeID = 0;
  if (strcasecmp(tool.c_str(), "hatch") == 0) typeID = platform::kHatch;
  else if (strcasecmp(tool.c_str(), "slab") == 0) typeID = platform::kSlab;
  if (typeID == 0) {
    error = "\"" + tool + "\" is no polygon tool: hatch or slab";
    return false;
  }
  std::vector<std::vector<DrawnVertex>> contours(1);
  std::string label, viewName;
  std::vector<double> pending;
  for (std::size_t i = 2; i < line.words.size(); ++i) {
    const std::string& word = line.words[i];
    if (word.compare(0, 3, "as=") == 0) {
      label = word.substr(3);
      continue;
    }
    if (word.compare(0, 5, "view=") == 0) {
      viewName = word.substr(5);
      continue;
    }
    if (!pending.empty() && (word == "hole" || word.compare(0, 4, "arc=") == 0)) {
      error = "\"" + word + "\" comes after a lone coordinate: give each vertex as X Y";
      return false;
    }
    if (word == "hole") {
      contours.emplace_back();
      continue;
    }
    if (word.compare(0, 4, "arc=") == 0) {
      double angle = 0;
      if (contours.back().empty()) {
        error = "\"" + word + "\" follows no vertex";
        return false;
      }
      if (!angleWord(word.substr(4), angle)) {
        error = "\"" + word.substr(4) + "\" is no arc angle (radians, or degrees with deg; less than a whole turn)";
        return false;
      }
      contours.back().back().arc = angle;
      continue;
    }
    double value = 0;
    if (!decimal(word, value) || std::fabs(value) > kFarthest) {
      error = "\"" + word + "\" is not a coordinate (a number within 1000 km)";
      return false;
    }
    pending.push_back(value);
    if (pending.size() == 2) {
      contours.back().push_back({pending[0], pending[1], 0});
      pending.clear();
    }
  }
  if (!pending.empty()) {
    error = "the last vertex has one coordinate: give each vertex as X Y";
    return false;
  }
  for (std::size_t c = 0; c < contours.size(); ++c) {
    if (contours[c].size() < 3) {
      error = (c == 0 ? std::string("the outline") : "hole " + std::to_string(c)) + " needs 3 vertices at least";
      return false;
    }
  }
  standin::Host& host = run.host();
  standin::ProjectModel& model = host.model();
  if (!viewName.empty() && strcasecmp(viewName.c_str(), "plan") != 0) {
    standin::HostDatabase* db = model.databaseNamed(viewName);
    if (!db || (db->id.kind != platform::kDatabaseSection && db->id.kind != platform::kDatabaseElevation &&
                db->id.kind != platform::kDatabaseInteriorElevation)) {
      error = "there is no section or elevation \"" + viewName + "\"";
      return false;
    }
    model.setCurrent(db->id);
  } else {
    model.setCurrent(model.plan().id);
  }
  const std::size_t before = host.dialogs().records().size();
  standin::HostElement* e = model.placePolygon(typeID, storedPolygon(contours));
  if (!e) {
    error = "the host could not draw the " + tool;
    return false;
  }
  run.name(label.empty() ? "last" : label, e->record.header.guid);
  return run.afterCommand(line, before, error);
}

}  // namespace trestlar
