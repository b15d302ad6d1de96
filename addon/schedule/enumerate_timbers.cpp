#include "schedule/enumerate_timbers.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include <boost/shared_ptr.hpp>

#include "interaction/progress_window.h"
#include "model/selection.h"
#include "prefs/project_prefs.h"
#include "runtime/addon.h"
#include "runtime/alert.h"
#include "runtime/environment.h"
#include "schedule/timber_list.h"
#include "timber/framing_member.h"
#include "timber/increments.h"

namespace varnholt {

namespace {

constexpr double kEpsilon = 0.00001;
constexpr int32_t kPromptStrings = 32522;
constexpr int32_t kErrorStrings = 32524;
constexpr int32_t kUnreadElementsError = 28;
constexpr int32_t kUndoStrings = 32526;
constexpr int32_t kProgressTitle = 17;
constexpr int32_t kProgressText = 18;
constexpr int32_t kUndoName = 6;
// Object elements that are editable, shown and of the building model.
constexpr int32_t kTimberBits = 19;

lunvik::CadString text(int32_t list, int32_t item) { return lunvik::Environment::instance().string(list, item); }

bool near(double a, double b) { return std::fabs(a - b) <= kEpsilon; }

}  // namespace

// ---- IsNumberedTimber ----

IsNumberedTimber::IsNumberedTimber(int32_t& highest, bool newOnly, bool group)
    : Filter(kTimberBits, platform::kObject, false, false, true), highest_(highest), newOnly_(newOnly), group_(group) {}

bool IsNumberedTimber::accept(const lunvik::Element& element) const {
  const auto* member = dynamic_cast<const FramingMember*>(&element);
  if (!member) return false;
  bool scheduled = false;
  member->incInSched(scheduled);
  int32_t number = 0;
  member->timberNo(number);
  if (!newOnly_ || group_) {
    if (!scheduled) return false;
    if (number != 0) highest_ = std::max(highest_, number);
    return true;
  }
  if (!scheduled || number != 0) {
    highest_ = std::max(highest_, number);
    return false;
  }
  return true;
}

// ---- EnumerateDialog ----

void EnumerateDialog::setupControls() {
  newOnly_ = add(new lunvik::CheckboxControl(*this, 3));
  group_ = add(new lunvik::CheckboxControl(*this, 4));
  newOnly_->setChecked(prefs_.numberNewOnly);
  group_->setChecked(prefs_.groupWithExisting);
  group_->enable(prefs_.numberNewOnly);
  attach(newOnly_, new lunvik::ItemCall([this](lunvik::ItemEvent&) {
           group_->enable(newOnly_->checked());
           return true;
         }));
}

void EnumerateDialog::accept() {
  prefs_.numberNewOnly = newOnly_->checked();
  prefs_.groupWithExisting = group_->checked();
}

// ---- the order and the step ----

NumberingKey numberingKey(const FramingMember& member) {
  NumberingKey key;
  member.timberName(key.description);
  member.seasonType(key.season);
  member.timberNo(key.number);
  member.roundedSizes(key.length, key.width, key.depth);
  return key;
}

bool numberingLess(const NumberingKey& a, const NumberingKey& b) {
  if (!(a.description == b.description)) return a.description < b.description;
  if (!(a.season == b.season)) return a.season < b.season;
  if (!near(a.width, b.width)) return a.width < b.width;
  if (!near(a.depth, b.depth)) return a.depth < b.depth;
  if (!near(a.length, b.length)) return a.length < b.length;
  return a.number != 0 && b.number == 0;
}

Numbering::Numbering(int32_t highest, bool newOnly, bool group)
    : groupCounter_(newOnly && !group ? highest : 0), nextNumber_(highest), withExisting_(newOnly && group) {}

void Numbering::step(FramingMember& member, const NumberingKey& key) {
  const int32_t before = groupCounter_;
  if (first_ || !(key.description == previous_.description) || !(key.season == previous_.season) ||
      !near(key.width, previous_.width) || !near(key.depth, previous_.depth) || !near(key.length, previous_.length))
    ++groupCounter_;
  if (!withExisting_) {
    member.setTimberNo(groupCounter_);
    member.recordNumbering(groupCounter_, true);
  } else if (key.number != 0) {
    currentGroup_ = key.number;
  } else if (groupCounter_ == before) {
    member.setTimberNo(currentGroup_);
    member.recordNumbering(currentGroup_, true);
  } else {
    ++nextNumber_;
    member.setTimberNo(nextNumber_);
    member.recordNumbering(nextNumber_, true);
    currentGroup_ = nextNumber_;
  }
  previous_ = key;
  first_ = false;
}

// ---- EnumerateTimbers ----

lunvik::EventSpec EnumerateTimbers::spec() const {
  return lunvik::EventSpec(lunvik::kProductCategory, platform::fourcc("ENTM"));
}

bool EnumerateTimbers::takeEvent(lunvik::Event&) {
  run();
  return true;
}

bool EnumerateTimbers::run() {
  lunvik::Addon* addon = lunvik::theAddon();
  lunvik::Drawing* drawing = addon ? addon->currentDrawing() : nullptr;
  ProjectPrefs* prefs = projectPreferences();
  if (!drawing || !prefs) return false;
  EnumerateDialog dialog(*prefs);
  if (dialog.run() != 1) return false;
  const bool newOnly = prefs->numberNewOnly, group = prefs->groupWithExisting;

  int32_t highest = 0;
  lunvik::ElementSelection<FramingMember> candidates;
  if (newOnly) {
    for (auto it = drawing->begin(IsNumberedTimber(highest, newOnly, group)); !it.atEnd(); ++it)
      candidates.add(it.release().release());
  } else {
    for (auto it = drawing->begin(IsScheduledTimber(false)); !it.atEnd(); ++it) candidates.add(it.release().release());
  }
  // Numbering some members and not the ones the host could not read would break the groups:
  // nothing is changed and no undo step is opened.
  if (drawing->walkFailed()) {
    lunvik::ErrorAlert().show(text(kErrorStrings, kUnreadElementsError));
    return false;
  }

  const uint32_t step = addon->openUndoStep(text(kUndoStrings, kUndoName));
  drawing->deselectAll();

  boost::shared_ptr<lunvik::ProgressWindow> progress;
  if (!candidates.empty()) {
    progress = lunvik::ProgressWindow::open(text(kPromptStrings, kProgressTitle), 1);
    if (progress) progress->setPhase(1, text(kPromptStrings, kProgressText), int32_t(candidates.size()));
    for (auto& member : candidates) {
      member->recalculate(true);
      if (progress) progress->increment();
    }
  }

  // Keys are taken once; the order sorts positions. A merge sort keeps the comparisons within
  // the candidates even where the size tolerance makes the order less than strict.
  std::vector<NumberingKey> keys;
  keys.reserve(candidates.size());
  for (auto& member : candidates) keys.push_back(numberingKey(*member));
  std::vector<std::size_t> order(candidates.size());
  std::iota(order.begin(), order.end(), std::size_t(0));
  std::stable_sort(order.begin(), order.end(),
                   [&keys](std::size_t a, std::size_t b) { return numberingLess(keys[a], keys[b]); });

  Numbering numbering(highest, newOnly, group);
  for (std::size_t i : order) numbering.step(candidates[i], keys[i]);
  candidates.storeAll(*drawing);
  if (progress) progress->close();
  addon->closeUndoStep(step);
  drawing->rebuild(0);
  return true;
}

}  // namespace varnholt
