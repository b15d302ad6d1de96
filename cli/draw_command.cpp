// draw: an SVG picture of a view of a project as the host shows it.
#include <cctype>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "cli/commands.h"
#include "cli/script.h"
#include "host/input/pointer.h"
#include "host/render/scene.h"
#include "host/render/svg_writer.h"

namespace trestlar {

namespace {

// The file's name without its folder.
std::string baseName(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The default picture file, in the current folder: PROJECT-VIEW.svg, the project's name
// without its extension and the view's name kept to letters, digits, '.', '-' and '_'.
std::string defaultOutput(const std::string& project, const std::string& view) {
  std::string stem = baseName(project);
  std::size_t dot = stem.find_last_of('.');
  if (dot != std::string::npos && dot > 0) stem.resize(dot);
  std::string name = stem + "-" + view;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_') c = '_';
  // No hidden file and no name of a folder.
  if (name[0] == '.') name[0] = '_';
  return name + ".svg";
}

// The views there are, for a message: plan, 3d and the others quoted.
std::string viewList(standin::ProjectModel& model) {
  std::string list;
  for (const std::string& name : standin::viewNames(model)) {
    if (!list.empty()) list += ", ";
    list += name == "plan" || name == "3d" ? name : "\"" + name + "\"";
  }
  return list;
}

// Selects the elements of every kind whose element ID is one of ids; false with error naming
// an ID no element has.
bool selectElements(standin::ProjectModel& model, const std::string& ids, std::string& error) {
  std::stringstream list(ids);
  std::string id;
  while (std::getline(list, id, ',')) {
    if (id.empty()) continue;
    std::vector<standin::HostElement*> found = model.findById(id);
    if (found.empty()) {
      error = "no element has the ID \"" + id + "\"";
      return false;
    }
    for (standin::HostElement* e : found) model.select(e->header().guid, true);
  }
  return true;
}

// What the script's input requests asked for: each click, and the rubber lines the add-on
// showed at the moment of each click (those of the request's last draw call).
standin::TraceMarks traceOf(const standin::Pointer& pointer) {
  standin::TraceMarks trace;
  auto click = [&trace](const platform::Coord3D& p) { trace.clicks.push_back({p.x, p.y, p.z}); };
  for (const standin::InputRecord& request : pointer.requests()) {
    if (request.outcome == standin::InputRecord::Outcome::Clicked) {
      if (request.kind == standin::InputKind::Polygon) {
        // The first vertex is the command's; the user clicked the others.
        for (std::size_t i = 1; i < request.vertices.size(); ++i) click(request.vertices[i]);
      } else {
        click(request.click);
      }
    }
    for (auto call = request.calls.rbegin(); call != request.calls.rend(); ++call) {
      if (!call->draw) continue;
      for (const standin::RubberLine& line : call->lines)
        trace.rubberLines.push_back({{line.from.x, line.from.y, line.from.z}, {line.to.x, line.to.y, line.to.z}});
      break;
    }
  }
  return trace;
}

}  // namespace

int runDraw(const SessionOptions& options, const Arguments& args) {
  ParsedArguments parsed;
  std::string error;
  if (!parseArguments(args, {}, {"--view", "--select", "--trace", "-o"}, parsed, error))
    return fail(error + " for draw (see trestlar --help)");
  if (parsed.plain.size() > 1) return fail("draw takes at most one project file");
  const std::string project = parsed.plain.empty() ? sampleProject() : parsed.plain[0];
  const std::string viewName = parsed.has("--view") ? parsed.value("--view") : std::string("plan");

  Session session;
  if (!openSession(session, options, project, error)) return fail(session, error);
  standin::Host& host = session.host();
  standin::ViewChoice view;
  if (!standin::findView(host.model(), viewName, view))
    return fail(session,
                project + ": there is no view \"" + viewName + "\" (the views: " + viewList(host.model()) + ")");
  const std::string out = parsed.has("-o") ? parsed.value("-o") : defaultOutput(project, view.name);
  if (out != "-" && !session.checkOutput(out, error)) return fail(session, error);
  std::unique_ptr<standin::TraceMarks> trace;
  if (parsed.has("--trace")) {
    // The script runs on the open project, which is never saved; the picture shows what it did.
    const std::string script = parsed.value("--trace");
    std::ifstream in(script, std::ios::binary);
    if (!in) return fail(session, script + ": cannot be read");
    std::stringstream text;
    text << in.rdbuf();
    ScriptRun run(host);
    const bool ran = run.run(text.str(), error);
    for (const std::string& note : run.notes()) std::cerr << "trestlar: " << script << ": " << note << "\n";
    if (!ran) return fail(session, script + ": " + error + "; nothing was drawn");
    trace = std::make_unique<standin::TraceMarks>(traceOf(host.pointer()));
  }
  if (parsed.has("--select") && !selectElements(host.model(), parsed.value("--select"), error))
    return fail(session, project + ": " + error);

  standin::Picture picture = standin::drawView(host, view, trace.get());
  picture.setTitle(baseName(project) + " - " + view.name);
  std::string svg;
  if (!standin::writeSvg(picture, svg, error)) return fail(session, project + ": " + error);
  if (out == "-") {
    if (!session.succeeded(error)) return fail(session, error + ", so nothing was written");
    std::cout << svg;
    std::cout.flush();
    return std::cout ? 0 : fail("the picture could not be written to standard output");
  }
  if (!session.writeOutput(out, svg, error)) return fail(session, error);
  std::cout << "wrote " << out << "\n";
  return 0;
}

}  // namespace trestlar
