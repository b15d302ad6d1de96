#include "cli/session.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "host/files/file_replace.h"
#include "platform/host_records.h"

namespace trestlar {

std::string Session::defaultAddonPath() {
  if (const char* env = std::getenv("TRESTLAR_ADDON")) return env;
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "libtrestlar.so";
  std::string exe(buffer, std::size_t(n));
  std::string dir = exe.substr(0, exe.find_last_of('/'));
  return dir + "/lib/libtrestlar.so";
}

std::string Session::defaultConfigFolder() {
  if (const char* env = std::getenv("TRESTLAR_CONFIG_DIR"); env && *env) return env;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.config";
  return std::string();
}

Session::~Session() {
  // The host first: it unloads the add-on through the table while the fault plan still lives.
  host_.reset();
  // A fault sweep learns from here how many calls a run makes (the K past which nothing fails).
  const char* countFile = std::getenv("TRESTLAR_HOST_CALL_COUNT");
  if (options_.failHostCall > 0 && countFile && *countFile) {
    if (FILE* out = std::fopen(countFile, "w")) {
      std::fprintf(out, "%d\n", faults_.calls);
      std::fclose(out);
    }
  }
  for (const std::string& path : staged_) std::remove(path.c_str());
}

bool Session::start(const SessionOptions& options, std::string& error) {
  options_ = options;
  host_ = std::make_unique<standin::Host>();
  host_->setApplicationDataFolder(options.configFolder.empty() ? defaultConfigFolder() : options.configFolder);
  host_->setAlertEcho([](const standin::AlertRecord& alert) {
    std::cerr << (alert.title.empty() ? "Alert" : alert.title) << ": " << alert.text << "\n";
  });
  // Every save of the session is judged by what the host saw before anything is written.
  host_->setSaveCheck([this](std::string& why) {
    if (succeeded(why)) return true;
    why += ", so nothing was saved";
    return false;
  });
  // Progress windows show as a bar when someone watches standard error.
  if (::isatty(2)) {
    host_->dialogs().setProgressEcho([](const standin::ProgressRecord& p) {
      std::cerr << "\r" << standin::progressBarLine(p, 30) << "\033[K";
      if (p.closed) std::cerr << "\n";
      std::cerr.flush();
    });
  }
  if (options.failHostCall > 0) {
    faults_ = standin::FaultPlan();
    faults_.failAt = options.failHostCall;
    host_->setTable(standin::faultyTable(host_->table(), faults_));
  }
  std::string path = options.addonPath.empty() ? defaultAddonPath() : options.addonPath;
  options_.inputs.push_back(path);
  auto module = standin::AddonModule::open(path, error);
  if (!module) return false;
  if (host_->load(std::move(module), error)) return true;
  // A call made to fail is the cause of whatever the add-on answered.
  if (faults_.fired && !succeeded(error)) error += ", so the add-on could not be loaded";
  return false;
}

namespace {

std::string answeredBy(int line) {
  return line > 0 ? " (line " + std::to_string(line) + ")" : " (the script has no answer for it)";
}

}  // namespace

void Session::echoAnswers() {
  if (!host_) return;
  host_->dialogs().setDialogEcho(
      [](const standin::OpenDialog& dialog, const standin::ScriptAnswer* answer) {
        std::cerr << "dialog " << dialog.resourceId << " \"" << dialog.title << "\" opens: "
                  << (answer ? "the answers of line " + std::to_string(answer->line)
                             : std::string("the script has no answers for it"))
                  << "\n";
      },
      [](const standin::DialogRecord& record) {
        std::cerr << "dialog " << record.resourceId << " \"" << record.title << "\" closes with item "
                  << record.closedBy << "\n";
      });
  // Alerts are printed as they come in any case; the answer follows.
  host_->setAlertEcho([](const standin::AlertRecord& alert) {
    std::cerr << (alert.title.empty() ? "Alert" : alert.title) << ": " << alert.text << "\n";
    std::string button = alert.answer >= 1 && std::size_t(alert.answer) <= alert.buttons.size()
                             ? alert.buttons[std::size_t(alert.answer) - 1]
                             : std::to_string(alert.answer);
    std::cerr << "alert answered \"" << button << "\"" << answeredBy(alert.answerLine) << "\n";
  });
  host_->pointer().setEcho([](const standin::InputRecord& request) {
    std::cerr << "prompt \"" << request.prompt << "\" (" << standin::inputKindName(request.kind) << "): ";
    if (request.answerLine > 0) std::cerr << request.answerText << " (line " << request.answerLine << ")";
    else std::cerr << "the script has no answer for it";
    std::cerr << "\n";
  });
}

bool Session::openProject(const std::string& path, std::string& error) {
  if (!host_) {
    error = "the host is not started";
    return false;
  }
  if (!host_->openProject(path, error)) {
    if (faults_.fired) error += " (" + faultNote() + ")";
    return false;
  }
  options_.inputs.push_back(path);
  // What of the project's library did not load is said now: its parts' members would
  // otherwise drop out of the work without a word.
  for (const std::string& message : host_->library().messages())
    std::cerr << "trestlar: " << path << ": " << message << "\n";
  return true;
}

bool Session::saveProject(const std::string& path, std::string& error) {
  if (!host_) {
    error = "the host is not started";
    return false;
  }
  const std::string target = path.empty() ? host_->projectPath() : path;
  if (!target.empty() && !checkOutputFile(target, true, error)) return false;
  // What the project stored and the add-on could not read would be replaced by its defaults.
  if (host_->moduleDataUnread() && !options_.force) {
    const std::string& package = host_->unreadModulePackage();
    error = "the project's module data did not read (" + (package.empty() ? std::string("no package named") : package) +
            "), so saving would replace it with defaults (--force saves all the same); nothing was saved";
    // A read that failed because a call was made to fail says which call.
    if (faults_.fired) error = faultNote() + ": " + error;
    return false;
  }
  return host_->saveProject(path, error, options_.force);
}

bool Session::checkOutput(const std::string& output, std::string& error) const {
  return checkOutputFile(output, false, error);
}

bool Session::checkOutputFile(const std::string& output, bool projectSave, std::string& error) const {
  const std::string project = host_ ? host_->projectPath() : std::string();
  for (const std::string& input : options_.inputs) {
    if (!standin::sameFile(output, input)) continue;
    // Saving a project over the file it came from is what a save is.
    if (projectSave && !project.empty() && standin::sameFile(input, project)) continue;
    error = output + ": is the same file as " + input + ", which this command reads; nothing was written";
    return false;
  }
  switch (standin::replaceable(output)) {
    case standin::Replaceable::notRegular:
      error = output + ": is not a regular file, so it is not replaced; nothing was written";
      return false;
    case standin::Replaceable::readOnly:
      if (options_.force) break;
      error = output + ": is read-only (--force replaces it and keeps it read-only); nothing was written";
      return false;
    case standin::Replaceable::absent:
    case standin::Replaceable::file: break;
  }
  return true;
}

std::string Session::faultNote() const {
  if (!faults_.fired) return std::string();
  return "host call " + std::to_string(faults_.failAt) + " (" + (faults_.operation ? faults_.operation : "?") +
         ") was made to fail";
}

bool Session::succeeded(std::string& error) const {
  if (faults_.fired) {
    error = faultNote();
    return false;
  }
  if (host_) {
    for (const standin::AlertRecord& alert : host_->alerts()) {
      if (alert.kind != platform::kAlertError) continue;
      error = "the add-on reported an error (\"" + alert.text + "\")";
      return false;
    }
  }
  return true;
}

bool Session::writeOutput(const std::string& output, const std::string& bytes, std::string& error) {
  if (!succeeded(error)) {
    error += ", so nothing was written";
    return false;
  }
  if (!checkOutput(output, error)) return false;
  return standin::writeFileReplacing(output, bytes, options_.force, error);
}

std::string Session::stageOutput(const std::string& output) {
  // Beside the file the output replaces, so that putting it in place is one rename.
  const std::string base = standin::hiddenSibling(output, ".trestlar-" + std::to_string(::getpid()) + "-");
  std::string staged;
  for (int n = 0; n < 100; ++n) {
    staged = base + std::to_string(n);
    if (standin::replaceable(staged) == standin::Replaceable::absent) break;
  }
  staged_.push_back(staged);
  return staged;
}

bool Session::placeOutput(const std::string& staged, const std::string& output, std::string& error) {
  bool ok = succeeded(error);
  if (!ok) error += ", so nothing was written";
  // A writer that answered success without writing anything has not written the output.
  if (ok && standin::replaceable(staged) == standin::Replaceable::absent) {
    error = output + ": the add-on wrote nothing, so it is left as it was";
    ok = false;
  }
  ok = ok && checkOutput(output, error) && standin::replaceFile(staged, output, options_.force, error);
  if (!ok) std::remove(staged.c_str());
  return ok;
}

}  // namespace trestlar
