// Timber numbering: "Enumerate Timbers" gives identical scheduled timbers one number, with
// its dialog, its candidate filter, the numbering order and the numbering step.
#pragma once

#include <cstdint>
#include <vector>

#include "interaction/controls.h"
#include "interaction/dialog.h"
#include "model/drawing.h"
#include "runtime/cad_string.h"
#include "runtime/subscriber.h"

namespace varnholt {

class FramingMember;
class ProjectPrefs;

// Object elements with user data (host filter bits 19) that take part in a "new timbers
// only" numbering; raises highest to every number it sees.
class IsNumberedTimber : public lunvik::Drawing::Filter {
 public:
  IsNumberedTimber(int32_t& highest, bool newOnly, bool group);
  std::unique_ptr<Filter> clone() const override { return std::make_unique<IsNumberedTimber>(*this); }
  bool accept(const lunvik::Element& element) const override;

 private:
  int32_t& highest_;
  bool newOnly_;
  bool group_;
};

// Dialog 32518 "Enumerating Timbers": the two numbering options.
class EnumerateDialog : public lunvik::Dialog {
 public:
  static constexpr int32_t kResource = 32518;
  explicit EnumerateDialog(ProjectPrefs& prefs) : Dialog(kResource, true), prefs_(prefs) {}
  void setupControls() override;
  void accept() override;

 private:
  ProjectPrefs& prefs_;
  lunvik::CheckboxControl* newOnly_ = nullptr;
  lunvik::CheckboxControl* group_ = nullptr;
};

// What the numbering order and step read of a member, taken once per member.
struct NumberingKey {
  lunvik::CadString description;  // `timberName`, or the library part's name
  lunvik::CadString season;       // `seasonType`
  double length = 0;              // rounded extended length
  double width = 0;               // rounded width
  double depth = 0;               // rounded depth
  int32_t number = 0;             // `TimberNo`
};

// The key of a member (sizes from its dimension cache).
NumberingKey numberingKey(const FramingMember& member);
// The numbering order: description, timber type, width, depth, length (within 0.00001),
// then numbered before unnumbered.
bool numberingLess(const NumberingKey& a, const NumberingKey& b);

// One numbering run over members sorted in numbering order.
class Numbering {
 public:
  // highest: the greatest number the candidate filter saw.
  Numbering(int32_t highest, bool newOnly, bool group);
  // Numbers one member (its key taken before any change).
  void step(FramingMember& member, const NumberingKey& key);

 private:
  bool first_ = true;
  NumberingKey previous_;
  int32_t groupCounter_ = 0;
  int32_t currentGroup_ = 0;
  int32_t nextNumber_ = 0;
  bool withExisting_ = false;
};

// "Enumerate Timbers" ('VRNH', 'ENTM').
class EnumerateTimbers : public lunvik::Subscriber {
 public:
  lunvik::EventSpec spec() const override;
  // Runs the command; takes the event.
  bool takeEvent(lunvik::Event& event) override;
  // Shows the dialog and numbers the drawing's timbers; false when nothing was numbered
  // (no drawing, no preferences, cancelled).
  bool run();
};

}  // namespace varnholt
