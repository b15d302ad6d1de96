// The profile of a custom-profile library part: the polygon written as the rows of a GDL `put`
// statement into the part's 3D script, between the lines "!LUNVIK_PROFILE_START" and
// "!LUNVIK_PROFILE_END", with the part's hotspots.
#pragma once

#include <cstdint>
#include <string>

#include "geometry/cad_poly.h"
#include "runtime/cad_string.h"
#include "storage/text_database.h"

namespace lunvik {
class ParametricSource;
struct ComponentParameter;
}  // namespace lunvik

namespace varnholt {

// What a profile is: the member's outline seen from the side (extruded by its depth), its
// cross-section (extruded along its length) or half a turned outline (revolved about its axis).
enum class ProfileKind : int { elevation = 0, section = 1, lathe = 2 };

// The marker lines around the profile block of a template's 3D script.
extern const char* const kProfileStart;
extern const char* const kProfileEnd;

// The profile block of a 3D script: the text strictly between the end of the start marker and
// the start of the end marker; false when either marker is missing.
bool profileBlock(const lunvik::CadString& script, lunvik::CadString& block);
// The script with its profile block replaced by block; false, script unchanged, when a marker
// is missing.
bool replaceProfileBlock(lunvik::CadString& script, const lunvik::CadString& block);

// Writes a polygon (in the part's own coordinates) as the put list of a kind, and fills the
// part's hotspot array. Short-lived: one writer per part.
class ProfileWriter {
 public:
  // The row statuses of a kind: a vertex after a straight edge, an arc's centre, an arc by its
  // angle, the end of a contour, and a hidden edge (never written).
  struct Statuses {
    const char* edge;
    const char* centre;
    const char* arc;
    const char* end;
    const char* hidden;
  };
  static const Statuses& statuses(ProfileKind kind);

  // extrusion: the Depth, Length or Sweep the part is made with (a lathe uses it only for
  // its hotspots).
  ProfileWriter(ProfileKind kind, double extrusion);

  // Replaces the profile block of source's 3D script by the put list of polygon and writes
  // the hotspots into `spots` (as many rows as the array holds) and, but for a lathe, their
  // number into `spotCount`; false, source unchanged, when the script has no profile block.
  bool write(lunvik::ParametricSource& source, const lunvik::CadPoly& polygon);
  // The put list of polygon alone: a line break, "put " and one row a line, each line ended
  // by CR LF, the last row's status without its comma. Hotspots go to spots when given.
  lunvik::CadString putList(const lunvik::CadPoly& polygon, lunvik::ComponentParameter* spots = nullptr);
  // The hotspot rows written by the last putList.
  int32_t spotCount() const { return counter_; }

  // A coordinate or angle as written: rounded to the nearest 1e-8, in the standard stream's
  // default form.
  static lunvik::CadString number(double value);

 private:
  void contour(const lunvik::CadPoly& ring, bool holes, lunvik::ComponentParameter* spots);
  void row(const lunvik::CadString& x, const lunvik::CadString& y, const char* status);
  void hotspots(const lunvik::CadPoint& vertex, lunvik::ComponentParameter* spots);

  lunvik::TextDatabase table_;
  const Statuses& status_;
  lunvik::PolyPoint previous_;
  int32_t limit_ = 0;
  int32_t counter_ = 0;
  double extrusion_;
  ProfileKind kind_;
};

}  // namespace varnholt
