// The commands of trestlar, each given the common options and its own arguments.
#pragma once

#include <string>
#include <vector>

#include "cli/session.h"

namespace trestlar {

using Arguments = std::vector<std::string>;

// Prints "trestlar: message" on standard error and answers the failure status.
int fail(const std::string& message);
// The same for a failure in a session: when a host call was made to fail (--fail-host-call),
// the message names it as the likely cause.
int fail(const Session& session, const std::string& message);

// Splits args into options (with the values of those in valued) and plain arguments; false
// with error set for an unknown option or a missing value.
struct ParsedArguments {
  std::vector<std::string> plain;
  std::vector<std::pair<std::string, std::string>> options;
  bool has(const std::string& name) const;
  std::string value(const std::string& name) const;
};
bool parseArguments(const Arguments& args, const std::vector<std::string>& flags,
                    const std::vector<std::string>& valued, ParsedArguments& out, std::string& error);

// Starts a session and opens project (a new project when project is empty).
bool openSession(Session& session, const SessionOptions& options, const std::string& project, std::string& error);

int runMenus(const SessionOptions& options, const Arguments& args);
int runNew(const SessionOptions& options, const Arguments& args);
int runPrefs(const SessionOptions& options, const Arguments& args);
int runMacro(const SessionOptions& options, const Arguments& args);
int runRun(const SessionOptions& options, const Arguments& args);
int runSchedule(const SessionOptions& options, const Arguments& args);
int runNumber(const SessionOptions& options, const Arguments& args);
int runDraw(const SessionOptions& options, const Arguments& args);
// The bundled sample project.
std::string sampleProject();
// Runs "Enumerate Timbers" on the open project with the dialog's two options; false with
// error when the command did not run as asked.
bool numberTimbers(standin::Host& host, bool newOnly, bool group, std::string& error);
// How many scheduled timbers carry numbers, and the highest.
std::string numberingSummary(standin::Host& host);
// Generates the bundled sample project (a hidden command).
int runMakeSample(const SessionOptions& options, const Arguments& args);

}  // namespace trestlar
