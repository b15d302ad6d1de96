// A stand-in host with the add-on loaded, as every command of the command line uses it, and
// the one rule every command follows for the files it writes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/core/fault_table.h"
#include "host/core/host.h"

namespace trestlar {

// Options common to every command.
struct SessionOptions {
  std::string addonPath;    // the add-on library; empty: beside this program
  std::string configFolder; // the user's application-data folder; empty: the XDG default
  bool force = false;       // an output may replace a read-only file (which stays read-only),
                            // and a project whose module data did not read may be saved
  int failHostCall = 0;     // testing: the K-th host call answering a result code fails (0: none)
  std::vector<std::string> inputs;  // files named on the command line that the command reads
};

// Starts a host and loads the add-on into it. Outputs follow one rule (checkOutput): never the
// same file as an input, only a regular file, a read-only one only with force; and nothing is
// written once the command has failed (succeeded).
class Session {
 public:
  Session() = default;
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Loads the add-on (through the fault-injecting table when options ask a host call to fail);
  // false with error set when it cannot be loaded.
  bool start(const SessionOptions& options, std::string& error);
  standin::Host& host() { return *host_; }

  // Opens the project file at path in the host (the add-on hears notification 4), which then
  // counts as an input; false with error naming the file and the problem. What of its library
  // did not load (a missing folder, a part file that does not read) is printed on standard
  // error. Call after start.
  bool openProject(const std::string& path, std::string& error);
  // Saves the open project to path, or to the file it came from when path is empty: checked
  // as an output (the project's own file may be saved over), and refused once the command has
  // failed, leaving the file as it was, and, unless forced, when the add-on reported that the
  // project's module data did not read. False with error when there is no project, the output
  // is refused or the file cannot be written.
  bool saveProject(const std::string& path, std::string& error);
  // From now on prints on standard error each dialog, alert and prompt as it comes, with the
  // answer the script gave it (trestlar run --verbose). Call after start.
  void echoAnswers();

  // Checks that output may be written: not the same file as any input (by device and inode,
  // whatever the path, link or hard link), nothing but a regular file where it is, and not a
  // read-only file unless forced. False with error naming the output and the reason.
  bool checkOutput(const std::string& output, std::string& error) const;
  // Whether the command went well as the host saw it: false with error quoting the first error
  // alert the add-on showed, or naming the host call that was made to fail.
  bool succeeded(std::string& error) const;
  // "host call K (OPERATION) was made to fail" once the planned call failed; else empty.
  std::string faultNote() const;
  // Writes bytes to output once the command has succeeded and checkOutput allows it, through a
  // new file that replaces output only when complete. False with error; nothing is written.
  bool writeOutput(const std::string& output, const std::string& bytes, std::string& error);
  // A free path beside output for a file that placeOutput later puts in its place; whatever is
  // left there is deleted when the session ends.
  std::string stageOutput(const std::string& output);
  // Puts the staged file in place of output once the command has succeeded and checkOutput
  // allows it; else deletes it. False with error; output is then as it was.
  bool placeOutput(const std::string& staged, const std::string& output, std::string& error);

  // The add-on library beside the running program.
  static std::string defaultAddonPath();
  // The application-data folder: $TRESTLAR_CONFIG_DIR, else $XDG_CONFIG_HOME, else ~/.config.
  static std::string defaultConfigFolder();

 private:
  // checkOutput; a project save may write over the open project's own file.
  bool checkOutputFile(const std::string& output, bool projectSave, std::string& error) const;

  SessionOptions options_;
  std::vector<std::string> staged_;
  // Declared before the host, which calls through the table that reads it until it unloads.
  standin::FaultPlan faults_;
  std::unique_ptr<standin::Host> host_;
};

}  // namespace trestlar
