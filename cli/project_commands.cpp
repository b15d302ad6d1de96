// menus, new, prefs and macro.
#include <sys/stat.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/commands.h"

namespace trestlar {

int fail(const std::string& message) {
  std::cerr << "trestlar: " << message << "\n";
  return 1;
}

int fail(const Session& session, const std::string& message) {
  const std::string note = session.faultNote();
  if (note.empty() || message.find(note) != std::string::npos) return fail(message);
  return fail(message + " (" + note + ")");
}

bool ParsedArguments::has(const std::string& name) const {
  for (const auto& o : options)
    if (o.first == name) return true;
  return false;
}

std::string ParsedArguments::value(const std::string& name) const {
  for (const auto& o : options)
    if (o.first == name) return o.second;
  return std::string();
}

bool parseArguments(const Arguments& args, const std::vector<std::string>& flags,
                    const std::vector<std::string>& valued, ParsedArguments& out, std::string& error) {
  auto contains = [](const std::vector<std::string>& list, const std::string& a) {
    for (const auto& x : list)
      if (x == a) return true;
    return false;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 1 && a[0] == '-') {
      if (contains(flags, a)) {
        out.options.emplace_back(a, std::string());
      } else if (contains(valued, a)) {
        if (i + 1 >= args.size()) {
          error = a + " needs a value";
          return false;
        }
        out.options.emplace_back(a, args[++i]);
      } else {
        error = "unknown option " + a;
        return false;
      }
    } else {
      out.plain.push_back(a);
    }
  }
  return true;
}

bool openSession(Session& session, const SessionOptions& options, const std::string& project, std::string& error) {
  if (!session.start(options, error)) return false;
  if (project.empty()) {
    session.host().newProject();
    return true;
  }
  return session.openProject(project, error);
}

int runMenus(const SessionOptions& options, const Arguments& args) {
  ParsedArguments parsed;
  std::string error;
  if (!parseArguments(args, {}, {}, parsed, error)) return fail(error + " for menus (see trestlar --help)");
  if (parsed.plain.size() > 1) return fail("menus takes at most one project file");
  Session session;
  // With a project the menus show what the add-on made of it (the Alignment menu's presets).
  if (parsed.plain.empty() ? !session.start(options, error) : !openSession(session, options, parsed.plain[0], error))
    return fail(session, error);
  std::vector<standin::MenuItem> items = session.host().menuItems();
  if (!session.succeeded(error)) return fail(session, error);
  for (const standin::MenuItem& item : items) std::cout << item.path << "\n";
  return 0;
}

int runNew(const SessionOptions& options, const Arguments& args) {
  ParsedArguments parsed;
  std::string error;
  if (!parseArguments(args, {}, {}, parsed, error)) return fail(error + " for new (see trestlar --help)");
  if (parsed.plain.size() != 1) return fail("new takes one project file (trestlar new [--force] PROJECT)");
  const std::string& path = parsed.plain[0];
  struct stat st;
  if (!options.force && ::stat(path.c_str(), &st) == 0)
    return fail(path + " exists already (use --force to replace it)");
  Session session;
  if (!session.start(options, error)) return fail(session, error);
  if (!session.checkOutput(path, error)) return fail(session, error);
  session.host().newProject();
  if (!session.saveProject(path, error)) return fail(session, error);
  return 0;
}

int runPrefs(const SessionOptions& options, const Arguments& args) {
  ParsedArguments parsed;
  std::string error;
  if (!parseArguments(args, {}, {}, parsed, error)) return fail(error + " for prefs (see trestlar --help)");
  if (parsed.plain.size() > 1) return fail("prefs takes at most one project file");
  std::string project = parsed.plain.empty() ? std::string() : parsed.plain[0];
  Session session;
  if (!openSession(session, options, project, error)) return fail(session, error);
  // A new project has stored nothing yet: ask the add-on for what it would store.
  if (project.empty()) session.host().notifyProject(platform::kProjectPreSave);
  if (!session.succeeded(error)) return fail(session, error);
  std::cout << session.host().moduleData();
  return 0;
}

int runMacro(const SessionOptions& options, const Arguments& args) {
  ParsedArguments parsed;
  std::string error;
  if (!parseArguments(args, {}, {"-o"}, parsed, error)) return fail(error + " for macro (see trestlar --help)");
  if (parsed.plain.size() > 1) return fail("macro takes at most one project file");
  std::string project = parsed.plain.empty() ? std::string() : parsed.plain[0];
  Session session;
  if (!openSession(session, options, project, error)) return fail(session, error);
  const bool toFile = parsed.has("-o");
  const std::string out = parsed.value("-o");
  if (toFile && !session.checkOutput(out, error)) return fail(session, error);
  standin::Host& host = session.host();
  int32_t index = host.library().find("ProjectData", 10);
  const standin::LibraryPart* part = host.library().part(index);
  // A macro the add-on failed to write again may be an old one: only a command that went well
  // hands it out.
  if (!session.succeeded(error)) return fail(session, error + "; no macro was written");
  if (!part)
    return fail(session, "the add-on wrote no ProjectData macro (the project has no project or joint preferences)");
  std::ifstream in(part->path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) return fail(session, "cannot read " + part->path);
  if (!toFile) {
    std::cout << text.str();
    return 0;
  }
  if (!session.writeOutput(out, text.str(), error)) return fail(session, error);
  std::cout << "wrote " << out << "\n";
  return 0;
}

}  // namespace trestlar
