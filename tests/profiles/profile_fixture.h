// A loaded host with an open project whose library is an empty folder of its own, and the
// helpers the profile tests share: drawing polygons, answering the New Profile dialog and reading
// the parts the add-on writes.
#pragma once

#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/core/fault_table.h"
#include "host/library/part_file.h"
#include "support/dialog_script.h"
#include "support/loaded_host.h"

namespace profile_testing {

namespace fs = std::filesystem;

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kProfileDialog = 32511;

// A vertex: x, y and the arc of the edge that ends there.
struct Vertex {
  double x = 0;
  double y = 0;
  double arc = 0;
};
using Contour = std::vector<Vertex>;

// The host's polygon record of contours (the outline first).
inline standin::StoredPolygon storedPolygon(const std::vector<Contour>& contours, bool closed = true) {
  standin::StoredPolygon p;
  p.coords.push_back({closed ? 0.0 : -1.0, 0.0});
  p.ends.push_back(0);
  p.ids.push_back(0);
  int32_t id = 0;
  for (std::size_t c = 0; c < contours.size(); ++c) {
    const Contour& contour = contours[c];
    for (std::size_t i = 0; i < contour.size(); ++i) {
      p.coords.push_back({contour[i].x, contour[i].y});
      p.ids.push_back(++id);
      const int32_t at = int32_t(p.coords.size()) - 1;
      if (i > 0 && contour[i].arc != 0) p.arcs.push_back({at - 1, at, contour[i].arc});
    }
    if (closed || c > 0) {
      p.coords.push_back({contour[0].x, contour[0].y});
      p.ids.push_back(p.ids[p.ids.size() - contour.size()]);
      const int32_t at = int32_t(p.coords.size()) - 1;
      if (contour[0].arc != 0) p.arcs.push_back({at - 1, at, contour[0].arc});
    }
    p.ends.push_back(int32_t(p.coords.size()) - 1);
  }
  p.ids[0] = id;
  return p;
}

inline std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The profile block of a part file's 3D script (between the markers).
inline std::string putBlock(const standin::LibraryPart& part) {
  const standin::PartSection* script = part.section(0x33445343u);
  if (!script) return std::string();
  const std::string& s = script->data;
  std::size_t from = s.find("!LUNVIK_PROFILE_START"), to = s.find("!LUNVIK_PROFILE_END");
  if (from == std::string::npos || to == std::string::npos) return std::string();
  from += 21;
  return s.substr(from, to - from);
}

class ProfileHost : public testing_support::LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    folder_ = appData() + "/parts";
    fs::create_directories(folder_);
    host().newProject();
    host().setLibraryFolders({folder_});
    host().clearRecords();
  }

  standin::ProjectModel& model() { return host().model(); }

  // Draws a polygon element of kind and selects it alone.
  standin::HostElement* draw(const std::vector<Contour>& contours, int32_t kind = platform::kHatch, bool closed = true) {
    model().setCurrent(model().plan().id);
    standin::HostElement* e = model().placePolygon(kind, storedPolygon(contours, closed));
    model().deselectAll();
    if (e) model().select(e->record.header.guid, true);
    return e;
  }

  // Queues the New Profile dialog's answers: the type by its text, the name, the value of the
  // type's field (typed as the user types it), then OK.
  void answerProfileDialog(const std::string& type, const std::string& name, const std::string& value,
                           testing_support::Actions more = {}) {
    using namespace testing_support;
    const int16_t field = type == "Elevation" ? 8 : type == "Section" ? 10 : 12;
    Actions actions = {chooseEntry(4, type), setItem(6, name), setItem(field, value)};
    actions.insert(actions.end(), more.begin(), more.end());
    actions.push_back(pressOk());
    host().dialogs().queueDialog(kProfileDialog, actions);
  }

  void chooseMenu(const std::string& path) {
    standin::MenuItem item;
    ASSERT_TRUE(host().findMenuItem(path, item)) << path;
    host().chooseMenuItem(item.menuList, item.itemIndex);
  }
  void newProfile() { chooseMenu("Framing/Component/New Profile..."); }

  // The part files of the library folder.
  std::vector<std::string> partFiles() const {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder_)) files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
  }
  // The part the add-on wrote, read from its file.
  standin::LibraryPart partFile(const std::string& name) const {
    standin::LibraryPart part;
    std::string problem;
    EXPECT_TRUE(standin::readPartText(readText(folder_ + "/" + name + ".gsm"), part, problem)) << problem;
    return part;
  }
  // The objects of the plan.
  std::vector<standin::HostElement*> objects() { return model().elements(model().plan(), platform::kObject); }
  // The texts of the alerts shown.
  std::vector<std::string> alertTexts() const {
    std::vector<std::string> texts;
    for (const auto& a : host_->alerts()) texts.push_back(a.text);
    return texts;
  }
  static double number(const standin::LibraryPart& part, const std::string& name) {
    const standin::PartParameter* p = part.parameter(name);
    return p && !p->numbers.empty() ? p->numbers[0] : std::nan("");
  }
  static double value(const standin::HostElement& e, const std::string& name) {
    for (const auto& p : e.parameters)
      if (strcasecmp(p.record.name, name.c_str()) == 0) return p.record.value.real;
    return std::nan("");
  }

  std::string folder_;
};

}  // namespace profile_testing
