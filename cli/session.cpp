#include "cli/session.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>

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

bool Session::start(const SessionOptions& options, std::string& error) {
  host_ = std::make_unique<standin::Host>();
  host_->setApplicationDataFolder(options.configFolder.empty() ? defaultConfigFolder() : options.configFolder);
  host_->setAlertEcho([](const standin::AlertRecord& alert) {
    std::cerr << (alert.title.empty() ? "Alert" : alert.title) << ": " << alert.text << "\n";
  });
  // Progress windows show as a bar when someone watches standard error.
  if (::isatty(2)) {
    host_->dialogs().setProgressEcho([](const standin::ProgressRecord& p) {
      std::cerr << "\r" << standin::progressBarLine(p, 30) << "\033[K";
      if (p.closed) std::cerr << "\n";
      std::cerr.flush();
    });
  }
  std::string path = options.addonPath.empty() ? defaultAddonPath() : options.addonPath;
  auto module = standin::AddonModule::open(path, error);
  if (!module) return false;
  return host_->load(std::move(module), error);
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
  return host_->openProject(path, error);
}

bool Session::saveProject(const std::string& path, std::string& error) {
  if (!host_) {
    error = "the host is not started";
    return false;
  }
  return host_->saveProject(path, error);
}

}  // namespace trestlar
