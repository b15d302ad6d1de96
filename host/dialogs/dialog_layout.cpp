#include "host/dialogs/dialog_layout.h"

#include <cstdlib>
#include <set>
#include <sstream>

namespace standin {

namespace {

struct KindName {
  const char* word;
  int32_t kind;
};

const KindName kKinds[] = {
    {"button", platform::kDGButton},       {"static", platform::kDGStaticText},
    {"text", platform::kDGEditText},       {"int", platform::kDGIntEdit},
    {"real", platform::kDGRealEdit},       {"length", platform::kDGLengthEdit},
    {"angle", platform::kDGAngleEdit},     {"check", platform::kDGCheckBox},
    {"radio", platform::kDGRadioButton},   {"popup", platform::kDGPopup},
    {"list", platform::kDGList},           {"layer", platform::kDGUserControl},
    {"pen", platform::kDGUserControl},     {"progress", platform::kDGProgressBar},
    {"group", platform::kDGGroupBox},
};

// A word of a line: quoted marks a text in double quotes.
struct Word {
  std::string text;
  bool quoted = false;
};

bool splitWords(const std::string& line, std::vector<Word>& words, std::string& error) {
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t') {
      ++i;
      continue;
    }
    Word w;
    if (c == '"') {
      w.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '\\' && i < line.size()) {
          w.text += line[i++];
        } else if (d == '"') {
          closed = true;
          break;
        } else {
          w.text += d;
        }
      }
      if (!closed) {
        error = "a text has no closing quote";
        return false;
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') w.text += line[i++];
    }
    words.push_back(w);
  }
  return true;
}

bool number(const Word& w, double& out) {
  if (w.quoted || w.text.empty()) return false;
  char* end = nullptr;
  out = std::strtod(w.text.c_str(), &end);
  return end && *end == '\0';
}

bool whole(const Word& w, long lo, long hi, long& out) {
  if (w.quoted || w.text.empty()) return false;
  char* end = nullptr;
  out = std::strtol(w.text.c_str(), &end, 10);
  return end && *end == '\0' && out >= lo && out <= hi;
}

}  // namespace

const char* itemKindName(int32_t kind) {
  for (const KindName& k : kKinds)
    if (k.kind == kind) return k.word;
  return "item";
}

bool parseDialogLayout(const std::string& text, DialogLayout& layout, std::string& error) {
  DialogLayout result;
  std::set<int16_t> ids;
  std::istringstream lines(text);
  std::string line;
  int lineNo = 0;
  auto fail = [&](const std::string& message) {
    error = "line " + std::to_string(lineNo) + ": " + message;
    return false;
  };
  while (std::getline(lines, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<Word> words;
    std::string why;
    if (!splitWords(line, words, why)) return fail(why);
    if (words.empty() || (!words[0].quoted && words[0].text[0] == '#')) continue;
    const std::string& head = words[0].text;
    if (head == "title") {
      if (words.size() != 2 || !words[1].quoted) return fail("expected title \"TEXT\"");
      result.title = words[1].text;
      continue;
    }
    if (head != "item") return fail("unknown statement '" + head + "'");
    if (words.size() < 4) return fail("expected item ID KIND \"TEXT\" [OPTIONS]");
    DialogItem item;
    long id = 0;
    if (!whole(words[1], 1, 32767, id)) return fail("the item id must be a whole number from 1 to 32767");
    item.id = int16_t(id);
    if (!ids.insert(item.id).second) return fail("item " + std::to_string(id) + " is given twice");
    for (const KindName& k : kKinds)
      if (!words[2].quoted && words[2].text == k.word) item.kind = k.kind;
    if (item.kind == platform::kDGNoItem) return fail("unknown item kind '" + words[2].text + "'");
    if (!words[3].quoted) return fail("the item's text must be in double quotes");
    item.text = words[3].text;
    for (std::size_t i = 4; i < words.size(); ++i) {
      const std::string& option = words[i].text;
      auto numberAfter = [&](double& out) { return i + 1 < words.size() && number(words[++i], out); };
      if (words[i].quoted) return fail("unexpected text \"" + option + "\"");
      if (option == "disabled") {
        item.enabled = false;
      } else if (option == "hidden") {
        item.visible = false;
      } else if (option == "multiple") {
        item.multiple = true;
      } else if (option == "group") {
        long g = 0;
        if (i + 1 >= words.size() || !whole(words[++i], 0, 1000000, g)) return fail("group needs a whole number");
        item.group = int32_t(g);
      } else if (option == "min") {
        if (!numberAfter(item.minimum)) return fail("min needs a number");
        item.hasMinimum = true;
      } else if (option == "max") {
        if (!numberAfter(item.maximum)) return fail("max needs a number");
        item.hasMaximum = true;
      } else if (option == "tabs") {
        long w = 0;
        while (i + 1 < words.size() && whole(words[i + 1], 1, 32767, w)) {
          item.tabs.push_back(int16_t(w));
          ++i;
        }
        if (item.tabs.empty()) return fail("tabs needs the column widths");
      } else if (option == "entries") {
        while (i + 1 < words.size() && words[i + 1].quoted) {
          item.entries.push_back(words[++i].text);
          item.entryEnabled.push_back(true);
        }
      } else if (option == "rect") {
        long r[4];
        for (long& v : r)
          if (i + 1 >= words.size() || !whole(words[++i], -32768, 32767, v)) return fail("rect needs four numbers");
        item.rect = platform::DGRect{int16_t(r[0]), int16_t(r[1]), int16_t(r[2]), int16_t(r[3])};
      } else {
        return fail("unknown option '" + option + "'");
      }
    }
    if (item.kind == platform::kDGPopup && !item.entries.empty()) item.value = 1;
    if (!item.entries.empty() && item.kind != platform::kDGPopup) return fail("only pop-ups have entries");
    if (!item.tabs.empty() && item.kind != platform::kDGList) return fail("only lists have tabs");
    result.items.push_back(std::move(item));
  }
  layout = std::move(result);
  return true;
}

}  // namespace standin
