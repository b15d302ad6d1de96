// Session scripts: line-based scripts that choose menu items and answer the dialogs and
// alerts they bring up (trestlar run). Each line is a verb and its words; the verbs are a
// table, so new actions are new rows.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "host/core/host.h"

namespace trestlar {

// One line of a script, split into words.
struct ScriptLine {
  int number = 0;
  std::vector<std::string> words;  // the verb first
};

// The menu path of a menu line: the words after the verb, joined by single blanks (a path
// needs no quotes around its blanks).
std::string menuPath(const ScriptLine& line);

// Splits a line: blanks separate words, double quotes anywhere in a word take a text with
// blanks into it (a backslash before a quote or a backslash inside takes it as it is), a '#'
// at the start of a word begins a comment (but "#N" after the verb is a word). False with
// error for a text without its closing quote or a control character (tabs and carriage
// returns outside texts are blanks).
bool splitScriptLine(const std::string& line, std::vector<std::string>& words, std::string& error);

// Positions, distances and lengths a script gives are at most this many metres either way: no
// building is that large, and far beyond it a body's vertices lose the millimetres its sizes
// are read to.
constexpr double kScriptFarthest = 1e6;

// Reads a number as a user types it: an optional sign, digits with an optional decimal point
// and an optional exponent; false for anything else (blanks, hexadecimal, NaN, infinity, a
// number that overflows).
bool scriptNumber(const std::string& word, double& value);

class ScriptRun;

// A verb of the script language.
struct ScriptVerb {
  const char* name;
  int minWords;  // words after the verb
  int maxWords;  // -1: any number
  // Carries the line out; false with error when it cannot be.
  bool (*run)(ScriptRun& run, const ScriptLine& line, std::string& error);
  const char* form;  // "set ITEM VALUE"
  const char* help;
};

// The verbs, in the order the help lists them.
const std::vector<ScriptVerb>& scriptVerbs();
// The verbs of the host's own tools (placing, copying, stretching, changing elements).
const std::vector<ScriptVerb>& toolVerbs();

// Runs a script in a host with the add-on loaded.
class ScriptRun {
 public:
  explicit ScriptRun(standin::Host& host) : host_(host) {}

  // Runs the script's text; false with error ("line N: ...") at the first line that cannot be
  // carried out. Nothing is saved here.
  bool run(const std::string& text, std::string& error);
  // Notes printed while running (a dialog that could not be opened).
  const std::vector<std::string>& notes() const { return notes_; }

  standin::Host& host() { return host_; }
  // Starts the answers for the next dialog (of resource dialog; 0 any).
  void beginDialog(int32_t dialog, int line);
  // The dialog answers being written, or null outside a dialog block.
  standin::ScriptAnswer* dialogBlock() { return open_ ? &block_ : nullptr; }
  // Ends the dialog block being written, if any: carried out at once when it names a modeless
  // dialog that is open, else queued. False with error when an action fails.
  bool endDialog(std::string& error);
  // Checks what the host did after a command: script errors, answers nobody took, dialogs
  // that could not be opened. False with error.
  bool afterCommand(const ScriptLine& line, std::size_t recordsBefore, std::string& error);
  // Names an element for later lines (`as=NAME`); the last element placed or copied is `last`.
  void name(const std::string& label, const platform::Guid& guid);
  // The element a word names: a name given with `as=`, `last`, an element ID or a GUID;
  // false with error when none does.
  bool element(const std::string& word, platform::Guid& guid, std::string& error);

 private:
  standin::Host& host_;
  standin::ScriptAnswer block_;
  bool open_ = false;
  std::vector<std::string> notes_;
  std::map<std::string, platform::Guid> names_;
};

}  // namespace trestlar
