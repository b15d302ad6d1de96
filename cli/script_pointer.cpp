#include "cli/script_pointer.h"

#include <cmath>
#include <cstdlib>

namespace trestlar {

using standin::PointerAnswer;
using standin::PointerFailure;

namespace {

// A coordinate in metres: a decimal number within the reach of a script's positions.
bool coordinate(const std::string& word, const char* what, double& value, std::string& error) {
  double v = 0;
  if (!scriptNumber(word, v)) {
    // NaN and infinities are spelt as numbers, but no pointer gives them.
    const bool spelt = !std::isfinite(std::strtod(word.c_str(), nullptr));
    error = "\"" + word + "\" is " + (spelt ? "no coordinate a pointer gives" : "not a number") + " (" + what + ")";
    return false;
  }
  if (std::fabs(v) > kScriptFarthest) {
    error = "\"" + word + "\" is no coordinate a pointer gives (" + what + "): positions are at most 1000 km either way";
    return false;
  }
  value = v;
  return true;
}

std::string wordsOf(const ScriptLine& line) {
  std::string text;
  for (const std::string& word : line.words) text += (text.empty() ? "" : " ") + word;
  return text;
}

// Ends an open dialog block and queues the answer.
bool queue(ScriptRun& run, const ScriptLine& line, PointerAnswer answer, std::string& error) {
  if (!run.endDialog(error)) return false;
  answer.line = line.number;
  answer.text = wordsOf(line);
  run.host().pointer().queue(std::move(answer));
  return true;
}

// "X Y [Z]" from words[first] on (count of them); false with error.
bool position(const ScriptLine& line, std::size_t first, std::size_t count, PointerAnswer& answer,
              std::string& error) {
  double x = 0, y = 0, z = 0;
  if (!coordinate(line.words[first], "x", x, error) || !coordinate(line.words[first + 1], "y", y, error)) return false;
  if (count > 2 && !coordinate(line.words[first + 2], "z", z, error)) return false;
  answer.at = {x, y, z};
  answer.hasZ = count > 2;
  return true;
}

// The command a script line ran, as the user knows it: a menu item's own name, else the verb.
std::string commandName(ScriptRun& run, const ScriptLine& line) {
  if (line.words.size() > 1 && line.words[0] == "menu") {
    standin::MenuItem item;
    const std::string given = menuPath(line);
    std::string path = run.host().findMenuItem(given, item) ? item.path : given;
    return path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
  }
  return line.words.empty() ? std::string() : line.words[0];
}

}  // namespace

bool verbPoint(ScriptRun& run, const ScriptLine& line, std::string& error) {
  PointerAnswer answer;
  answer.kind = PointerAnswer::Kind::Point;
  if (!position(line, 1, line.words.size() - 1, answer, error)) return false;
  return queue(run, line, std::move(answer), error);
}

bool verbArc(ScriptRun& run, const ScriptLine& line, std::string& error) {
  PointerAnswer answer;
  answer.kind = PointerAnswer::Kind::Arc;
  std::size_t count = line.words.size() - 1;
  if (line.words.back() == "cw") {
    answer.clockwise = true;
    --count;
  }
  if (count < 2 || count > 3) {
    error = "expected arc X Y [Z] [cw]";
    return false;
  }
  if (!position(line, 1, count, answer, error)) return false;
  return queue(run, line, std::move(answer), error);
}

bool verbPolygon(ScriptRun& run, const ScriptLine& line, std::string& error) {
  PointerAnswer answer;
  answer.kind = PointerAnswer::Kind::Polygon;
  int added = 0;  // the vertices after the polygon's first one, which the request gives
  for (std::size_t i = 1; i < line.words.size(); ++i) {
    PointerAnswer::Step step;
    if (line.words[i] == "back") {
      if (added == 0) {
        error = "\"back\" takes back more vertices than the polygon has added";
        return false;
      }
      step.back = true;
      --added;
    } else {
      if (i + 1 >= line.words.size()) {
        error = "the vertex \"" + line.words[i] + "\" has no y (a vertex is X Y)";
        return false;
      }
      double x = 0, y = 0;
      if (!coordinate(line.words[i], "x of a vertex", x, error) ||
          !coordinate(line.words[i + 1], "y of a vertex", y, error))
        return false;
      step.vertex = {x, y, 0.0};
      ++i;
      ++added;
    }
    answer.steps.push_back(step);
  }
  const int needed = platform::kPolygonMinVertices - 1;
  if (added < needed) {
    error = "the polygon adds " + std::to_string(added) + (added == 1 ? " vertex" : " vertices") +
            " to its first one; it takes at least " + std::to_string(needed);
    return false;
  }
  return queue(run, line, std::move(answer), error);
}

bool verbEscape(ScriptRun& run, const ScriptLine& line, std::string& error) {
  return queue(run, line, PointerAnswer::escape(), error);
}

bool pointerAfterCommand(ScriptRun& run, const ScriptLine& line, std::string& error) {
  standin::Pointer& pointer = run.host().pointer();
  const PointerFailure& failure = pointer.failure();
  if (failure.kind != PointerFailure::Kind::None) {
    const std::string asked = "\"" + commandName(run, line) + "\"";
    const std::string prompt = "\"" + failure.prompt + "\"";
    const std::string commandLine = "line " + std::to_string(line.number);
    const std::string answerLine = "line " + std::to_string(failure.line);
    switch (failure.kind) {
      case PointerFailure::Kind::NoAnswer:
        error = commandLine + ": " + asked + " asked " + prompt + " and the script has no " +
                standin::inputAnswerVerb(failure.request) + " left";
        break;
      case PointerFailure::Kind::WrongAnswer:
        error = answerLine + ": " + asked + " (" + commandLine + ") asked " + prompt + " and the script answers with \"" +
                standin::pointerAnswerVerb(failure.answer) + "\" where \"" + standin::inputAnswerVerb(failure.request) +
                "\" or \"escape\" is wanted";
        break;
      default:
        error = answerLine + ": " + failure.message + " (" + asked + " of " + commandLine + " asked " + prompt + ")";
        break;
    }
    pointer.clearFailure();
    pointer.dropAnswers();
    return false;
  }
  if (!pointer.pendingAnswers().empty()) {
    error = "line " + std::to_string(pointer.pendingAnswers().front().line) +
            ": no input request took the answer (the command of line " + std::to_string(line.number) + " has ended)";
    pointer.dropAnswers();
    return false;
  }
  return true;
}

bool pointerAfterScript(ScriptRun& run, std::string& error) {
  standin::Pointer& pointer = run.host().pointer();
  if (pointer.pendingAnswers().empty()) return true;
  error = "line " + std::to_string(pointer.pendingAnswers().front().line) +
          ": this answer is followed by no menu line to use it";
  pointer.dropAnswers();
  return false;
}

}  // namespace trestlar
