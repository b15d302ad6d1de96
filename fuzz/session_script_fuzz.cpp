// Session scripts (trestlar run) on a small project with timber parts: whatever the
// text, the run never crashes or throws and either succeeds or fails with a message naming a
// line of the script; a project a script has run on saves and reads back. Scripts that
// answer a save-file dialog are skipped, since their path could name any file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/script.h"
#include "fuzz_host.h"
#include "host/project/project_file.h"

namespace {

// The project every run starts from: an empty plan with a library of three timber parts (the
// family's base part, "Rectilinear" and "Peg"), since every run reads its library afresh.
const std::string& projectFile() {
  static const std::string path = [] {
    const std::string folder = fuzz::workFolder() + "/script-library";
    std::filesystem::create_directories(folder);
    for (const char* part : {"Timber Member.gsm", "Rectilinear.gsm", "Peg.gsm"})
      std::filesystem::copy_file(fuzz::workFolder() + "/library/" + part, folder + "/" + part);
    std::string made = fuzz::workFolder() + "/start.trestlar";
    std::ofstream(made) << "{\"format\": \"trestlar-project\", \"version\": 2, \"settings\": {\"workingUnits\": "
                           "\"metric\"}, \"library\": {\"folders\": [\"script-library\"]}}\n";
    return made;
  }();
  return path;
}

// The line number a message starts with ("line N: ..."), or 0.
int lineOf(const std::string& message) {
  if (message.compare(0, 5, "line ") != 0) return 0;
  return std::atoi(message.c_str() + 5);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  int lines = 0;
  {
    std::istringstream in(text);
    std::vector<std::string> words;
    std::string why;
    for (std::string line; std::getline(in, line); ++lines)
      if (trestlar::splitScriptLine(line, words, why) && !words.empty() && words[0] == "save-file") return 0;
  }
  // One host for every run, as one for every session: each run opens the project afresh.
  static std::unique_ptr<standin::Host> host = fuzz::loadedHost();
  host->clearRecords();
  host->dialogs().clearRecords();
  std::string error;
  if (!host->openProject(projectFile(), error)) std::abort();
  trestlar::ScriptRun run(*host);
  if (!run.run(text, error)) {
    const int line = lineOf(error);
    if (line < 1 || line > lines) std::abort();
    return 0;
  }
  const std::string saved = fuzz::workFolder() + "/saved.trestlar";
  if (!host->saveProject(saved, error)) std::abort();
  standin::ProjectData back;
  if (!standin::readProjectFile(saved, back, error)) std::abort();
  return 0;
}
