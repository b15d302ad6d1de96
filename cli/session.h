// A stand-in host with the add-on loaded, as every command of the command line uses it.
#pragma once

#include <memory>
#include <string>

#include "host/core/host.h"

namespace trestlar {

// Options common to every command.
struct SessionOptions {
  std::string addonPath;    // the add-on library; empty: beside this program
  std::string configFolder; // the user's application-data folder; empty: the XDG default
};

// Starts a host and loads the add-on into it.
class Session {
 public:
  // Loads the add-on; false with error set when it cannot be loaded.
  bool start(const SessionOptions& options, std::string& error);
  standin::Host& host() { return *host_; }

  // Opens the project file at path in the host (the add-on hears notification 4); false with
  // error naming the file and the problem. Call after start.
  bool openProject(const std::string& path, std::string& error);
  // Saves the open project to path, or to the file it came from when path is empty; false
  // with error when there is no project or the file cannot be written.
  bool saveProject(const std::string& path, std::string& error);
  // From now on prints on standard error each dialog, alert and prompt as it comes, with the
  // answer the script gave it (trestlar run --verbose). Call after start.
  void echoAnswers();

  // The add-on library beside the running program.
  static std::string defaultAddonPath();
  // The application-data folder: $TRESTLAR_CONFIG_DIR, else $XDG_CONFIG_HOME, else ~/.config.
  static std::string defaultConfigFolder();

 private:
  std::unique_ptr<standin::Host> host_;
};

}  // namespace trestlar
