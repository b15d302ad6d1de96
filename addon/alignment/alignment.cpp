#include "alignment/alignment.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "alignment/alignment_dialog.h"
#include "alignment/cluster.h"
#include "alignment/preset_menu.h"
#include "geometry/tolerance.h"
#include "geometry/transformation.h"
#include "model/attribute.h"
#include "model/drawing.h"
#include "model/element_kinds.h"
#include "model/project.h"
#include "prefs/align_prefs.h"
#include "runtime/addon.h"
#include "runtime/alert.h"
#include "runtime/environment.h"

namespace varnholt {

namespace {

constexpr int32_t kUndoStrings = 32526;
constexpr int32_t kUndoName = 42;
// "Some of the selected elements are locked, ... so nothing was aligned".
constexpr int32_t kLockedMessage = 28;
// "The selection could not be aligned, ...".
constexpr int32_t kFailedMessage = 29;

void showError(int32_t message) {
  lunvik::ErrorAlert().show(lunvik::Environment::instance().string(kAlignStrings, message));
}

// Kinds the host keeps no box for: such an element is left out of the run.
bool boxless(int32_t typeID) {
  return typeID == platform::kGroup || typeID == platform::kSectionProxy || typeID == platform::kImage;
}

// How the current drawing's axes lie in the model for the elements a section or elevation
// shows of the plan: x runs along the cut line, y up and z across the line (to its left).
class ViewFrame {
 public:
  // Takes a cut plane's cut line; false when it cannot be read or has no length.
  bool read(lunvik::CutPlane& cut) {
    lunvik::CadPoint begin, end;
    double viewAngle = 0;
    if (!cut.cutLine(begin, end, viewAngle)) return false;
    const double dx = end.getX() - begin.getX(), dy = end.getY() - begin.getY();
    const double length = std::hypot(dx, dy);
    if (length < lunvik::kTolerance) return false;
    origin_ = begin;
    cos_ = dx / length;
    sin_ = dy / length;
    return true;
  }
  // A model box as the drawing shows it.
  lunvik::CadCube toView(const lunvik::CadCube& model) const {
    lunvik::CadCube view;
    for (int corner = 0; corner < 8; ++corner) {
      const lunvik::CadPoint p((corner & 1 ? model.max() : model.min()).getX(),
                               (corner & 2 ? model.max() : model.min()).getY(),
                               (corner & 4 ? model.max() : model.min()).getZ());
      const double dx = p.getX() - origin_.getX(), dy = p.getY() - origin_.getY();
      const lunvik::CadPoint seen(dx * cos_ + dy * sin_, p.getZ(), -dx * sin_ + dy * cos_);
      if (corner == 0) view = lunvik::CadCube(seen, seen);
      else view.add(seen);
    }
    return view;
  }
  // An offset in the drawing as an offset in the model: up becomes z, across the line y, and
  // both turn with the cut line.
  lunvik::CadPoint toModel(const lunvik::CadPoint& offset) const {
    const double along = offset.getX(), up = offset.getY(), across = offset.getZ();
    return lunvik::CadPoint(along * cos_ - across * sin_, along * sin_ + across * cos_, up);
  }

 private:
  lunvik::CadPoint origin_;
  double cos_ = 1.0;
  double sin_ = 0.0;
};

// What reading one selected element came to.
enum class Read { kept, locked, failed };

// Reads the selected elements into clusters: grouped elements share their main group's
// cluster while groups are active, every other element has its own.
class Gatherer {
 public:
  Gatherer(lunvik::Project& project, lunvik::Drawing& drawing, bool groupsActive)
      : project_(project), drawing_(drawing), groupsActive_(groupsActive) {}

  // Adds one selected element; an element of a kind without a box is left out (kept).
  Read add(const lunvik::ElementLink& selected);
  ClusterList& clusters() { return clusters_; }
  const ViewFrame& frame() const { return frame_; }

 private:
  // A group's outermost group (its GUID as text) and whether it or a group around it is
  // locked.
  struct GroupInfo {
    std::string main;
    bool locked = false;
  };
  // The information of the group an element is in; false when a group cannot be read.
  bool groupOf(const platform::Guid& group, GroupInfo& out);

  lunvik::Project& project_;
  lunvik::Drawing& drawing_;
  bool groupsActive_;
  ClusterList clusters_;
  ViewFrame frame_;
  bool frameRead_ = false;
  std::unordered_map<std::string, GroupInfo> groups_;      // by the group's GUID text
  std::unordered_map<std::string, std::size_t> clusterOf_;  // by the main group's GUID text
};

Read Gatherer::add(const lunvik::ElementLink& selected) {
  std::unique_ptr<lunvik::Element> element = drawing_.findByGuid(selected);
  if (!element) return Read::failed;
  // A section or elevation shows plan elements through proxies: the element behind one moves.
  bool proxy = selected.typeID() == platform::kSectionProxy;
  if (auto* shown = dynamic_cast<lunvik::ProxyElem*>(element.get())) {
    const lunvik::ElementLink target = shown->target();
    lunvik::Drawing* owner = project_.drawing(target.database());
    element = owner ? owner->findByGuid(target) : nullptr;
    if (!element) return Read::failed;
    proxy = true;
  }
  auto* cut = dynamic_cast<lunvik::CutPlane*>(&drawing_);
  proxy = proxy && cut;
  if (proxy && !frameRead_) {
    if (!frame_.read(*cut)) return Read::failed;
    frameRead_ = true;
  }

  const platform::ElementHeader& header = element->header();
  if (header.locked) return Read::locked;
  const lunvik::Layer* layer = project_.specification().layer(header.layer);
  if (layer && layer->isLocked()) return Read::locked;
  GroupInfo group;
  const bool grouped = !platform::isZero(header.groupGuid);
  if (grouped) {
    if (!groupOf(header.groupGuid, group)) return Read::failed;
    if (group.locked) return Read::locked;
  }

  std::unique_ptr<lunvik::CadCube> box = element->boundingBox();
  if (!box) return boxless(element->typeID()) ? Read::kept : Read::failed;
  const lunvik::CadCube seen = proxy ? frame_.toView(*box) : *box;
  lunvik::ElementLink link(header);
  if (proxy) {
    platform::ElementHeader shownBy{};
    shownBy.guid = selected.guidValue();
    link.setProxy(shownBy, drawing_.identity());
  }
  if (groupsActive_ && grouped) {
    auto at = clusterOf_.find(group.main);
    if (at != clusterOf_.end()) {
      clusters_[at->second].add(link, seen);
      return Read::kept;
    }
    clusterOf_.emplace(group.main, clusters_.size());
  }
  clusters_.push_back(new Cluster(link, seen));
  return Read::kept;
}

bool Gatherer::groupOf(const platform::Guid& group, GroupInfo& out) {
  // The groups from the element's up to the first one known (or the outermost), each with
  // its own lock.
  std::vector<std::pair<std::string, bool>> path;
  GroupInfo above;
  bool known = false;
  platform::Guid at = group;
  for (int depth = 0; !platform::isZero(at) && depth < 1000; ++depth) {
    std::string key = lunvik::guidText(at).str();
    auto hit = groups_.find(key);
    if (hit != groups_.end()) {
      above = hit->second;
      known = true;
      break;
    }
    std::unique_ptr<lunvik::Element> read = drawing_.findByGuid(lunvik::ElementLink(platform::kGroup, 0, at));
    if (!read || read->typeID() != platform::kGroup) return false;
    path.emplace_back(std::move(key), read->header().locked != 0);
    at = read->header().groupGuid;
  }
  if (!known) {
    if (path.empty()) return false;
    above.main = path.back().first;
  }
  for (auto it = path.rbegin(); it != path.rend(); ++it) {
    above.locked = above.locked || it->second;
    groups_[it->first] = above;
  }
  out = groups_[lunvik::guidText(group).str()];
  return true;
}

// One element moved, to be moved back should a later one fail.
struct Moved {
  lunvik::Drawing* drawing;
  lunvik::ElementLink link;
  lunvik::CadPoint offset;
};

// Moves every member of every cluster that has somewhere to go; false at the first move the
// host refuses, with moved holding those done.
bool moveClusters(lunvik::Project& project, lunvik::Drawing& current, const ClusterList& clusters,
                  const ViewFrame& frame, std::vector<Moved>& moved) {
  for (const auto& cluster : clusters) {
    if (cluster->stays()) continue;
    for (const lunvik::ElementLink& member : cluster->members()) {
      const bool proxy = member.proxyType() == platform::kSectionProxy;
      const lunvik::CadPoint offset = proxy ? frame.toModel(cluster->offset()) : cluster->offset();
      lunvik::Drawing* owner = member.database().kind != 0 ? project.drawing(member.database()) : nullptr;
      lunvik::Drawing& drawing = owner ? *owner : current;
      lunvik::ElementLink link = member;
      if (!drawing.applyTransformation(link, lunvik::MoveTransform(offset, lunvik::CadPoint()))) return false;
      moved.push_back({&drawing, link, offset});
    }
  }
  return true;
}

// Moves back what moveClusters moved, the last first.
void moveBack(std::vector<Moved>& moved) {
  for (auto it = moved.rbegin(); it != moved.rend(); ++it)
    it->drawing->applyTransformation(it->link, lunvik::MoveTransform(it->offset * -1.0, lunvik::CadPoint()));
}

// Ends the suspension of groups the run began. A failed query would make the switch think
// it was done already, so the state is asked once more.
void restoreGroups(lunvik::Environment& environment) {
  environment.setGroupsSuspended(false);
  if (environment.groupsSuspended()) environment.setGroupsSuspended(false);
}

// Decides the working preset from the command; false when the dialog was not accepted.
bool choosePreset(int32_t command, lunvik::Addon& addon, AlignPrefs& prefs) {
  if (command == Alignment::kDialog) {
    auto remember = [&addon, &prefs] {
      addon.saveToProject();
      showPresetNames(addon, prefs);
    };
    AlignmentDialog dialog(prefs, remember);
    if (dialog.run() != 1) return false;
    remember();
    return true;
  }
  if (command >= 1 && std::size_t(command) < prefs.presets().size()) {
    AlignPreset& working = prefs.presets()[0];
    const AlignPreset& chosen = prefs.presets()[std::size_t(command)];
    working.name = chosen.name;
    copyPresetValues(chosen, working);
  }
  return true;
}

}  // namespace

lunvik::EventSpec Alignment::spec() const {
  return lunvik::EventSpec(lunvik::kProductCategory, platform::fourcc("ALGN"));
}

bool Alignment::takeEvent(lunvik::Event& event) {
  auto* preset = dynamic_cast<lunvik::LongEvent*>(&event);
  // A long event never opens the dialog: a number below 0 names no preset, as one too high.
  run(preset ? std::max<int32_t>(preset->value(), 0) : kDialog);
  return true;
}

Alignment::Outcome Alignment::run(int32_t command) {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Project* project = addon ? addon->project() : nullptr;
  lunvik::Drawing* drawing = addon ? addon->currentDrawing() : nullptr;
  auto* prefs = project ? dynamic_cast<AlignPrefs*>(project->store().get(AlignPrefs::kCode)) : nullptr;
  if (!drawing || !prefs) return Outcome::nothing;
  if (prefs->presets().size() < AlignPrefs::kFactoryPresetCount) {
    prefs->reset();
    addon->saveToProject();
    showPresetNames(*addon, *prefs);
  }

  const lunvik::ElemRefList* current = drawing->selection();
  if (!current || current->size() < 2) return Outcome::nothing;
  // The drawing's cache goes with the first change of the selection.
  const std::unique_ptr<lunvik::ElemRefList> selection = current->clone();
  if (!choosePreset(command, *addon, *prefs)) return Outcome::cancelled;

  lunvik::Environment& environment = lunvik::Environment::instance();
  const bool groupsActive = !environment.groupsSuspended();
  Gatherer gatherer(*project, *drawing, groupsActive);
  for (const auto& link : *selection) {
    const Read read = gatherer.add(*link);
    if (read == Read::kept) continue;
    showError(read == Read::locked ? kLockedMessage : kFailedMessage);
    return read == Read::locked ? Outcome::locked : Outcome::failed;
  }
  ClusterList& clusters = gatherer.clusters();
  if (clusters.size() < 2) return Outcome::nothing;
  clusters.arrange(prefs->presets()[0]);
  bool anyMoves = false;
  for (const auto& c : clusters) anyMoves = anyMoves || !c->stays();
  if (!anyMoves) return Outcome::nothing;

  // Members of an active group would drag their whole group along with them.
  if (groupsActive) {
    environment.setGroupsSuspended(true);
    if (!environment.groupsSuspended()) {
      restoreGroups(environment);
      showError(kFailedMessage);
      return Outcome::failed;
    }
  }
  const uint32_t step = addon->openUndoStep(environment.string(kUndoStrings, kUndoName));
  drawing->deselectAll();
  std::vector<Moved> moved;
  const bool done = moveClusters(*project, *drawing, clusters, gatherer.frame(), moved);
  if (!done) moveBack(moved);
  project->activate(*drawing);
  addon->closeUndoStep(step);
  drawing->rebuildAll();
  if (groupsActive) restoreGroups(environment);
  if (dynamic_cast<lunvik::CutPlane*>(drawing)) drawing->rebuild(0);
  drawing->select(*selection);
  if (!done) {
    showError(kFailedMessage);
    return Outcome::failed;
  }
  return Outcome::moved;
}

}  // namespace varnholt
