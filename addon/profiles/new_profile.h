// "New Profile": a polygon the user drew becomes a new custom, extruded or lathed timber
// library part, saved into a library folder of the project, with one member of it placed at
// the clicked anchor.
#pragma once

#include <cstdint>
#include <memory>

#include "model/drawing.h"
#include "profiles/profile_writer.h"
#include "runtime/subscriber.h"

namespace lunvik {
class CadPoly;
class ParametricSource;
}  // namespace lunvik

namespace varnholt {

class FramingMember;

// Accepts the elements that carry a polygon memo (slabs, fills, zones, polylines...).
class IsPolygon : public lunvik::Drawing::Filter {
 public:
  explicit IsPolygon(bool selectedOnly = true) : Filter(selectedOnly, false) {}
  std::unique_ptr<Filter> clone() const override { return std::make_unique<IsPolygon>(*this); }
  bool accept(const lunvik::Element& element) const override;
};

// The item of error list 32524 that says why no profile polygon could be taken from the
// drawing's selection (5: no polygon element selected, 7: no outline could be read, or one of
// the polygon checks), 0 when polygon holds a copy of the first selected element's polygon.
int32_t selectedProfilePolygon(lunvik::Drawing& drawing, std::unique_ptr<lunvik::CadPoly>& polygon);

// A new member of a profile kind's class for library part index, placed at point with the plan
// angle (host defaults for the rest), its parameters the part's defaults; not yet stored.
std::unique_ptr<FramingMember> newProfileMember(ProfileKind kind, int32_t partIndex, lunvik::ParametricSource& part);

// The command ('VRNH', 'NEPF').
class NewProfile : public lunvik::Subscriber {
 public:
  lunvik::EventSpec spec() const override;
  // Runs the command on the current drawing; always takes the event.
  bool takeEvent(lunvik::Event& event) override;
  // The whole procedure on a drawing; true when a part was made and its member placed.
  bool run(lunvik::Drawing& drawing);
};

}  // namespace varnholt
