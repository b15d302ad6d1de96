#include "host/dialogs/dialog_manager.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "host/core/host.h"

namespace standin {

using platform::GSErr;

namespace {

constexpr double kPi = 3.14159265358979323846;

std::string formatNumber(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

// Copies text into buffer (cut to size - 1 bytes); answers the full length.
int32_t copyOut(const std::string& text, char* buffer, int32_t size) {
  if (buffer && size > 0) {
    std::size_t n = std::min(text.size(), std::size_t(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return int32_t(text.size());
}

bool parseReal(const std::string& text, double& out) {
  // Decimals only, as a user types them: strtod would also read hexadecimal ("0x1p4").
  if (text.empty() || text.find_first_not_of("0123456789+-.eE \t") != std::string::npos) return false;
  char* end = nullptr;
  double v = std::strtod(text.c_str(), &end);
  if (!end || *end != '\0' || !std::isfinite(v)) return false;
  out = v;
  return true;
}

bool parseWhole(const std::string& text, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (!end || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
  out = double(v);
  return true;
}

// A length in metres, with an optional unit: "m", "cm" or "mm".
bool parseLength(const std::string& text, double& out) {
  struct Unit {
    const char* suffix;
    double factor;
  };
  for (const Unit& u : {Unit{"mm", 0.001}, Unit{"cm", 0.01}, Unit{"m", 1.0}}) {
    std::size_t n = std::strlen(u.suffix);
    if (text.size() > n && text.compare(text.size() - n, n, u.suffix) == 0) {
      double v = 0;
      if (!parseReal(text.substr(0, text.size() - n), v)) return false;
      out = v * u.factor;
      return true;
    }
  }
  return parseReal(text, out);
}

bool parseFlag(const std::string& text, double& out) {
  static const char* const on[] = {"1", "on", "true", "yes"};
  static const char* const off[] = {"0", "off", "false", "no"};
  for (const char* w : on)
    if (::strcasecmp(text.c_str(), w) == 0) return out = 1, true;
  for (const char* w : off)
    if (::strcasecmp(text.c_str(), w) == 0) return out = 0, true;
  return false;
}

// The text a number field shows.
std::string numberText(const DialogItem& item) {
  switch (item.kind) {
    case platform::kDGIntEdit:
    case platform::kDGUserControl:
      return std::to_string(long(std::lround(item.value)));
    case platform::kDGAngleEdit:
      return formatNumber(item.value * 180.0 / kPi);
    default:
      return formatNumber(item.value);
  }
}

bool isNumberField(int32_t kind) {
  return kind == platform::kDGIntEdit || kind == platform::kDGRealEdit || kind == platform::kDGLengthEdit ||
         kind == platform::kDGAngleEdit || kind == platform::kDGUserControl;
}

std::string itemName(const DialogItem& item) {
  std::string name = "item " + std::to_string(item.id) + " (" + itemKindName(item.kind);
  if (!item.text.empty()) name += " \"" + item.text + "\"";
  return name + ")";
}

DialogManager& manager() { return Host::current()->dialogs(); }

}  // namespace

std::string progressBarLine(const ProgressRecord& progress, int width) {
  double done = progress.maximum > 0 ? double(progress.value) / double(progress.maximum) : 0.0;
  done = std::min(1.0, std::max(0.0, done));
  int filled = int(done * width + 0.5);
  std::string line = progress.title;
  if (progress.phases > 1)
    line += " (" + std::to_string(progress.phase) + "/" + std::to_string(progress.phases) + ")";
  line += " [" + std::string(std::size_t(filled), '#') + std::string(std::size_t(width - filled), ' ') + "] ";
  line += std::to_string(int(done * 100 + 0.5)) + "%";
  if (!progress.phaseTexts.empty() && !progress.phaseTexts.back().empty()) line += " " + progress.phaseTexts.back();
  return line;
}

const ItemRecord* DialogRecord::item(int16_t id) const {
  for (const ItemRecord& i : items)
    if (i.id == id) return &i;
  return nullptr;
}

DialogItem* OpenDialog::item(int16_t id) {
  auto it = index.find(id);
  return it == index.end() ? nullptr : &items[it->second];
}

std::deque<ScriptAnswer>::iterator DialogManager::firstAnswer(ScriptAnswer::Kind kind) {
  return std::find_if(answers_.begin(), answers_.end(), [kind](const ScriptAnswer& a) { return a.kind == kind; });
}

void DialogManager::queueDialog(int32_t dialog, std::vector<DialogAction> actions, int line) {
  ScriptAnswer answer;
  answer.kind = ScriptAnswer::Kind::Dialog;
  answer.dialog = dialog;
  answer.actions = std::move(actions);
  answer.line = line;
  answers_.push_back(std::move(answer));
}

void DialogManager::fail(int line, const std::string& message) {
  if (!error_.empty()) return;
  error_ = line > 0 ? "line " + std::to_string(line) + ": " + message : message;
  answers_.clear();
}

bool DialogManager::answerAlert(const std::vector<std::string>& buttons, int32_t& answer, int* line) {
  if (!error_.empty()) {
    // The script has failed: nothing more is agreed to.
    answer = int32_t(std::max<std::size_t>(buttons.size(), 1));
    return true;
  }
  auto it = firstAnswer(ScriptAnswer::Kind::Alert);
  if (it == answers_.end()) return false;
  ScriptAnswer a = *it;
  answers_.erase(it);
  if (line) *line = a.line;
  double n = 0;
  if (parseWhole(a.button, n) && n >= 1 && n <= double(buttons.size())) {
    answer = int32_t(n);
    return true;
  }
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (::strcasecmp(buttons[i].c_str(), a.button.c_str()) == 0) {
      answer = int32_t(i + 1);
      return true;
    }
  }
  std::string names;
  for (const std::string& b : buttons) names += (names.empty() ? "" : ", ") + b;
  fail(a.line, "the alert has no button \"" + a.button + "\" (its buttons: " + names + ")");
  // The last button is the cautious one (Cancel where there is a choice).
  answer = int32_t(std::max<std::size_t>(buttons.size(), 1));
  return true;
}

bool DialogManager::layout(int32_t id, DialogLayout& out, std::string& error) const {
  if (std::find(missing_.begin(), missing_.end(), id) != missing_.end()) {
    error = "dialog " + std::to_string(id) + " has no layout";
    return false;
  }
  auto over = overrides_.find(id);
  if (over != overrides_.end()) return parseDialogLayout(over->second, out, error);
  Host* host = Host::current();
  const platform::ResourceEntry* entry =
      host ? ResourceManager::find(host->resources().current(), platform::kResourceDialog, id) : nullptr;
  if (!entry) {
    error = "dialog " + std::to_string(id) + " has no layout";
    return false;
  }
  // Layouts are parsed once per text: a report opens the same dialog every time it is made.
  std::string text(reinterpret_cast<const char*>(entry->data), entry->size);
  auto parsed = parsed_.find(text);
  if (parsed == parsed_.end()) {
    DialogLayout layout;
    if (!parseDialogLayout(text, layout, error)) {
      error = "dialog " + std::to_string(id) + ": " + error;
      return false;
    }
    parsed = parsed_.emplace(std::move(text), std::move(layout)).first;
  }
  out = parsed->second;
  return true;
}

const DialogRecord* DialogManager::lastRecord(int32_t id) const {
  for (auto it = records_.rbegin(); it != records_.rend(); ++it)
    if (it->resourceId == id) return &*it;
  return nullptr;
}

void DialogManager::clearRecords() {
  records_.clear();
  progress_.clear();
  error_.clear();
  answers_.clear();
}

OpenDialog* DialogManager::dialog(int16_t dialId) {
  for (auto& d : open_)
    if (d->dialId == dialId && d->open) return d.get();
  return nullptr;
}

OpenDialog* DialogManager::build(int32_t resourceId, bool modal, platform::DGMessageHandlerFn handler,
                                 intptr_t userData) {
  DialogLayout layout;
  std::string error;
  if (!handler || !this->layout(resourceId, layout, error)) {
    DialogRecord r;
    r.resourceId = resourceId;
    r.modal = modal;
    r.missing = true;
    records_.push_back(r);
    return nullptr;
  }
  auto d = std::make_unique<OpenDialog>();
  if (++nextId_ <= 0) nextId_ = 1;
  d->dialId = nextId_;
  d->resourceId = resourceId;
  d->modal = modal;
  d->title = layout.title;
  d->items = std::move(layout.items);
  for (std::size_t i = 0; i < d->items.size(); ++i) d->index[d->items[i].id] = i;
  d->handler = handler;
  d->userData = userData;
  open_.push_back(std::move(d));
  return open_.back().get();
}

void DialogManager::record(const OpenDialog& d) {
  DialogRecord r;
  r.resourceId = d.resourceId;
  r.title = d.title;
  r.modal = d.modal;
  r.closedBy = d.closedBy;
  for (const DialogItem& item : d.items) {
    ItemRecord i;
    i.id = item.id;
    i.kind = item.kind;
    i.text = isNumberField(item.kind) ? numberText(item) : item.text;
    i.value = item.value;
    i.enabled = item.enabled;
    i.visible = item.visible;
    i.entries = item.entries;
    i.rows = item.rows;
    for (std::size_t row = 0; row < item.selected.size(); ++row)
      if (item.selected[row]) i.selectedRows.push_back(int32_t(row + 1));
    r.items.push_back(std::move(i));
  }
  records_.push_back(std::move(r));
  if (closeEcho_) closeEcho_(records_.back());
}

int16_t DialogManager::send(OpenDialog& d, int16_t message, int16_t item, intptr_t data) {
  if (!d.open || !d.handler) return 0;
  ++busy_;
  int16_t reply = d.handler(message, d.dialId, item, d.userData, data);
  --busy_;
  return reply;
}

void DialogManager::sweep() {
  if (busy_ > 0) return;
  open_.erase(std::remove_if(open_.begin(), open_.end(),
                             [](const std::unique_ptr<OpenDialog>& d) { return !d->open && !d->modal; }),
              open_.end());
}

void DialogManager::close(OpenDialog& d, int32_t item) {
  if (!d.open) return;
  d.closedBy = item;
  record(d);
  d.open = false;
  ++busy_;
  d.handler(platform::kDGMsgClose, d.dialId, 0, d.userData, item);
  --busy_;
}

void DialogManager::click(OpenDialog& d, int16_t item) {
  int16_t reply = send(d, platform::kDGMsgClick, item);
  if (d.open && d.modal && reply != 0) close(d, reply < 0 ? 1 : reply);
}

bool DialogManager::setValue(OpenDialog& d, DialogItem& item, const std::string& value, std::string& error) {
  if (!item.visible || !item.enabled) {
    error = itemName(item) + " is " + (item.visible ? "disabled" : "hidden");
    return false;
  }
  double number = 0;
  switch (item.kind) {
    case platform::kDGEditText:
      item.text = value;
      break;
    case platform::kDGIntEdit:
    case platform::kDGUserControl:
      if (!parseWhole(value, number)) {
        error = "\"" + value + "\" is not a whole number for " + itemName(item);
        return false;
      }
      break;
    case platform::kDGRealEdit:
      if (!parseReal(value, number)) {
        error = "\"" + value + "\" is not a number for " + itemName(item);
        return false;
      }
      break;
    case platform::kDGLengthEdit:
      if (!parseLength(value, number)) {
        error = "\"" + value + "\" is not a length (metres, or a number with m, cm or mm) for " + itemName(item);
        return false;
      }
      break;
    case platform::kDGAngleEdit:
      if (!parseReal(value, number)) {
        error = "\"" + value + "\" is not an angle in degrees for " + itemName(item);
        return false;
      }
      break;
    case platform::kDGCheckBox:
      if (!parseFlag(value, number)) {
        error = "\"" + value + "\" is not on or off for " + itemName(item);
        return false;
      }
      break;
    case platform::kDGPopup: {
      DialogAction choose;
      choose.kind = DialogAction::Kind::Choose;
      choose.item = item.id;
      choose.args = {value};
      return perform(d, choose, error);
    }
    default:
      error = itemName(item) + " takes no value";
      return false;
  }
  if (isNumberField(item.kind)) {
    // The user types degrees; the field holds radians.
    double stored = item.kind == platform::kDGAngleEdit ? number * kPi / 180.0 : number;
    if ((item.hasMinimum && number < item.minimum) || (item.hasMaximum && number > item.maximum)) {
      error = "\"" + value + "\" is outside the range of " + itemName(item);
      return false;
    }
    item.value = stored;
  } else if (item.kind == platform::kDGCheckBox) {
    item.value = number;
  }
  send(d, platform::kDGMsgChange, item.id);
  return true;
}

bool DialogManager::perform(OpenDialog& d, const DialogAction& action, std::string& error) {
  using Kind = DialogAction::Kind;
  if (action.kind == Kind::Ok || action.kind == Kind::Cancel) {
    int16_t id = action.kind == Kind::Ok ? 1 : 2;
    DialogItem* button = d.item(id);
    if (!button) {
      close(d, id);
      return true;
    }
    if (!button->enabled || !button->visible) {
      error = itemName(*button) + " is " + (button->visible ? "disabled" : "hidden");
      return false;
    }
    click(d, id);
    return true;
  }
  DialogItem* item = d.item(action.item);
  if (!item) {
    error = "dialog " + std::to_string(d.resourceId) + " \"" + d.title + "\" has no item " +
            std::to_string(action.item);
    return false;
  }
  switch (action.kind) {
    case Kind::Set:
      if (action.args.size() != 1) {
        error = "set needs one value";
        return false;
      }
      if (item->kind == platform::kDGRadioButton) {
        double on = 0;
        if (!parseFlag(action.args[0], on) || on != 1) {
          error = "a radio button can only be set on";
          return false;
        }
        DialogAction c{Kind::Click, item->id, {}, action.line};
        return perform(d, c, error);
      }
      return setValue(d, *item, action.args[0], error);
    case Kind::Choose: {
      if (item->kind != platform::kDGPopup) {
        error = itemName(*item) + " is no pop-up";
        return false;
      }
      if (!item->enabled || !item->visible) {
        error = itemName(*item) + " is " + (item->visible ? "disabled" : "hidden");
        return false;
      }
      const std::string& want = action.args.empty() ? std::string() : action.args[0];
      std::size_t found = item->entries.size();
      double n = 0;
      if (want.size() > 1 && want[0] == '#' && parseWhole(want.substr(1), n) && n >= 1 &&
          n <= double(item->entries.size()))
        found = std::size_t(n) - 1;
      for (std::size_t i = 0; i < item->entries.size() && found == item->entries.size(); ++i)
        if (item->entries[i] == want) found = i;
      for (std::size_t i = 0; i < item->entries.size() && found == item->entries.size(); ++i)
        if (::strcasecmp(item->entries[i].c_str(), want.c_str()) == 0) found = i;
      if (found == item->entries.size()) {
        error = itemName(*item) + " has no entry \"" + want + "\"";
        return false;
      }
      if (!item->entryEnabled[found]) {
        error = "entry \"" + item->entries[found] + "\" of " + itemName(*item) + " is disabled";
        return false;
      }
      item->value = double(found + 1);
      send(d, platform::kDGMsgChange, item->id);
      return true;
    }
    case Kind::Select: {
      if (item->kind != platform::kDGList) {
        error = itemName(*item) + " is no list";
        return false;
      }
      if (!item->enabled || !item->visible) {
        error = itemName(*item) + " is " + (item->visible ? "disabled" : "hidden");
        return false;
      }
      std::vector<bool> selection(item->rows.size(), false);
      std::size_t chosen = 0;
      for (const std::string& a : action.args) {
        if (::strcasecmp(a.c_str(), "none") == 0) continue;
        double row = 0;
        if (!parseWhole(a, row) || row < 1 || row > double(item->rows.size())) {
          error = "\"" + a + "\" is not a row of " + itemName(*item) + ", which has " +
                  std::to_string(item->rows.size()) + " rows";
          return false;
        }
        selection[std::size_t(row) - 1] = true;
        ++chosen;
      }
      if (chosen > 1 && !item->multiple) {
        error = itemName(*item) + " selects one row at a time";
        return false;
      }
      item->selected = selection;
      send(d, platform::kDGMsgChange, item->id);
      return true;
    }
    case Kind::Edit: {
      if (item->kind != platform::kDGList) {
        error = itemName(*item) + " is no list";
        return false;
      }
      double row = 0, field = 0;
      if (action.args.size() != 3 || !parseWhole(action.args[0], row) || !parseWhole(action.args[1], field)) {
        error = "edit needs a row, a column and a value";
        return false;
      }
      if (row < 1 || row > double(item->rows.size())) {
        error = "\"" + action.args[0] + "\" is not a row of " + itemName(*item) + ", which has " +
                std::to_string(item->rows.size()) + " rows";
        return false;
      }
      int32_t r = int32_t(row);
      if (!item->selected[std::size_t(r - 1)] || std::count(item->selected.begin(), item->selected.end(), true) != 1) {
        DialogAction select{Kind::Select, item->id, {action.args[0]}, action.line};
        if (!perform(d, select, error)) return false;
        item = d.item(action.item);
        if (!item) return true;
      }
      auto on = item->fieldItems.find(int32_t(field));
      DialogItem* editor = on != item->fieldItems.end() && item->fieldRow == r ? d.item(on->second) : nullptr;
      if (!editor) {
        error = "no item lies on column " + action.args[1] + " of row " + action.args[0] + " of " + itemName(*item);
        return false;
      }
      return setValue(d, *editor, action.args[2], error);
    }
    case Kind::Click:
      if (!item->enabled || !item->visible) {
        error = itemName(*item) + " is " + (item->visible ? "disabled" : "hidden");
        return false;
      }
      // Check boxes and radio buttons report the change of their value; buttons a click.
      if (item->kind == platform::kDGCheckBox) {
        item->value = item->value != 0 ? 0 : 1;
      } else if (item->kind == platform::kDGRadioButton) {
        for (DialogItem& other : d.items)
          if (other.kind == platform::kDGRadioButton && other.group == item->group) other.value = 0;
        item->value = 1;
      } else if (item->kind != platform::kDGButton) {
        error = itemName(*item) + " cannot be clicked";
        return false;
      }
      if (item->kind == platform::kDGButton) click(d, item->id);
      else send(d, platform::kDGMsgChange, item->id);
      return true;
    default:
      return true;
  }
}

bool DialogManager::answerOpenDialog(const ScriptAnswer& answer) {
  if (answer.kind != ScriptAnswer::Kind::Dialog || answer.dialog == 0) return false;
  int16_t id = 0;
  for (auto it = open_.rbegin(); it != open_.rend() && id == 0; ++it)
    if ((*it)->open && !(*it)->modal && (*it)->resourceId == answer.dialog) id = (*it)->dialId;
  if (id == 0) return false;
  for (const DialogAction& action : answer.actions) {
    OpenDialog* d = dialog(id);
    if (!d || !error_.empty()) break;
    std::string why;
    if (!perform(*d, action, why)) fail(action.line, why);
  }
  sweep();
  return true;
}

void DialogManager::bringToFront(int16_t dialId) {
  auto it = std::find_if(open_.begin(), open_.end(), [dialId](const auto& d) { return d->dialId == dialId && d->open; });
  if (it != open_.end()) std::rotate(it, it + 1, open_.end());
}

bool DialogManager::act(int16_t dialId, const DialogAction& action, std::string& error) {
  OpenDialog* d = dialog(dialId);
  if (!d) {
    error = "no dialog " + std::to_string(dialId) + " is open";
    return false;
  }
  bool ok = perform(*d, action, error);
  sweep();
  return ok;
}

int32_t DialogManager::modalDialog(int32_t resourceId, platform::DGMessageHandlerFn handler, intptr_t userData) {
  auto next = firstAnswer(ScriptAnswer::Kind::Dialog);
  bool forThis = next != answers_.end();
  OpenDialog* d = build(resourceId, true, handler, userData);
  if (!d) {
    // Answers meant for this dialog go with it.
    if (forThis && (next->dialog == 0 || next->dialog == resourceId)) answers_.erase(next);
    return 0;
  }
  ScriptAnswer answer;
  bool mismatch = false;
  if (forThis) {
    answer = *next;
    answers_.erase(next);
    mismatch = answer.dialog != 0 && answer.dialog != resourceId;
  }
  send(*d, platform::kDGMsgInit, 0);
  if (openEcho_) openEcho_(*d, forThis ? &answer : nullptr);
  if (mismatch) {
    fail(answer.line, "the answers are for dialog " + std::to_string(answer.dialog) + ", but dialog " +
                          std::to_string(resourceId) + " \"" + d->title + "\" opened");
  } else {
    for (const DialogAction& action : answer.actions) {
      if (!d->open || !error_.empty()) break;
      std::string why;
      if (!perform(*d, action, why)) fail(action.line, why);
    }
  }
  if (d->open) {
    // A script error cancels; silence is the user pressing OK.
    if (error_.empty() && d->item(1)) click(*d, 1);
    if (d->open && d->item(2)) click(*d, 2);
    if (d->open) close(*d, 2);
  }
  int32_t result = d->closedBy;
  auto self = std::find_if(open_.begin(), open_.end(), [d](const std::unique_ptr<OpenDialog>& p) { return p.get() == d; });
  if (self != open_.end()) open_.erase(self);
  sweep();
  return result;
}

int16_t DialogManager::modelessInit(int32_t resourceId, platform::DGMessageHandlerFn handler, intptr_t userData) {
  OpenDialog* d = build(resourceId, false, handler, userData);
  if (!d) return 0;
  int16_t id = d->dialId;
  send(*d, platform::kDGMsgInit, 0);
  auto next = firstAnswer(ScriptAnswer::Kind::Dialog);
  const bool named = next != answers_.end() && next->dialog == resourceId;
  if (openEcho_) openEcho_(*d, named ? &*next : nullptr);
  if (named) {
    ScriptAnswer answer = *next;
    answers_.erase(next);
    for (const DialogAction& action : answer.actions) {
      OpenDialog* live = dialog(id);
      if (!live || !error_.empty()) break;
      std::string why;
      if (!perform(*live, action, why)) fail(action.line, why);
    }
  }
  sweep();
  return id;
}

void DialogManager::modelessClose(int16_t dialId) {
  OpenDialog* d = dialog(dialId);
  if (!d || d->modal) return;
  close(*d, 0);
  // A dialog closed from inside a handler goes once that handler has returned.
  sweep();
}

bool DialogManager::saveFile(const std::string&, const std::string&, std::string& path) {
  auto next = firstAnswer(ScriptAnswer::Kind::SaveFile);
  if (next == answers_.end()) return false;
  path = next->path;
  answers_.erase(next);
  return !path.empty();
}

void DialogManager::echoProgress() {
  if (progressEcho_ && !progress_.empty()) progressEcho_(progress_.back());
}

bool DialogManager::interfaceOperation(uint32_t code, void* p1, void* p2, void* p3, GSErr& result) {
  using platform::fourcc;
  result = platform::kNoError;
  if (code == fourcc("SUCC")) {
    const auto* r = static_cast<const platform::DGUserControlRecord*>(p1);
    OpenDialog* d = r ? dialog(r->dialId) : nullptr;
    DialogItem* item = d ? d->item(r->item) : nullptr;
    if (!r) result = platform::kErrNullArgument;
    else if (!item || item->kind != platform::kDGUserControl) result = platform::kErrBadIndex;
    else item->value = r->value;
    return true;
  }
  if (code == fourcc("IPWD")) {
    if (progressOpen_) {
      result = platform::kErrGeneral;
      return true;
    }
    ProgressRecord r;
    r.title = p1 ? static_cast<const char*>(p1) : "";
    r.phases = p2 ? *static_cast<const int32_t*>(p2) : 1;
    progress_.push_back(r);
    progressOpen_ = true;
    progressCancel_ = false;
    echoProgress();
    return true;
  }
  if (code != fourcc("SPRP") && code != fourcc("SPRV") && code != fourcc("IPRV") && code != fourcc("CANC") &&
      code != fourcc("CPWD"))
    return false;
  if (!progressOpen_) {
    result = platform::kErrGeneral;
    return true;
  }
  ProgressRecord& r = progress_.back();
  if (code == fourcc("SPRP")) {
    if (p1) r.phase = *static_cast<const int32_t*>(p1);
    r.phaseTexts.push_back(p2 ? static_cast<const char*>(p2) : "");
    r.maximum = p3 ? *static_cast<const int32_t*>(p3) : 0;
    r.value = 0;
  } else if (code == fourcc("SPRV")) {
    if (!p1) return result = platform::kErrNullArgument, true;
    r.value = *static_cast<const int32_t*>(p1);
  } else if (code == fourcc("IPRV")) {
    r.value += p1 ? *static_cast<const int32_t*>(p1) : 1;
  } else if (code == fourcc("CANC")) {
    result = progressCancel_ ? platform::kErrCancelled : platform::kNoError;
    return true;
  } else {
    r.closed = true;
    progressOpen_ = false;
    progressCancel_ = false;
  }
  ++r.updates;
  echoProgress();
  return true;
}

// ---- the table's functions ----

namespace {

DialogItem* itemOf(int16_t dialId, int16_t item) {
  if (!Host::current()) return nullptr;
  OpenDialog* d = manager().dialog(dialId);
  return d ? d->item(item) : nullptr;
}

int32_t dgModal(int32_t resourceId, platform::DGMessageHandlerFn handler, intptr_t userData) {
  if (!Host::current()) return 0;
  Host::current()->countCall("DGModalDialog");
  return manager().modalDialog(resourceId, handler, userData);
}
int16_t dgModelessInit(int32_t resourceId, platform::DGMessageHandlerFn handler, intptr_t userData) {
  if (!Host::current()) return 0;
  Host::current()->countCall("DGModelessInit");
  return manager().modelessInit(resourceId, handler, userData);
}
void dgModelessClose(int16_t dialId) {
  if (!Host::current()) return;
  Host::current()->countCall("DGModelessClose");
  manager().modelessClose(dialId);
}
void dgBringToFront(int16_t dialId) {
  if (Host::current()) manager().bringToFront(dialId);
}
void dgSetTitle(int16_t dialId, const char* title) {
  if (!Host::current()) return;
  if (OpenDialog* d = manager().dialog(dialId)) d->title = title ? title : "";
}
int32_t dgItemKind(int16_t dialId, int16_t item) {
  DialogItem* i = itemOf(dialId, item);
  return i ? i->kind : platform::kDGNoItem;
}
double dgGetValue(int16_t dialId, int16_t item) {
  DialogItem* i = itemOf(dialId, item);
  return i ? i->value : 0.0;
}
void dgSetValue(int16_t dialId, int16_t item, double value) {
  DialogItem* i = itemOf(dialId, item);
  if (!i || !std::isfinite(value)) return;
  if (i->kind == platform::kDGRadioButton && value != 0) {
    OpenDialog* d = manager().dialog(dialId);
    for (DialogItem& other : d->items)
      if (other.kind == platform::kDGRadioButton && other.group == i->group) other.value = 0;
  }
  if (i->kind == platform::kDGPopup && (value < 0 || value > double(i->entries.size()))) return;
  i->value = value;
}
int32_t dgGetText(int16_t dialId, int16_t item, char* buffer, int32_t size) {
  DialogItem* i = itemOf(dialId, item);
  if (!i) return copyOut(std::string(), buffer, size);
  if (isNumberField(i->kind)) return copyOut(numberText(*i), buffer, size);
  if (i->kind == platform::kDGPopup) {
    std::size_t n = std::size_t(i->value);
    return copyOut(n >= 1 && n <= i->entries.size() ? i->entries[n - 1] : std::string(), buffer, size);
  }
  return copyOut(i->text, buffer, size);
}
void dgSetText(int16_t dialId, int16_t item, const char* text) {
  DialogItem* i = itemOf(dialId, item);
  if (!i) return;
  std::string t = text ? text : "";
  double v = 0;
  if (isNumberField(i->kind)) {
    if (parseReal(t, v)) i->value = i->kind == platform::kDGAngleEdit ? v * kPi / 180.0 : v;
  } else {
    i->text = t;
  }
}
void dgEnable(int16_t dialId, int16_t item, bool enable) {
  if (DialogItem* i = itemOf(dialId, item)) i->enabled = enable;
}
bool dgIsEnabled(int16_t dialId, int16_t item) {
  DialogItem* i = itemOf(dialId, item);
  return i && i->enabled;
}
void dgShow(int16_t dialId, int16_t item, bool show) {
  if (DialogItem* i = itemOf(dialId, item)) i->visible = show;
}
bool dgIsVisible(int16_t dialId, int16_t item) {
  DialogItem* i = itemOf(dialId, item);
  return i && i->visible;
}
bool dgGetRect(int16_t dialId, int16_t item, platform::DGRect* rect) {
  DialogItem* i = itemOf(dialId, item);
  if (!i || !rect) return false;
  *rect = i->rect;
  return true;
}
void dgSetRect(int16_t dialId, int16_t item, const platform::DGRect* rect) {
  DialogItem* i = itemOf(dialId, item);
  if (i && rect) i->rect = *rect;
}
void dgSetFocus(int16_t, int16_t) {}
void dgSetFont(int16_t dialId, int16_t item, int32_t font) {
  if (DialogItem* i = itemOf(dialId, item)) i->font = font;
}
void dgRedraw(int16_t, int16_t) {}

DialogItem* popupOf(int16_t dialId, int16_t item) {
  DialogItem* i = itemOf(dialId, item);
  return i && i->kind == platform::kDGPopup ? i : nullptr;
}
bool dgPopInsert(int16_t dialId, int16_t item, int32_t position, const char* text) {
  DialogItem* i = popupOf(dialId, item);
  if (!i || position < 1 || std::size_t(position) > i->entries.size() + 1) return false;
  i->entries.insert(i->entries.begin() + (position - 1), text ? text : "");
  i->entryEnabled.insert(i->entryEnabled.begin() + (position - 1), true);
  if (i->value >= position) i->value += 1;
  if (i->value == 0) i->value = 1;
  return true;
}
bool dgPopDelete(int16_t dialId, int16_t item, int32_t position) {
  DialogItem* i = popupOf(dialId, item);
  if (!i || position < 1 || std::size_t(position) > i->entries.size()) return false;
  i->entries.erase(i->entries.begin() + (position - 1));
  i->entryEnabled.erase(i->entryEnabled.begin() + (position - 1));
  if (i->value > position || i->value > double(i->entries.size())) i->value -= 1;
  if (i->value < 1 && !i->entries.empty()) i->value = 1;
  return true;
}
int32_t dgPopCount(int16_t dialId, int16_t item) {
  DialogItem* i = popupOf(dialId, item);
  return i ? int32_t(i->entries.size()) : 0;
}
int32_t dgPopGetText(int16_t dialId, int16_t item, int32_t position, char* buffer, int32_t size) {
  DialogItem* i = popupOf(dialId, item);
  bool ok = i && position >= 1 && std::size_t(position) <= i->entries.size();
  return copyOut(ok ? i->entries[std::size_t(position - 1)] : std::string(), buffer, size);
}
bool dgPopSetText(int16_t dialId, int16_t item, int32_t position, const char* text) {
  DialogItem* i = popupOf(dialId, item);
  if (!i || position < 1 || std::size_t(position) > i->entries.size()) return false;
  i->entries[std::size_t(position - 1)] = text ? text : "";
  return true;
}
void dgPopEnable(int16_t dialId, int16_t item, int32_t position, bool enable) {
  DialogItem* i = popupOf(dialId, item);
  if (i && position >= 1 && std::size_t(position) <= i->entries.size()) i->entryEnabled[std::size_t(position - 1)] = enable;
}

DialogItem* listOf(int16_t dialId, int16_t item) {
  DialogItem* i = itemOf(dialId, item);
  return i && i->kind == platform::kDGList ? i : nullptr;
}
bool dgListTabs(int16_t dialId, int16_t item, int32_t count, const int16_t* widths) {
  DialogItem* i = listOf(dialId, item);
  if (!i || count < 0 || (count > 0 && !widths)) return false;
  i->tabs.assign(widths, widths + count);
  for (auto& row : i->rows) row.resize(std::size_t(count));
  return true;
}
bool dgListInsert(int16_t dialId, int16_t item, int32_t position) {
  DialogItem* i = listOf(dialId, item);
  if (!i || position < 1 || std::size_t(position) > i->rows.size() + 1) return false;
  i->rows.insert(i->rows.begin() + (position - 1), std::vector<std::string>(std::max<std::size_t>(i->tabs.size(), 1)));
  i->selected.insert(i->selected.begin() + (position - 1), false);
  if (i->fieldRow >= position) ++i->fieldRow;
  return true;
}
bool dgListDelete(int16_t dialId, int16_t item, int32_t row) {
  DialogItem* i = listOf(dialId, item);
  if (!i) return false;
  if (row == 0) {
    i->rows.clear();
    i->selected.clear();
    i->fieldRow = 0;
    return true;
  }
  if (row < 1 || std::size_t(row) > i->rows.size()) return false;
  i->rows.erase(i->rows.begin() + (row - 1));
  i->selected.erase(i->selected.begin() + (row - 1));
  if (i->fieldRow == row) i->fieldRow = 0;
  else if (i->fieldRow > row) --i->fieldRow;
  return true;
}
int32_t dgListCount(int16_t dialId, int16_t item) {
  DialogItem* i = listOf(dialId, item);
  return i ? int32_t(i->rows.size()) : 0;
}
bool dgListSetCell(int16_t dialId, int16_t item, int32_t row, int32_t field, const char* text) {
  DialogItem* i = listOf(dialId, item);
  if (!i || row < 1 || std::size_t(row) > i->rows.size() || field < 1) return false;
  auto& cells = i->rows[std::size_t(row - 1)];
  if (std::size_t(field) > cells.size()) {
    if (!i->tabs.empty()) return false;
    cells.resize(std::size_t(field));
  }
  cells[std::size_t(field - 1)] = text ? text : "";
  return true;
}
int32_t dgListGetCell(int16_t dialId, int16_t item, int32_t row, int32_t field, char* buffer, int32_t size) {
  DialogItem* i = listOf(dialId, item);
  bool ok = i && row >= 1 && std::size_t(row) <= i->rows.size() && field >= 1 &&
            std::size_t(field) <= i->rows[std::size_t(row - 1)].size();
  return copyOut(ok ? i->rows[std::size_t(row - 1)][std::size_t(field - 1)] : std::string(), buffer, size);
}
void dgListSelect(int16_t dialId, int16_t item, int32_t row, bool select) {
  DialogItem* i = listOf(dialId, item);
  if (!i) return;
  if (row == 0) {
    std::fill(i->selected.begin(), i->selected.end(), select && i->multiple);
    return;
  }
  if (row < 1 || std::size_t(row) > i->rows.size()) return;
  if (select && !i->multiple) std::fill(i->selected.begin(), i->selected.end(), false);
  i->selected[std::size_t(row - 1)] = select;
}
int32_t dgListSelected(int16_t dialId, int16_t item, int32_t after) {
  DialogItem* i = listOf(dialId, item);
  if (!i) return 0;
  for (std::size_t r = std::size_t(std::max(after, 0)); r < i->selected.size(); ++r)
    if (i->selected[r]) return int32_t(r + 1);
  return 0;
}
bool dgListOnTab(int16_t dialId, int16_t listItem, int32_t row, int32_t field, int16_t editItem) {
  DialogItem* list = listOf(dialId, listItem);
  DialogItem* editor = itemOf(dialId, editItem);
  if (!list || !editor || row < 0 || std::size_t(row) > list->rows.size()) return false;
  if (row == 0) {
    list->fieldItems.erase(field);
    editor->visible = false;
    return true;
  }
  if (list->fieldRow != row) {
    // Items laid on another row come off it.
    list->fieldItems.clear();
    list->fieldRow = row;
  }
  list->fieldItems[field] = editItem;
  editor->visible = true;
  return true;
}
bool dgSaveFile(const char* title, const char* defaultName, const char* extension, uint32_t, char* path,
                int32_t size) {
  if (!Host::current() || !path || size <= 0) return false;
  Host::current()->countCall("DGGetSaveFile");
  (void)title;
  std::string chosen;
  if (!manager().saveFile(defaultName ? defaultName : "", extension ? extension : "", chosen)) return false;
  if (chosen.size() >= std::size_t(size)) return false;
  copyOut(chosen, path, size);
  return true;
}
int32_t dgNumberToText(double value, int32_t kind, char* buffer, int32_t size) {
  std::string text;
  if (kind == platform::kDGNumberInteger) text = std::to_string(long(std::lround(value)));
  else if (kind == platform::kDGNumberAngle) text = formatNumber(value * 180.0 / kPi);
  else text = formatNumber(value);
  return copyOut(text, buffer, size);
}
int32_t dgDoubleToString(double value, int32_t precision, char* buffer, int32_t size) {
  if (precision < 0) precision = 0;
  if (precision > 17) precision = 17;
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", int(precision), value);
  return copyOut(text, buffer, size);
}
bool dgTextToNumber(const char* text, int32_t kind, double* value) {
  if (!text || !value) return false;
  double v = 0;
  bool ok = kind == platform::kDGNumberLength ? parseLength(text, v)
            : kind == platform::kDGNumberInteger ? parseWhole(text, v)
                                                  : parseReal(text, v);
  if (!ok) return false;
  *value = kind == platform::kDGNumberAngle ? v * kPi / 180.0 : v;
  return true;
}

}  // namespace

void installDialogOperations(platform::HostFunctionTable& t) {
  t.DGModalDialog = &dgModal;
  t.DGModelessInit = &dgModelessInit;
  t.DGModelessClose = &dgModelessClose;
  t.DGBringToFront = &dgBringToFront;
  t.DGSetDialogTitle = &dgSetTitle;
  t.DGGetItemKind = &dgItemKind;
  t.DGGetItemValue = &dgGetValue;
  t.DGSetItemValue = &dgSetValue;
  t.DGGetItemText = &dgGetText;
  t.DGSetItemText = &dgSetText;
  t.DGEnableItem = &dgEnable;
  t.DGIsItemEnabled = &dgIsEnabled;
  t.DGShowItem = &dgShow;
  t.DGIsItemVisible = &dgIsVisible;
  t.DGGetItemRect = &dgGetRect;
  t.DGSetItemRect = &dgSetRect;
  t.DGSetFocus = &dgSetFocus;
  t.DGSetItemFont = &dgSetFont;
  t.DGRedrawItem = &dgRedraw;
  t.DGPopUpInsertItem = &dgPopInsert;
  t.DGPopUpDeleteItem = &dgPopDelete;
  t.DGPopUpGetItemCount = &dgPopCount;
  t.DGPopUpGetItemText = &dgPopGetText;
  t.DGPopUpSetItemText = &dgPopSetText;
  t.DGPopUpEnableItem = &dgPopEnable;
  t.DGListSetTabs = &dgListTabs;
  t.DGListInsertRow = &dgListInsert;
  t.DGListDeleteRow = &dgListDelete;
  t.DGListGetRowCount = &dgListCount;
  t.DGListSetCellText = &dgListSetCell;
  t.DGListGetCellText = &dgListGetCell;
  t.DGListSelectRow = &dgListSelect;
  t.DGListGetSelected = &dgListSelected;
  t.DGListSetDialItemOnTabField = &dgListOnTab;
  t.DGGetSaveFile = &dgSaveFile;
  t.DGNumberToText = &dgNumberToText;
  t.DGTextToNumber = &dgTextToNumber;
  t.DGDoubleToString = &dgDoubleToString;
}

}  // namespace standin
