#include "tools/rotate_tool.h"

#include <boost/shared_ptr.hpp>
#include <cmath>
#include <vector>

#include "geometry/leveller.h"
#include "geometry/tolerance.h"
#include "geometry/vector3.h"
#include "interaction/progress_window.h"
#include "interaction/user_path.h"
#include "model/element_kinds.h"
#include "model/storey.h"
#include "profiles/upgrade_profile.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "timber/crafted.h"
#include "tools/rubber_rotater.h"
#include "tools/tool_support.h"

namespace varnholt {

using lunvik::CadLine;
using lunvik::CadPoint;
using lunvik::kTolerance;
using lunvik::Vector3;

namespace {

constexpr int32_t kPromptStrings = 32522;
constexpr int32_t kUndoName = 1;
constexpr int32_t kProgressTitle = 32;
constexpr int32_t kProgressText = 33;

// An angle in [0, 2pi).
double wrapped(double a) {
  a = std::fmod(a, lunvik::kTwoPi);
  if (a < 0) a += lunvik::kTwoPi;
  if (a >= lunvik::kTwoPi) a = 0;
  return a;
}

// The member's placement point with its height above the project's zero.
CadPoint placementOf(Crafted& member) {
  CadPoint at = member.placement();
  return CadPoint(at.getX(), at.getY(), member.timberElement().elevation(true));
}

void setPromptsOf(lunvik::UserPath& path) {
  for (int which = 1; which <= 3; ++which) path.setPrompt(which, productText(kPromptStrings, 8 + which));
}

}  // namespace

bool IsRotateable::accept(const lunvik::Element& element) const {
  if (dynamic_cast<const Crafted*>(&element)) return true;
  if (!dynamic_cast<const lunvik::ComponentElem*>(&element)) return false;
  return hasModel(element);
}

MemberRotation::MemberRotation(const CadLine& axis, double angle)
    : origin_(axis.start()),
      azimuth_(axis.start().azimuth(axis.end())),
      toAxis_(-azimuth_, kTolerance),
      fromAxis_(azimuth_, kTolerance),
      turn_(-angle, kTolerance) {}

bool MemberRotation::rotate(Crafted& member, bool store) const {
  double incline = 0, swivel = 0;
  if (!member.incline(incline) || !member.swivel(swivel)) return false;
  if (dynamic_cast<Blob*>(&member)) {
    int32_t count = 0;
    if (member.getInteger(member.parameterName(kSpotCountParameter).c_str(), count) && count == 0)
      member.recalculate(true);
  }
  // The member's length and minus its width, in a frame whose x runs along the axis.
  Vector3 u(1, 0, 0), v(0, -1, 0);
  for (Vector3* w : {&u, &v}) {
    lunvik::XRotater(swivel, kTolerance).rotate(*w);
    lunvik::YRotater(incline, kTolerance).rotate(*w);
    lunvik::ZRotater(member.planAngle() - azimuth_, kTolerance).rotate(*w);
  }
  CadPoint p = placementOf(member) - origin_;
  toAxis_.rotate(p);
  turn_.rotate(p);
  fromAxis_.rotate(p);
  for (Vector3* w : {&u, &v}) {
    turn_.rotate(*w);
    fromAxis_.rotate(*w);
  }
  p += origin_;
  const double plan = wrapped(u.azimuth());
  const double slope = -u.altitude();
  // The swivel: the turn about the new length from where minus the width would lie unswivelled
  // to where it lies, both seen along the length.
  const lunvik::Leveller level(u, 0, kTolerance);
  Vector3 across = v;
  Vector3 flat(std::cos(plan - lunvik::kHalfPi), std::sin(plan - lunvik::kHalfPi), 0);
  level.level(across);
  level.level(flat);
  const double roll = wrapped(across.azimuth() - flat.azimuth());

  member.setPlacement(p);
  member.timberElement().setElevation(p.getZ(), true);
  member.setPlanAngle(plan);
  member.setIncline(slope);
  member.setSwivel(roll);
  // The box follows the member's new attitude.
  member.syncFromRotation();
  return !store || member.store();
}

bool rotateMember(const CadLine& axis, double angle, Crafted& member) {
  return MemberRotation(axis, angle).rotate(member, true);
}

bool planRotationAxis(lunvik::Drawing& plan, CadLine& axis, double& angle) {
  lunvik::UserPath path;
  setPromptsOf(path);
  if (!path.getNextPoint(false) || path.vertexCount() != 2) return false;
  const lunvik::Storey* storey = plan.currentStorey();
  const double z = storey ? storey->elevation() : 0;
  const CadPoint first(path.vertex(0).getX(), path.vertex(0).getY(), z);
  const CadPoint second(path.vertex(1).getX(), path.vertex(1).getY(), z);
  path.setRubberBander(std::make_unique<RubberRotater>(first, first.azimuth(second), first.distance(second)));
  if (!path.getArc() || path.vertexCount() != 3) return false;
  axis = CadLine(first, second);
  angle = path.vertex(2).arcAngle();
  return true;
}

bool viewRotationAxis(lunvik::CutPlane& view, CadLine& axis, double& angle) {
  lunvik::UserPath path;
  setPromptsOf(path);
  if (!path.getNextPoint(false) || !path.getArc() || path.vertexCount() != 3) return false;
  // Across the view: square to its cut line, through the first click at its height.
  CadPoint begin, end, start;
  double viewAngle = 0;
  if (!view.cutLine(begin, end, viewAngle) || !view.toModel(path.vertex(0).getX(), path.vertex(0).getY(), start))
    return false;
  const double across = begin.azimuth(end) + lunvik::kHalfPi;
  axis = CadLine(start, start + CadPoint(std::cos(across), std::sin(across), 0));
  angle = path.vertex(2).arcAngle();
  return true;
}

lunvik::EventSpec RotateTool::spec() const { return lunvik::EventSpec(lunvik::kProductCategory, platform::fourcc("ROTL")); }

bool RotateTool::takeEvent(lunvik::Event&) {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Drawing* drawing = addon ? addon->currentDrawing() : nullptr;
  if (drawing) run(*drawing);
  return true;
}

bool RotateTool::run(lunvik::Drawing& drawing) {
  // The selection as it is (a section's shows the plan's members through its proxies).
  std::vector<std::unique_ptr<lunvik::Element>> selected;
  lunvik::ElemRefList starting;
  if (const lunvik::ElemRefList* refs = drawing.selection()) {
    const IsRotateable rotateable(false);
    for (const auto& link : *refs) {
      starting.push_back(std::make_unique<lunvik::ElementLink>(*link));
      if (std::unique_ptr<lunvik::Element> element = drawing.getElement(*link, &rotateable)) selected.push_back(std::move(element));
    }
  }
  if (selected.empty()) return false;
  auto* view = dynamic_cast<lunvik::CutPlane*>(&drawing);
  CadLine axis;
  double angle = 0;
  if (!(view ? viewRotationAxis(*view, axis, angle) : planRotationAxis(drawing, axis, angle))) return false;

  lunvik::Environment& environment = lunvik::Environment::instance();
  const bool suspend = !environment.groupsSuspended();
  if (suspend) environment.setGroupsSuspended(true);
  bool rotated = false;
  {
    CommandStep step(kUndoName);
    drawing.deselectAll();
    boost::shared_ptr<lunvik::ProgressWindow> progress =
        lunvik::ProgressWindow::open(productText(kPromptStrings, kProgressTitle), 1);
    if (progress) progress->setPhase(1, productText(kPromptStrings, kProgressText), int32_t(selected.size()));
    std::vector<std::unique_ptr<Crafted>> members = membersForTools(drawing, std::move(selected), true);
    const MemberRotation rotation(axis, angle);
    // What each member was, so that a member the host refuses takes the others back with it.
    std::vector<std::unique_ptr<Crafted>> before;
    for (auto& member : members) {
      std::unique_ptr<Crafted> was = member->cloneCrafted();
      if (!rotation.rotate(*member, false)) continue;
      if (!member->store()) {
        for (auto& done : before) done->store();
        before.clear();
        rotated = false;
        break;
      }
      before.push_back(std::move(was));
      rotated = true;
      if (progress) {
        progress->increment();
        if (progress->cancelled()) break;
      }
    }
    if (progress) progress->close();
    bringToFront(drawing);
  }
  if (suspend) environment.setGroupsSuspended(false);
  if (view) {
    view->rebuild(0);
    if (lunvik::Addon* addon = lunvik::theAddon())
      if (lunvik::Plan* plan = addon->plan()) plan->rebuild(0);
  }
  drawing.select(starting);
  bringToFront(drawing);
  return rotated;
}

}  // namespace varnholt
