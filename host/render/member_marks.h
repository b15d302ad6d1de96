// What the timber library parts draw on a member besides its body, read from the member's
// parameters: its timber type, the cut number (`ShowCutID`, at `cutIDPos`), the label
// (`showLabel`) and the joint symbols (`showSyms`: "All", "Unchecked" or "None"; `showSyms3` in
// 3D) at the joint positions (`jointX`, `jointY`, `jointZ`).
#pragma once

#include <string>
#include <vector>

#include "host/bodies/body_generator.h"
#include "host/model/project_model.h"

namespace standin {

// Which joint symbols a member shows.
enum class JointSymbols { None, Unchecked, All };

// One joint of a member: where it is (in the member's turned frame, from its placement point)
// and whether it has been checked.
struct MemberJoint {
  Vec3 at;
  bool checked = true;
};

// The marks of a member.
struct MemberMarks {
  std::string timberType;   // `seasonType`
  std::string description;  // `timberName`, else the part's name
  int number = 0;           // `TimberNo`
  bool showCutNumber = false;
  bool showLabel = false;
  JointSymbols symbols = JointSymbols::Unchecked;
  bool symbols3D = false;
  Vec3 cutPosition;          // `cutIDPos`, in the turned frame from the placement point
  double cutTextHeight = 0.15;
  double jointSize = 0.1;    // `jointTextHt`: the radius of a joint symbol
  std::vector<MemberJoint> joints;  // start, end, and each intermediate joint with an offset
  double incline = 0;
  double swivel = 0;
};

// True for a timber member: an object or lamp whose user data starts with a timber kind code,
// in either byte order.
bool isTimberMember(const HostElement& element);
// The member's marks from its stored parameters, the part's defaults (part may be null) for
// those it lacks. One pass over the parameters.
MemberMarks readMemberMarks(const HostElement& element, const LibraryPart* part);
// The member's timber type (`seasonType`), the part's default when it has none of its own.
std::string memberTimberType(const HostElement& element, const LibraryPart* part);
// Whether a joint's symbol shows under the member's setting.
bool jointShown(JointSymbols symbols, const MemberJoint& joint);
// The model point of a point of the member's turned frame: the placement point (at elevation
// level above the ground) plus the point turned by the plan angle (for a mirrored element the
// angle + pi with x negated), the incline about y and the swivel about x.
Vec3 memberPoint(const HostElement& element, double level, const MemberMarks& marks, const Vec3& local);

}  // namespace standin
