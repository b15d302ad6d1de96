// number: numbers a project's scheduled timbers through the add-on's "Enumerate Timbers"
// command and saves the project.
#include <strings.h>

#include <algorithm>
#include <iostream>

#include "cli/commands.h"

namespace trestlar {

namespace {

const char* const kEnumerateItem = "Framing/Schedule/Enumerate Timbers";
constexpr int32_t kEnumerateDialog = 32518;

// The numbers of an element's `IncInSched` and `TimberNo`, read in one pass (0 when missing).
void scheduleValues(const standin::HostElement& e, double& scheduled, double& number) {
  scheduled = number = 0;
  for (const standin::StoredParameter& p : e.parameters) {
    if (p.record.typeID == platform::kParamString || p.record.shape == platform::kShapeArray) continue;
    if (strncasecmp(p.record.name, "IncInSched", sizeof p.record.name) == 0) scheduled = p.record.value.real;
    else if (strncasecmp(p.record.name, "TimberNo", sizeof p.record.name) == 0) number = p.record.value.real;
  }
}

}  // namespace

bool numberTimbers(standin::Host& host, bool newOnly, bool group, std::string& error) {
  standin::MenuItem item;
  if (!host.findMenuItem(kEnumerateItem, item)) {
    error = std::string("the add-on has no menu item \"") + kEnumerateItem + "\"";
    return false;
  }
  using standin::DialogAction;
  std::vector<DialogAction> actions{DialogAction::check(3, newOnly)};
  if (newOnly) actions.push_back(DialogAction::check(4, group));
  actions.push_back(DialogAction::of(DialogAction::Kind::Ok, 1));
  host.dialogs().queueDialog(kEnumerateDialog, std::move(actions));
  host.chooseMenuItem(item.menuList, item.itemIndex);
  error = host.dialogs().scriptError();
  if (error.empty() && !host.dialogs().pendingAnswers().empty())
    error = "the enumeration dialog did not open; nothing was numbered";
  host.dialogs().dropAnswers();
  return error.empty();
}

std::string numberingSummary(standin::Host& host) {
  std::size_t scheduled = 0, numbered = 0;
  int highest = 0;
  for (standin::HostElement* e : host.model().elements(host.model().plan(), platform::kObject)) {
    double inSchedule = 0, value = 0;
    scheduleValues(*e, inSchedule, value);
    if (!e->hasUserData || inSchedule == 0) continue;
    ++scheduled;
    int number = int(value);
    if (number != 0) ++numbered;
    highest = std::max(highest, number);
  }
  return std::to_string(numbered) + " of " + std::to_string(scheduled) + " scheduled timbers numbered, up to " +
         std::to_string(highest);
}

int runNumber(const SessionOptions& options, const Arguments& args) {
  ParsedArguments parsed;
  std::string error;
  if (!parseArguments(args, {"--new-only", "--group"}, {"-o"}, parsed, error))
    return fail(error + " for number (see trestlar --help)");
  if (parsed.plain.size() > 1) return fail("number takes at most one project file");
  const bool newOnly = parsed.has("--new-only"), group = parsed.has("--group");
  if (group && !newOnly)
    return fail("--group numbers new timbers alongside the numbered ones, so it needs --new-only");
  // The bundled sample is never overwritten: without a project the result goes to the
  // current folder unless -o names another file.
  const bool sample = parsed.plain.empty();
  std::string project = sample ? sampleProject() : parsed.plain[0];
  std::string out = parsed.has("-o") ? parsed.value("-o") : sample ? std::string("barn.trestlar") : project;

  Session session;
  if (!openSession(session, options, project, error)) return fail(session, error);
  // The bundled sample is an input like any other: its copy must go elsewhere.
  if (sample && !session.checkOutput(out, error)) return fail(session, error);
  if (!numberTimbers(session.host(), newOnly, group, error))
    return fail(session, project + ": " + error + "; nothing was saved");
  std::string summary = numberingSummary(session.host());
  if (!session.saveProject(out, error)) return fail(session, error);
  std::cout << summary << "\n" << "saved " << out << "\n";
  return 0;
}

}  // namespace trestlar
