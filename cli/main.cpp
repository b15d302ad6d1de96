// trestlar: runs the Trestlar add-on inside the stand-in host.
#include <sys/stat.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/session.h"

namespace {

const char* const kUsage =
    "usage: trestlar [--addon LIB] [--config DIR] COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  menus        list the add-on's menus and their items as the host shows them\n"
    "  new [--force] PROJECT\n"
    "               create an empty project file (.trestlar); an existing file is kept\n"
    "               unless --force is given\n"
    "  help         show this text\n"
    "\n"
    "Options:\n"
    "  --addon LIB  the add-on library to load (default: lib/libtrestlar.so beside this program,\n"
    "               or $TRESTLAR_ADDON)\n"
    "  --config DIR the user's application-data folder (default: $TRESTLAR_CONFIG_DIR,\n"
    "               $XDG_CONFIG_HOME or ~/.config)\n";

int fail(const std::string& message) {
  std::cerr << "trestlar: " << message << "\n";
  return 1;
}

int menus(trestlar::Session& session) {
  for (const standin::MenuItem& item : session.host().menuItems()) std::cout << item.path << "\n";
  return 0;
}

// trestlar new [--force] PROJECT
int newProject(const trestlar::SessionOptions& options, const std::vector<std::string>& args) {
  bool force = false;
  std::vector<std::string> paths;
  for (const std::string& a : args) {
    if (a == "--force") force = true;
    else if (!a.empty() && a[0] == '-') return fail("unknown option " + a + " for new (see trestlar --help)");
    else paths.push_back(a);
  }
  if (paths.size() != 1) return fail("new takes one project file (trestlar new [--force] PROJECT)");
  const std::string& path = paths[0];
  struct stat st;
  if (!force && ::stat(path.c_str(), &st) == 0) return fail(path + " exists already (use --force to replace it)");

  trestlar::Session session;
  std::string error;
  if (!session.start(options, error)) return fail(error);
  session.host().newProject();
  if (!session.saveProject(path, error)) return fail(error);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  trestlar::SessionOptions options;
  std::size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (a == "--addon" || a == "--config") {
      if (i + 1 >= args.size()) return fail(a + " needs a value");
      (a == "--addon" ? options.addonPath : options.configFolder) = args[++i];
      continue;
    }
    if (!a.empty() && a[0] == '-') return fail("unknown option " + a + " (see trestlar --help)");
    break;
  }
  if (i >= args.size()) {
    std::cerr << kUsage;
    return 2;
  }
  std::string command = args[i];
  std::vector<std::string> rest(args.begin() + std::ptrdiff_t(i) + 1, args.end());
  if (command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "new") return newProject(options, rest);
  if (command != "menus") return fail("unknown command '" + command + "' (see trestlar --help)");
  if (!rest.empty()) return fail(command + " takes no arguments");

  trestlar::Session session;
  std::string error;
  if (!session.start(options, error)) return fail(error);
  return menus(session);
}
