// Pictures of the open project as the host shows it: the plan seen from above, a section or
// elevation seen across its cut line, or an axonometric view of the 3D model. Placed parts are
// drawn by the faces of their 3D bodies, far to near so that nearer faces hide what lies
// behind them; polygon elements, lines, arcs, circles and texts as the host draws them; on
// timber members what their library parts draw (cut numbers, labels, joint symbols); members
// coloured by timber type, with a legend, and the host's selection highlighted.
#pragma once

#include <string>
#include <vector>

#include "host/render/picture.h"
#include "platform/element_records.h"

namespace standin {

class Host;
class ProjectModel;

// A view of the project.
struct ViewChoice {
  enum class Kind { Plan, Model3D, CutPlane };
  Kind kind = Kind::Plan;
  platform::DatabaseRecord database{};  // a CutPlane view's section or elevation
  std::string name;                     // "plan", "3d" or the view's name
};

// The view called name: "plan" or "3d" (letter case ignored), or a section's, elevation's or
// interior elevation's name (letter case ignored); false when there is none.
bool findView(ProjectModel& model, const std::string& name, ViewChoice& view);
// The names of the views there are: "plan", "3d", then the sections' and elevations' names in
// database order.
std::vector<std::string> viewNames(ProjectModel& model);

// The clicks of a session script and the rubber lines shown while it asked for input, drawn
// over the picture: in the plan and the 3D view model points, in a section or elevation the
// view's own coordinates (along its cut line, up), as the pointer gives them there.
struct TraceMarks {
  struct Click {
    double x = 0, y = 0, z = 0;
  };
  struct Line {
    Click from, to;
  };
  std::vector<Click> clicks;
  std::vector<Line> rubberLines;
};

// Draws a view of the host's open project, its selection highlighted, with trace drawn over
// it when given. The plan shows the current storey's elements on layers that are shown; a
// section shows the plan's placed parts that reach behind its cut line (an elevation all of
// them) with its own elements; the 3D view shows the placed parts of every storey.
Picture drawView(Host& host, const ViewChoice& view, const TraceMarks* trace = nullptr);

// The colours of the picture's roles.
namespace picture_colours {
extern const Rgb kBackground;
extern const Rgb kEdge;
extern const Rgb kHighlight;
extern const Rgb kOtherObject;
extern const Rgb kCheckedJoint;
extern const Rgb kUncheckedJoint;
extern const Rgb kTrace;
// The colour of the index-th timber type (in the order of their names, letter case ignored).
Rgb timberType(std::size_t index);
}  // namespace picture_colours

}  // namespace standin
