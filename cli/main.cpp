// trestlar: runs the Trestlar add-on inside the stand-in host.
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const trestlar::SessionOptions&, const trestlar::Arguments&);
  const char* usage;
  bool writes;  // writes a file: takes --force
  bool reads;   // the files its arguments name (all but -o's) are inputs it must not write over
};

const Command kCommands[] = {
    {"menus", &trestlar::runMenus,
     "menus [PROJECT]\n      list the add-on's menus and their items as the host shows them; with a project,\n"
     "      as they are once it is open (the Alignment menu names the project's presets)",
     false, true},
    {"new", &trestlar::runNew,
     "new [--force] PROJECT\n      create an empty project file (.trestlar); an existing file is kept unless\n"
     "      --force is given (a read-only one stays read-only)",
     true, false},
    {"prefs", &trestlar::runPrefs,
     "prefs [PROJECT]\n      print the project's module data (the add-on's preferences) as stored; with no\n"
     "      project, the preferences of a new project",
     false, true},
    {"macro", &trestlar::runMacro,
     "macro [PROJECT] [-o FILE] [--force]\n"
     "      write the ProjectData macro the add-on generates for the project (to standard\n"
     "      output without -o)",
     true, true},
    {"run", &trestlar::runRun,
     "run PROJECT SCRIPT [-o OUT] [--verbose] [--force]\n"
     "      run a session script (menu choices and the answers to their dialogs, alerts\n"
     "      and clicks) on the project, then save it (to OUT when given); --verbose prints each\n"
     "      dialog, alert and prompt with the script's answer; see the README",
     true, true},
    {"schedule", &trestlar::runSchedule,
     "schedule [PROJECT] [--cutlist] [--headings] [--selection] [--select ID,...] [--number]\n"
     "         [--strict] [-o FILE] [--force]\n"
     "      write the project's costed timber schedule, or its cutting list, as a Timber Schedule\n"
     "      file (default \"Timber Schedule.txt\"); with no project, the bundled sample; --number\n"
     "      numbers the timbers first (the project file is left as it was)",
     true, true},
    {"number", &trestlar::runNumber,
     "number [PROJECT] [--new-only] [--group] [-o OUT] [--force]\n"
     "      number the scheduled timbers so that identical ones share a number, then save the\n"
     "      project (to OUT when given); --new-only numbers only timbers without a number,\n"
     "      --group also gives a new timber the number of an identical numbered one; with no\n"
     "      project, the bundled sample, saved as barn.trestlar here",
     true, true},
    {"draw", &trestlar::runDraw,
     "draw [PROJECT] [--view plan|3d|NAME] [--select ID,...] [--trace SCRIPT] [-o FILE] [--force]\n"
     "      write an SVG picture of the plan, the 3D model or a section or elevation (default\n"
     "      PROJECT-VIEW.svg here, - for standard output), the elements of --select highlighted;\n"
     "      --trace runs a session script first and draws its clicks and the add-on's rubber\n"
     "      lines on top (the project file is left as it was); with no project, the bundled sample",
     true, true},
    // Hidden: regenerates the bundled sample project.
    {"make-sample", &trestlar::runMakeSample, nullptr, true, false},
};

void usage(std::ostream& out) {
  out << "usage: trestlar [--addon LIB] [--config DIR] [--fail-host-call K] COMMAND [ARGS]\n\nCommands:\n";
  for (const Command& c : kCommands)
    if (c.usage) out << "  " << c.usage << "\n";
  out << "  help\n      show this text\n"
      << "\nA command never writes over a file it reads, nor over anything but a regular file; a\n"
      << "read-only output is replaced only with --force and stays read-only. A command that\n"
      << "fails writes nothing.\n"
      << "\nOptions:\n"
      << "  --addon LIB   the add-on library to load (default: lib/libtrestlar.so beside this\n"
      << "                program, or $TRESTLAR_ADDON)\n"
      << "  --config DIR  the user's application-data folder (default: $TRESTLAR_CONFIG_DIR,\n"
      << "                $XDG_CONFIG_HOME or ~/.config)\n"
      << "  --fail-host-call K\n"
      << "                testing: the K-th host call of the run that answers a result code fails\n";
}

// A whole number from 1 up; false for anything else.
bool readCount(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::stoi(text);
  return value > 0;
}

// The files a command's arguments name, but for the value of -o: what it reads.
std::vector<std::string> namedFiles(const trestlar::Arguments& args) {
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      ++i;
      continue;
    }
    if (!args[i].empty() && args[i][0] != '-') files.push_back(args[i]);
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  trestlar::SessionOptions options;
  std::size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      usage(std::cout);
      return 0;
    }
    if (a == "--addon" || a == "--config" || a == "--fail-host-call") {
      if (i + 1 >= args.size()) return trestlar::fail(a + " needs a value");
      const std::string& value = args[++i];
      if (a == "--fail-host-call") {
        if (!readCount(value, options.failHostCall))
          return trestlar::fail("--fail-host-call takes a whole number from 1 (not \"" + value + "\")");
      } else {
        (a == "--addon" ? options.addonPath : options.configFolder) = value;
      }
      continue;
    }
    if (!a.empty() && a[0] == '-') return trestlar::fail("unknown option " + a + " (see trestlar --help)");
    break;
  }
  if (i >= args.size()) {
    usage(std::cerr);
    return 2;
  }
  const std::string& command = args[i];
  trestlar::Arguments rest(args.begin() + std::ptrdiff_t(i) + 1, args.end());
  if (command == "help") {
    usage(std::cout);
    return 0;
  }
  for (const Command& c : kCommands) {
    if (command != c.name) continue;
    // --force belongs to every command that writes: taken here, once for all of them.
    if (c.writes) {
      for (auto it = rest.begin(); it != rest.end();) {
        if (*it == "--force") {
          options.force = true;
          it = rest.erase(it);
        } else {
          ++it;
        }
      }
    }
    if (c.reads) options.inputs = namedFiles(rest);
    return c.run(options, rest);
  }
  return trestlar::fail("unknown command '" + command + "' (see trestlar --help)");
}
