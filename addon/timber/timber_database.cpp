#include "timber/timber_database.h"

#include <cmath>
#include <string>

#include "model/drawing.h"
#include "model/element.h"
#include "model/element_kinds.h"
#include "model/project.h"
#include "runtime/addon.h"
#include "runtime/alert.h"
#include "runtime/environment.h"
#include "timber/crafted.h"
#include "timber/framing_member.h"
#include "timber/parameter_access.h"

namespace varnholt {

namespace {

constexpr double kEpsilon = 0.00001;
constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kQuestionStrings = 32523;
constexpr int32_t kAssemblyWarning = 2;

lunvik::Project* openProject() {
  lunvik::Addon* addon = lunvik::theAddon();
  return addon ? addon->project() : nullptr;
}

lunvik::Drawing* currentDrawing() {
  lunvik::Addon* addon = lunvik::theAddon();
  return addon ? addon->currentDrawing() : nullptr;
}

// The element of link as the current drawing reads it, or null.
std::unique_ptr<lunvik::Element> readCurrent(const lunvik::ElementLink& link) {
  lunvik::Drawing* drawing = currentDrawing();
  return drawing ? drawing->findByGuid(link) : nullptr;
}

// Gives an object or lamp the user data of its kind code text (its string `ID`, else
// `lunvik_ID`); false when it has none.
bool tagFromId(lunvik::Element& element) {
  auto* part = dynamic_cast<lunvik::ComponentElem*>(&element);
  if (!part || (element.typeID() != platform::kObject && element.typeID() != platform::kLamp)) return false;
  lunvik::CadString text;
  if (!(readText(part->parameters(), "ID", text) || readText(part->parameters(), "lunvik_ID", text)) || text.empty())
    return false;
  return setKindUserData(element, std::string(text.c_str(), text.length()));
}

bool near(double a, double b) { return std::fabs(a - b) <= kEpsilon; }

double number(const Crafted& timber, const char* name) {
  double value = 0;
  timber.getNumber(name, value);
  return value;
}

// A constant-section part with a bend or an end offset.
bool bentProfile(const Crafted& timber) {
  if (!dynamic_cast<const Profiled*>(&timber)) return false;
  return std::fabs(number(timber, "hPath")) > kEpsilon || std::fabs(number(timber, "vPath")) > kEpsilon ||
         std::fabs(number(timber, "hEnd")) > kEpsilon || std::fabs(number(timber, "vEnd")) > kEpsilon;
}

bool level(const Crafted& timber) {
  double swivel = 0, incline = 0;
  timber.storedSwivel(swivel);
  timber.incline(incline);
  return std::fabs(swivel) <= kEpsilon && std::fabs(incline) <= kEpsilon;
}

}  // namespace

// ---- construction ----

TimberDatabase::TimberDatabase(lunvik::Addon& addon) : addon_(addon) {
  registerTimberCreators();
  const std::pair<int32_t, uint32_t> targets[] = {
      {platform::kObject, kToolVariation}, {platform::kLamp, 0}, {platform::kObject, 0}};
  for (const auto& target : targets) {
    subscribers_.push_back(std::make_unique<BeginTimber>(*this, target.first, target.second));
    subscribers_.push_back(std::make_unique<EndTimber>(*this, target.first, target.second));
    subscribers_.push_back(std::make_unique<NewTimber>(*this, target.first, target.second));
    subscribers_.push_back(std::make_unique<EditTimber>(*this, target.first, target.second));
    subscribers_.push_back(std::make_unique<ChangeTimber>(*this, target.first, target.second));
    subscribers_.push_back(std::make_unique<CopyObject>(*this, target.first, target.second));
  }
  for (auto& s : subscribers_) addon_.subscribe(s.get());
}

TimberDatabase::~TimberDatabase() {
  for (auto& s : subscribers_) addon_.unsubscribe(s.get());
  subscribers_.clear();
  unregisterTimberCreators();
}

// ---- the subscribers: each takes the notifications of elements of its own kind ----

bool TimberDatabase::BeginTimber::elementEvent(lunvik::DatabaseEvent&) {
  database_.beginOperation();
  return true;
}

bool TimberDatabase::EndTimber::elementEvent(lunvik::DatabaseEvent&) {
  database_.endOperation();
  return true;
}

bool TimberDatabase::NewTimber::elementEvent(lunvik::DatabaseEvent& event) {
  if (event.link().typeID() != typeID()) return false;
  database_.newElement(event.link());
  return true;
}

bool TimberDatabase::EditTimber::elementEdited(lunvik::ElementEditEvent& event) {
  if (event.link().typeID() != typeID()) return false;
  database_.editedElement(event.link(), event.value());
  return true;
}

bool TimberDatabase::ChangeTimber::elementEvent(lunvik::DatabaseEvent& event) {
  if (event.link().typeID() != typeID()) return false;
  database_.changedElement(event.link());
  return true;
}

bool TimberDatabase::CopyObject::elementEvent(lunvik::DatabaseEvent& event) {
  if (event.link().typeID() != typeID()) return false;
  database_.copiedElement(event.link());
  return true;
}

// ---- the operation ----

void TimberDatabase::beginOperation() {
  copied_.reset();
  placement_.reset();
  newTimbers_ = 0;
  assemblyWarning_ = false;
}

void TimberDatabase::endOperation() {
  if (assemblyWarning_) {
    lunvik::WarnAlert().show(lunvik::Environment::instance().string(kQuestionStrings, kAssemblyWarning));
    assemblyWarning_ = false;
  }
  lunvik::Project* project = openProject();
  if (currentDrawing() && copied_) {
    for (const lunvik::ElementLink& link : *copied_) retagCopy(link);
    copied_.reset();
  }
  if (project && placement_ && newTimbers_ > 0) {
    lunvik::Drawing* placed = project->drawing(*placement_);
    if (dynamic_cast<lunvik::CutPlane*>(placed)) {
      project->plan().redrawAll();
      placed->rebuild(0);
      newTimbers_ = 0;
    }
  }
  placement_.reset();
}

void TimberDatabase::newElement(const lunvik::ElementLink& link) {
  lunvik::Project* project = openProject();
  if (!project) return;
  if (placement_) {
    if (lunvik::Drawing* placed = project->drawing(*placement_)) project->activate(*placed);
  } else {
    lunvik::Drawing* current = currentDrawing();
    if (!current) return;
    placement_ = current->identity();
  }
  if (tagNewTimber(link)) ++newTimbers_;
}

void TimberDatabase::editedElement(const lunvik::ElementLink& link, int32_t editKind) {
  std::unique_ptr<lunvik::Element> element = readCurrent(link);
  auto* timber = dynamic_cast<Crafted*>(element.get());
  if (!timber) return;
  if (timber->kind() == TimberKind::assembly && lunvik::Environment::instance().groupsSuspended())
    assemblyWarning_ = true;
  const auto kind = uint32_t(editKind);
  if (kind == platform::fourcc("RSIZ") || kind == platform::fourcc("STRE") || kind == platform::fourcc("VSTR"))
    refresh(*timber);
}

void TimberDatabase::changedElement(const lunvik::ElementLink& link) { refreshChangedTimber(link); }

void TimberDatabase::copiedElement(const lunvik::ElementLink& link) {
  if (!currentDrawing()) return;
  if (!copied_) {
    copied_ = std::make_unique<std::vector<lunvik::ElementLink>>();
    copied_->reserve(1024);
  }
  copied_->push_back(link);
}

// ---- timbers ----

bool TimberDatabase::tagNewTimber(const lunvik::ElementLink& link) {
  std::unique_ptr<lunvik::Element> element = readCurrent(link);
  if (!element || !tagFromId(*element)) return false;

  // The timber is rewritten whole, memo and all.
  lunvik::WholeMemoScope wholeMemo;
  std::unique_ptr<lunvik::Element> reread = readCurrent(element->link());
  auto* timber = dynamic_cast<Crafted*>(reread.get());
  if (!timber) return false;
  // The element's own placement is its placement point here.
  timber->setPlacement(timber->placement());
  if (auto* cut = dynamic_cast<lunvik::CutPlane*>(timber->timberDrawing())) {
    if (!moveIntoPlan(*timber, *cut)) return false;
  } else {
    timber->syncFromBox();
    timber->store();
  }

  auto* member = dynamic_cast<FramingMember*>(timber);
  switch (timber->kind()) {
    case TimberKind::rectilinear:
    case TimberKind::taper:
    case TimberKind::round:
    case TimberKind::squareRound:
    case TimberKind::roundTaper:
    case TimberKind::jowl:
    case TimberKind::camber:
    case TimberKind::constSection:
    case TimberKind::blob: {
      if (member) autoOrient(*member);
      double cuts = number(*timber, timber->parameterName(kCutCountParameter).c_str());
      if (!bentProfile(*timber) && cuts < 1 && (member || level(*timber))) {
        timber->syncFromBox();
        if (member) member->layoutJoints(nullptr);
      } else {
        timber->recalculate(true);
      }
      timber->store();
      break;
    }
    case TimberKind::custom:
    case TimberKind::extrusion:
    case TimberKind::lathe:
      timber->recalculate(true);
      timber->store();
      break;
    case TimberKind::assembly:
    case TimberKind::peg:
    case TimberKind::curved:
    case TimberKind::none:
      break;
  }
  return true;
}

bool TimberDatabase::moveIntoPlan(Crafted& timber, lunvik::CutPlane& from) {
  lunvik::Project* project = openProject();
  if (!project) return false;
  lunvik::CadPoint begin, end;
  double viewAngle = 0;
  if (!from.cutLine(begin, end, viewAngle)) return false;
  // The view's x runs along the cut line from its first point, its y across it; the line's
  // direction turns view positions and angles into plan ones.
  const double a = std::atan2(end.getY() - begin.getY(), end.getX() - begin.getX());
  const lunvik::CadPoint at = timber.placement();
  double width = 0, depth = 0, swivel = 0, incline = 0;
  timber.sectionSize(width, depth);
  timber.storedSwivel(swivel);
  timber.incline(incline);
  // The height of the member's section as the view shows it.
  const double height =
      std::fabs(std::cos(incline)) * (depth * std::fabs(std::cos(swivel)) + width * std::fabs(std::sin(swivel)));
  if (!from.remove(timber.timberLink())) return false;

  lunvik::ComponentElem& element = timber.timberElement();
  // A new element of the plan: the kind stays, the identity goes.
  element.setLink(lunvik::ElementLink(element.typeID(), 0, platform::Guid{}));
  lunvik::Plan& plan = project->plan();
  if (!project->activate(plan)) return false;
  if (const lunvik::Storey* storey = plan.currentStorey()) element.header().storey = storey->number();
  const double c = std::cos(a), s = std::sin(a);
  element.setPosition(lunvik::CadPoint(begin.getX() + at.getX() * c - at.getY() * s,
                                       begin.getY() + at.getX() * s + at.getY() * c, 0));
  element.setElevation(at.getZ() + height, false);
  timber.setPlanAngle(timber.planAngle() + a);
  timber.setTimberDrawing(&plan);
  if (!plan.store(element, true)) return false;
  timber.storeTypeId();
  return true;
}

bool TimberDatabase::autoOrient(FramingMember& member) {
  double swivel = 0, incline = 0;
  if (!member.storedSwivel(swivel) || !member.incline(incline)) return false;
  if (std::fabs(swivel) > kEpsilon || std::fabs(incline) > kEpsilon) return false;
  double w = 0, d = 0, l = 0;
  if (!member.profileWidth(w) || !member.profileDepth(d) || !member.length(l)) return false;
  if (w > d + kEpsilon && w > l + kEpsilon && w > 0.25 + kEpsilon) {
    member.putNumber("length", w);
    member.putNumber("profWide", l);
    double angle = member.planAngle();
    int vertical = 0, horizontal = 0;
    if (!member.anchorIndices(vertical, horizontal)) horizontal = 1;
    if (horizontal != 1) {
      if (member.isMirrored()) {
        if (horizontal != 2) angle -= kPi;
        member.setMirrored(false);
      } else {
        if (horizontal != 0) angle -= kPi;
        const std::string pick = {"BMT"[vertical], "RML"[2 - horizontal]};
        member.putText("anchorPick", lunvik::CadString(pick.c_str()));
        member.applyAnchor();
      }
    }
    member.setPlanAngle(angle + kPi / 2);
    // The box follows the turned member, or a later stretch would read the old sizes.
    member.fitBoxToTimber();
    member.syncFromBox();
    return true;
  }
  if (d > l + kEpsilon && d > 0.25 + kEpsilon) {
    member.putNumber("length", d);
    member.putNumber("profDeep", l);
    member.setIncline(incline - kPi / 2);
    member.fitBoxToTimber();
    member.syncFromBox();
    return true;
  }
  return false;
}

bool TimberDatabase::numberStillValid(FramingMember& member) {
  int32_t no = 0, recorded = 0;
  if (!member.timberNo(no)) return false;
  member.enumTNum(recorded);
  if (no != 0 && no != recorded) {
    // A typed number: it is recorded with the sizes it was given for, rounded as the
    // enumeration records them, so that the next check compares like with like.
    member.recordNumbering(no, false);
    return true;
  }
  double length = 0, width = 0, depth = 0, lastLength = 0, lastWidth = 0, lastDepth = 0;
  const bool sized = member.roundedSizes(length, width, depth);
  member.enumLen(lastLength);
  member.enumWid(lastWidth);
  member.enumDeep(lastDepth);
  lunvik::CadString season, recordedSeason;
  member.seasonType(season);
  member.enumSeason(recordedSeason);
  const bool changed = !sized || !near(length, lastLength) || !near(width, lastWidth) || !near(depth, lastDepth) ||
                       !(season == recordedSeason);
  if (changed && no != 0) {
    member.setTimberNo(0);
    return false;
  }
  return no != 0;
}

bool TimberDatabase::refreshChangedTimber(const lunvik::ElementLink& link) {
  std::unique_ptr<lunvik::Element> element = readCurrent(link);
  auto* timber = dynamic_cast<Crafted*>(element.get());
  if (!timber) return false;
  refresh(*timber);
  return true;
}

void TimberDatabase::refresh(Crafted& timber) {
  auto* member = dynamic_cast<FramingMember*>(&timber);
  double cuts = number(timber, timber.parameterName(kCutCountParameter).c_str());
  double spots = number(timber, timber.parameterName(kSpotCountParameter).c_str());
  if (!timber.hasOwnPath() && cuts < 1 && spots < 1 && (member || level(timber))) {
    timber.syncFromBox();
    if (member) member->layoutJoints(nullptr);
  } else {
    timber.recalculate(true);
  }
  if (member) numberStillValid(*member);
  timber.store();
}

bool TimberDatabase::retagCopy(const lunvik::ElementLink& link) {
  std::unique_ptr<lunvik::Element> element = readCurrent(link);
  return element && tagFromId(*element);
}

}  // namespace varnholt
