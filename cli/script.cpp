#include "cli/script.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/commands.h"
#include "cli/script_draw.h"
#include "cli/script_pointer.h"

namespace trestlar {

using standin::DialogAction;
using standin::ScriptAnswer;

namespace {

// Bytes a script may not hold: the C0 controls (a NUL would cut a text where the host reads
// it, a line feed would split a name) and DEL. Tabs and carriage returns outside texts are
// blanks.
bool controlByte(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

std::string byteName(char c) {
  static const char digits[] = "0123456789ABCDEF";
  const auto b = static_cast<unsigned char>(c);
  return std::string("0x") + digits[b >> 4] + digits[b & 15];
}

}  // namespace

bool scriptNumber(const std::string& word, double& value) {
  std::size_t i = 0, n = word.size(), digits = 0;
  auto digit = [&](std::size_t k) { return k < n && std::isdigit(static_cast<unsigned char>(word[k])); };
  if (i < n && (word[i] == '+' || word[i] == '-')) ++i;
  for (; digit(i); ++i) ++digits;
  if (i < n && word[i] == '.')
    for (++i; digit(i); ++i) ++digits;
  if (digits == 0) return false;
  if (i < n && (word[i] == 'e' || word[i] == 'E')) {
    ++i;
    if (i < n && (word[i] == '+' || word[i] == '-')) ++i;
    if (!digit(i)) return false;
    while (digit(i)) ++i;
  }
  if (i != n) return false;
  double v = std::strtod(word.c_str(), nullptr);
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

std::string menuPath(const ScriptLine& line) {
  std::string path;
  for (std::size_t i = 1; i < line.words.size(); ++i) path += (i > 1 ? " " : "") + line.words[i];
  return path;
}

bool splitScriptLine(const std::string& line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    // A comment, unless a verb's word "#N" (a pop-up entry by its number).
    if (c == '#' && (words.empty() || i + 1 >= line.size() || !std::isdigit(static_cast<unsigned char>(line[i + 1]))))
      break;
    // A word runs to the next blank; a double quote inside it takes a text with blanks
    // (NAME="Wall plate" is the word NAME=Wall plate).
    std::string word;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      char d = line[i++];
      if (d != '"') {
        if (controlByte(d)) {
          error = "the line holds the control character " + byteName(d);
          return false;
        }
        word += d;
        continue;
      }
      bool closed = false;
      while (i < line.size()) {
        char q = line[i++];
        if (q == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          word += line[i++];
        } else if (q == '"') {
          closed = true;
          break;
        } else if (controlByte(q)) {
          error = "a text holds the control character " + byteName(q);
          return false;
        } else {
          word += q;
        }
      }
      if (!closed) {
        error = "a text has no closing quote";
        return false;
      }
    }
    words.push_back(word);
  }
  return true;
}

namespace {

bool itemNumber(const std::string& word, int16_t& item, std::string& error) {
  char* end = nullptr;
  long n = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || !end || *end != '\0' || n < 1 || n > 32767) {
    error = "\"" + word + "\" is not an item number";
    return false;
  }
  item = int16_t(n);
  return true;
}

// Adds an action to the dialog block being written.
bool dialogAction(ScriptRun& run, const ScriptLine& line, DialogAction::Kind kind, bool hasItem,
                  std::string& error) {
  ScriptAnswer* block = run.dialogBlock();
  if (!block) {
    error = "\"" + line.words[0] + "\" answers a dialog: start the answers with a \"dialog\" line";
    return false;
  }
  DialogAction action;
  action.kind = kind;
  action.line = line.number;
  std::size_t first = 1;
  if (hasItem) {
    if (!itemNumber(line.words[1], action.item, error)) return false;
    first = 2;
  }
  action.args.assign(line.words.begin() + std::ptrdiff_t(first), line.words.end());
  block->actions.push_back(action);
  return true;
}

bool verbDialog(ScriptRun& run, const ScriptLine& line, std::string& error) {
  int32_t dialog = 0;
  if (line.words.size() > 1) {
    char* end = nullptr;
    long n = std::strtol(line.words[1].c_str(), &end, 10);
    if (!end || *end != '\0' || n < 1 || n > 0x7FFFFFFF) {
      error = "\"" + line.words[1] + "\" is not a dialog number";
      return false;
    }
    dialog = int32_t(n);
  }
  if (!run.endDialog(error)) return false;
  run.beginDialog(dialog, line.number);
  return true;
}

bool verbSet(ScriptRun& run, const ScriptLine& line, std::string& error) {
  return dialogAction(run, line, DialogAction::Kind::Set, true, error);
}
bool verbChoose(ScriptRun& run, const ScriptLine& line, std::string& error) {
  return dialogAction(run, line, DialogAction::Kind::Choose, true, error);
}
bool verbSelect(ScriptRun& run, const ScriptLine& line, std::string& error) {
  return dialogAction(run, line, DialogAction::Kind::Select, true, error);
}
bool verbEdit(ScriptRun& run, const ScriptLine& line, std::string& error) {
  return dialogAction(run, line, DialogAction::Kind::Edit, true, error);
}
bool verbClick(ScriptRun& run, const ScriptLine& line, std::string& error) {
  return dialogAction(run, line, DialogAction::Kind::Click, true, error);
}
bool verbOk(ScriptRun& run, const ScriptLine& line, std::string& error) {
  return dialogAction(run, line, DialogAction::Kind::Ok, false, error);
}
bool verbCancel(ScriptRun& run, const ScriptLine& line, std::string& error) {
  return dialogAction(run, line, DialogAction::Kind::Cancel, false, error);
}

bool verbAlert(ScriptRun& run, const ScriptLine& line, std::string&) {
  ScriptAnswer answer;
  answer.kind = ScriptAnswer::Kind::Alert;
  answer.button = line.words[1];
  answer.line = line.number;
  run.host().dialogs().queue(answer);
  return true;
}

bool verbSaveFile(ScriptRun& run, const ScriptLine& line, std::string& error) {
  // An empty path would cancel the dialog where the script meant to save.
  if (line.words[1].empty()) {
    error = "save-file needs a path (or cancel)";
    return false;
  }
  ScriptAnswer answer;
  answer.kind = ScriptAnswer::Kind::SaveFile;
  answer.path = line.words.size() > 1 && line.words[1] != "cancel" ? line.words[1] : std::string();
  answer.line = line.number;
  run.host().dialogs().queue(answer);
  return true;
}

bool verbEnd(ScriptRun& run, const ScriptLine&, std::string& error) { return run.endDialog(error); }

bool verbMenu(ScriptRun& run, const ScriptLine& line, std::string& error) {
  if (!run.endDialog(error)) return false;
  standin::Host& host = run.host();
  const std::string path = menuPath(line);
  standin::MenuItem item;
  if (!host.findMenuItem(path, item)) {
    error = "there is no menu item \"" + path + "\" (trestlar menus lists them)";
    return false;
  }
  if (item.flags & platform::kMenuItemDisabled) {
    error = "the menu item \"" + item.path + "\" is greyed";
    return false;
  }
  std::size_t before = host.dialogs().records().size();
  host.chooseMenuItem(item.menuList, item.itemIndex);
  return run.afterCommand(line, before, error);
}

const std::vector<ScriptVerb> kVerbs = {
    {"menu", 1, -1, &verbMenu, "menu PATH", "choose a menu item (\"Framing/Schedule/Enumerate Timbers\")"},
    {"dialog", 0, 1, &verbDialog,
     "dialog [ID]", "start the answers for the next dialog (ID: its dialog resource)"},
    {"set", 2, 2, &verbSet, "set ITEM VALUE", "type a value into a field, set a check box (on/off)"},
    {"choose", 2, 2, &verbChoose, "choose ITEM ENTRY", "choose a pop-up entry by its text, or #N"},
    {"select", 2, -1, &verbSelect, "select ITEM ROW...", "select list rows (from 1), or none"},
    {"edit", 4, 4, &verbEdit, "edit LIST ROW COL VALUE", "select a row and set the field laid on its column"},
    {"click", 1, 1, &verbClick, "click ITEM", "click a button, check box or radio button"},
    {"ok", 0, 0, &verbOk, "ok", "click OK (item 1)"},
    {"cancel", 0, 0, &verbCancel, "cancel", "click Cancel (item 2)"},
    {"end", 0, 0, &verbEnd, "end", "end the answers for a dialog"},
    {"alert", 1, 1, &verbAlert, "alert BUTTON", "answer the next alert with a button (its text or number)"},
    {"save-file", 1, 1, &verbSaveFile,
     "save-file PATH", "answer the next save-file dialog with PATH (cancel: cancel it)"},
    {"point", 2, 3, &verbPoint, "point X Y [Z]", "click a point for the next point request or line end"},
    {"arc", 2, 4, &verbArc, "arc X Y [Z] [cw]", "click the end of the next arc request (cw: drawn clockwise)"},
    {"polygon", 1, -1, &verbPolygon, "polygon X Y ... | back", "add vertices to the next polygon request"},
    {"escape", 0, 0, &verbEscape, "escape", "cancel the next input request"},
    {"draw", 3, -1, &verbDraw, "draw hatch|slab X Y [arc=ANGLE] ... [hole X Y ...] [view=NAME] [as=NAME]",
     "draw a polygon with the host's tool (arc= the edge ending at the vertex before, radians or deg)"},
};

const ScriptVerb* findVerb(const std::string& name) {
  for (const ScriptVerb& v : kVerbs)
    if (name == v.name) return &v;
  for (const ScriptVerb& v : toolVerbs())
    if (name == v.name) return &v;
  return nullptr;
}

}  // namespace

const std::vector<ScriptVerb>& scriptVerbs() { return kVerbs; }

void ScriptRun::beginDialog(int32_t dialog, int line) {
  block_ = ScriptAnswer();
  block_.kind = ScriptAnswer::Kind::Dialog;
  block_.dialog = dialog;
  block_.line = line;
  open_ = true;
}

bool ScriptRun::endDialog(std::string& error) {
  if (!open_) return true;
  open_ = false;
  standin::DialogManager& dialogs = host_.dialogs();
  if (!dialogs.answerOpenDialog(block_)) {
    dialogs.queue(block_);
    return true;
  }
  error = dialogs.scriptError();
  return error.empty();
}

bool ScriptRun::afterCommand(const ScriptLine& line, std::size_t recordsBefore, std::string& error) {
  standin::DialogManager& dialogs = host_.dialogs();
  if (!dialogs.scriptError().empty()) {
    error = dialogs.scriptError();
    return false;
  }
  if (!pointerAfterCommand(*this, line, error)) return false;
  const auto& records = dialogs.records();
  for (std::size_t i = recordsBefore; i < records.size(); ++i)
    if (records[i].missing)
      notes_.push_back("line " + std::to_string(line.number) + ": dialog " + std::to_string(records[i].resourceId) +
                       " could not be opened; nothing changed");
  if (!dialogs.pendingAnswers().empty()) {
    const ScriptAnswer& left = dialogs.pendingAnswers().front();
    const char* what = left.kind == ScriptAnswer::Kind::Dialog  ? "no dialog opened for the answers"
                       : left.kind == ScriptAnswer::Kind::Alert ? "no alert was shown for the answer"
                                                                : "no save-file dialog was shown for the answer";
    error = "line " + std::to_string(left.line) + ": " + what + " (the command of line " +
            std::to_string(line.number) + " has ended)";
    dialogs.dropAnswers();
    return false;
  }
  return true;
}

void ScriptRun::name(const std::string& label, const platform::Guid& guid) {
  names_[label] = guid;
  names_["last"] = guid;
}

bool ScriptRun::element(const std::string& word, platform::Guid& guid, std::string& error) {
  auto named = names_.find(word);
  if (named != names_.end() && host_.model().find(named->second)) {
    guid = named->second;
    return true;
  }
  platform::Guid parsed{};
  if (standin::parseGuid(word, parsed) && host_.model().find(parsed)) {
    guid = parsed;
    return true;
  }
  // An element ID of an element of any kind, in any view.
  std::vector<standin::HostElement*> byId = host_.model().findById(word);
  if (!byId.empty()) {
    guid = byId.front()->header().guid;
    return true;
  }
  error = "no element is named \"" + word + "\" (give one a name with as=NAME, or use its element ID)";
  return false;
}

bool ScriptRun::run(const std::string& text, std::string& error) {
  // Editors that save UTF-8 may start the file with a byte order mark.
  static const std::string kByteOrderMark = "\xEF\xBB\xBF";
  std::istringstream lines(text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0
                               ? text.substr(kByteOrderMark.size())
                               : text);
  std::string raw;
  int number = 0;
  while (std::getline(lines, raw)) {
    ++number;
    ScriptLine line;
    line.number = number;
    std::string why;
    if (!splitScriptLine(raw, line.words, why)) {
      error = "line " + std::to_string(number) + ": " + why;
      return false;
    }
    if (line.words.empty()) continue;
    const ScriptVerb* verb = findVerb(line.words[0]);
    if (!verb) {
      error = "line " + std::to_string(number) + ": unknown verb \"" + line.words[0] + "\"";
      return false;
    }
    int given = int(line.words.size()) - 1;
    if (given < verb->minWords || (verb->maxWords >= 0 && given > verb->maxWords)) {
      error = "line " + std::to_string(number) + ": expected " + verb->form;
      return false;
    }
    if (!verb->run(*this, line, why)) {
      // Messages from the host carry their line already.
      error = why.compare(0, 5, "line ") == 0 ? why : "line " + std::to_string(number) + ": " + why;
      return false;
    }
  }
  if (!endDialog(error)) return false;
  if (!host_.dialogs().pendingAnswers().empty()) {
    const ScriptAnswer& left = host_.dialogs().pendingAnswers().front();
    error = "line " + std::to_string(left.line) + ": these answers are followed by no menu line to use them";
    return false;
  }
  return pointerAfterScript(*this, error);
}

int runRun(const SessionOptions& options, const Arguments& args) {
  ParsedArguments parsed;
  std::string error;
  if (!parseArguments(args, {"--verbose"}, {"-o"}, parsed, error)) return fail(error + " for run (see trestlar --help)");
  if (parsed.plain.size() != 2) return fail("run takes a project and a script (trestlar run PROJECT SCRIPT [-o OUT] [--verbose])");
  const std::string& project = parsed.plain[0];
  const std::string& scriptPath = parsed.plain[1];
  // A folder opens as a stream that reads nothing: it would run as an empty script.
  std::error_code ignored;
  if (std::filesystem::is_directory(scriptPath, ignored))
    return fail(scriptPath + ": is a folder, not a script; " + project + " is left as it was");
  std::ifstream in(scriptPath, std::ios::binary);
  std::stringstream text;
  if (in) text << in.rdbuf();
  if (!in || in.bad()) return fail(scriptPath + ": cannot be read; " + project + " is left as it was");

  Session session;
  if (!openSession(session, options, project, error)) return fail(error);
  if (parsed.has("--verbose")) session.echoAnswers();
  ScriptRun run(session.host());
  bool ok = run.run(text.str(), error);
  for (const std::string& note : run.notes()) std::cerr << "trestlar: " << scriptPath << ": " << note << "\n";
  // A script line that failed after a host call was made to fail says which call it was.
  if (!ok) return fail(session, scriptPath + ": " + error + "; " + project + " is left as it was");
  std::string out = parsed.has("-o") ? parsed.value("-o") : project;
  if (!session.saveProject(out, error)) return fail(error);
  std::cout << "saved " << out << "\n";
  return 0;
}

}  // namespace trestlar
