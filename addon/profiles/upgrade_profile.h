// "Upgrade Object" and the upgrade the editing tools run: any object or lamp takes the
// `lunvik_` parameters and the blob code of "BlobTemplate" into its library part and becomes a
// timber member (kind BLOB); custom-profile parts are rebuilt from the current template,
// keeping their profile.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/drawing.h"
#include "profiles/profile_writer.h"
#include "runtime/subscriber.h"

namespace lunvik {
class Library;
class ParametricSource;
}  // namespace lunvik

namespace varnholt {

class Crafted;

// Custom, extruded and lathe members, and objects and lamps that have a 3D model.
class IsUpgradeable : public lunvik::Drawing::Filter {
 public:
  explicit IsUpgradeable(bool selectedOnly = true) : Filter(selectedOnly, false) {}
  std::unique_ptr<Filter> clone() const override { return std::make_unique<IsUpgradeable>(*this); }
  bool accept(const lunvik::Element& element) const override;
};

// True when the element has a body in the host's 3D model.
bool hasModel(const lunvik::Element& element);

// A part upgraded with the blob code.
struct UpgradedPart {
  std::unique_ptr<lunvik::ParametricSource> source;  // the part as saved
  bool renamed = false;                               // saved as its name + "+" in the upgrade folder
};

// Adds the `lunvik_` parameters a part lacks (and switches AC_show2DHotspotsIn3D off).
void addBlobParameters(lunvik::ParametricSource& part);
// Wraps a part's scripts in the blob blocks of the template (master, 2D and 3D scripts of
// "BlobTemplate"): old blocks out, the template's in, the object's own 3D code rewritten.
void wrapInBlobCode(lunvik::ParametricSource& part, lunvik::ParametricSource& blobTemplate);
// Upgrades one library part with the blob code and saves it in place, or, when that fails,
// as its name + "+" in the upgrade folder (a part of that name that is there already is taken
// as it is). False when "BlobTemplate" is missing or no save succeeded; the part on disk is
// then as it was.
bool upgradeWithBlob(lunvik::Library& library, lunvik::ParametricSource& part, UpgradedPart& out);
// Rebuilds a custom-profile part from the current template of its kind, keeping its file,
// name, parameter values and profile, and saves it in place; false (with the template's alert
// or error 11) when it cannot.
bool rebuildProfilePart(lunvik::Library& library, lunvik::ParametricSource& part, ProfileKind kind);
// The folder upgraded parts go to when theirs cannot be written: the host's default library
// folder, else the loaded folder "Lunvik Library", else that folder made in the host's folder
// of kind 7 (or 5) and loaded; empty when there is none.
lunvik::CadString upgradeFolder(lunvik::Library& library);

// What an upgrade run did.
enum class UpgradeOutcome : int { upgraded, nothing, declined };

// The driver: upgrades the library parts of objects and updates the objects. Without a list
// it takes the drawing's selection through IsUpgradeable and asks first; with one (from the
// tools) it does not ask. The objects of a list that were upgraded are replaced by their
// elements read anew.
UpgradeOutcome upgradeObjects(lunvik::Drawing& drawing, std::vector<std::unique_ptr<lunvik::Element>>* list);

// The tools' selection as timber members: members pass; an object whose part has an `ID` or
// `lunvik_ID` takes that kind code into its user data; with upgrading, the other objects and
// lamps are upgraded (without asking). Elements that end up no member are left out.
std::vector<std::unique_ptr<Crafted>> membersForTools(lunvik::Drawing& drawing,
                                                      std::vector<std::unique_ptr<lunvik::Element>> elements,
                                                      bool upgrading);

// The command ('VRNH', 'UDPF').
class UpgradeProfile : public lunvik::Subscriber {
 public:
  lunvik::EventSpec spec() const override;
  // Runs the driver on the current drawing's selection; always takes the event.
  bool takeEvent(lunvik::Event& event) override;
};

}  // namespace varnholt
