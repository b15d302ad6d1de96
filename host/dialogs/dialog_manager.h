// The stand-in dialog manager: dialogs built from the add-on's dialog resources, driven by a
// scripted user.
//
// A script queues answers: the actions a user takes in the next dialog that opens, the button
// of the next alert, the path given in the next save-file dialog. Each kind of answer is taken
// in queue order by the next window of its kind. A modal dialog takes the first queued dialog
// answers when it opens and carries out their actions one by one, each
// delivered as the messages the host sends (a value set: the item's value, then a change
// message; a click: the click message, whose reply may end the dialog). When its actions are
// done and it is still open, OK is clicked; should the dialog refuse OK, Cancel is clicked,
// and should it refuse that too it is closed as cancelled. A dialog without answers is
// therefore closed with OK and its values unchanged. A modeless dialog takes answers only
// when they name its resource, and stays open after them; answers naming a modeless dialog
// that is open already are carried out in it at once.
//
// An action that cannot be carried out (no such item, a disabled item, a value that does not
// parse, answers for another dialog) stops the script: the error is kept with the action's
// line, the dialog is cancelled and the remaining answers are dropped; from then on dialogs
// are cancelled and alerts answered with their last button.
//
// Every dialog shown is recorded with its items' values at close; progress windows are
// recorded too.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/dialogs/dialog_layout.h"
#include "platform/host_table.h"

namespace standin {

// One thing a user does in a dialog.
struct DialogAction {
  enum class Kind {
    Set,     // item, value: types a value into a field, sets a check box
    Choose,  // item, entry: chooses a pop-up entry by its text, or by "#N" (1-based)
    Select,  // item, rows: selects list rows (1-based; none for "none")
    Edit,    // list, row, tab field, value: selects the row and sets the item laid on the field
    Click,   // item: clicks a button, check box or radio button
    Ok,      // clicks item 1
    Cancel,  // clicks item 2
  };
  Kind kind = Kind::Click;
  int16_t item = 0;
  std::vector<std::string> args;
  int line = 0;  // the script line, for messages

  // An action of kind on item with its words.
  static DialogAction of(Kind kind, int16_t item = 0, std::vector<std::string> args = {}) {
    DialogAction a;
    a.kind = kind;
    a.item = item;
    a.args = std::move(args);
    return a;
  }
  // Sets a check box on or off.
  static DialogAction check(int16_t item, bool on) { return of(Kind::Set, item, {on ? "on" : "off"}); }
};

// What a script answers in the next dialog, alert or save-file dialog.
struct ScriptAnswer {
  enum class Kind { Dialog, Alert, SaveFile };
  Kind kind = Kind::Dialog;
  int32_t dialog = 0;                  // the resource expected; 0 any
  std::vector<DialogAction> actions;   // Dialog
  std::string button;                  // Alert: the button's number or text
  std::string path;                    // SaveFile: the path; empty cancels
  int line = 0;
};

// An item's state when its dialog closed.
struct ItemRecord {
  int16_t id = 0;
  int32_t kind = 0;
  std::string text;
  double value = 0.0;
  bool enabled = true;
  bool visible = true;
  std::vector<std::string> entries;              // pop-ups
  std::vector<std::vector<std::string>> rows;    // lists
  std::vector<int32_t> selectedRows;             // lists, 1-based
};

// A dialog the add-on showed.
struct DialogRecord {
  int32_t resourceId = 0;
  std::string title;
  bool modal = true;
  bool missing = false;   // the resource could not be opened; nothing was shown
  int32_t closedBy = 0;   // the item that closed it (1 OK, 2 Cancel)
  std::vector<ItemRecord> items;
  // The item of this id, or null.
  const ItemRecord* item(int16_t id) const;
};

// A progress window the add-on opened.
struct ProgressRecord {
  std::string title;
  int32_t phases = 0;
  int32_t phase = 0;
  std::vector<std::string> phaseTexts;
  int32_t maximum = 0;
  int32_t value = 0;
  int32_t updates = 0;
  bool closed = false;
};

// One line of a terminal progress bar for a progress window, width characters of bar.
std::string progressBarLine(const ProgressRecord& progress, int width);

// An open dialog.
struct OpenDialog {
  int16_t dialId = 0;
  int32_t resourceId = 0;
  bool modal = true;
  std::string title;
  std::vector<DialogItem> items;
  std::map<int16_t, std::size_t> index;  // item id -> position in items
  platform::DGMessageHandlerFn handler = nullptr;
  intptr_t userData = 0;
  bool open = true;
  int32_t closedBy = 0;
  // The item of this id, or null.
  DialogItem* item(int16_t id);
};

// The dialogs the add-on opens and what a script answers in them.
class DialogManager {
 public:
  DialogManager() = default;
  DialogManager(const DialogManager&) = delete;
  DialogManager& operator=(const DialogManager&) = delete;

  // ---- the script ----
  // Queues answers; dialogs, alerts and save-file dialogs take them in queue order.
  void queue(ScriptAnswer answer) { answers_.push_back(std::move(answer)); }
  // Queues the actions for the next dialog (of resource dialog; 0 any).
  void queueDialog(int32_t dialog, std::vector<DialogAction> actions, int line = 0);
  // The answers not yet taken.
  const std::deque<ScriptAnswer>& pendingAnswers() const { return answers_; }
  void dropAnswers() { answers_.clear(); }
  // The first script error ("line N: ..."), empty when none.
  const std::string& scriptError() const { return error_; }
  void clearScriptError() { error_.clear(); }
  // Takes the answer for an alert with these buttons: the first alert answer queued, or the
  // last button once the script has failed; false when the script has none (the host then
  // answers with the first button). line, when given, receives the answer's script line.
  bool answerAlert(const std::vector<std::string>& buttons, int32_t& answer, int* line = nullptr);
  // Makes the next 'CANC' question answer that the user cancelled.
  void cancelProgress() { progressCancel_ = true; }

  // ---- layouts ----
  // Uses text as the layout of resource id instead of the add-on's own (tests).
  void setLayout(int32_t id, const std::string& text) { overrides_[id] = text; }
  // Makes resource id missing (tests).
  void removeLayout(int32_t id) { missing_.push_back(id); }
  // Reads the layout of resource id from the current resource module; false with error.
  bool layout(int32_t id, DialogLayout& layout, std::string& error) const;

  // ---- records ----
  const std::vector<DialogRecord>& records() const { return records_; }
  // The last record of resource id, or null.
  const DialogRecord* lastRecord(int32_t id) const;
  const std::vector<ProgressRecord>& progressWindows() const { return progress_; }
  // Called after every change of an open progress window (the command line draws it).
  void setProgressEcho(std::function<void(const ProgressRecord&)> echo) { progressEcho_ = std::move(echo); }
  // Told of each dialog as it opens, with the script's answers it takes (null: none), and of
  // each dialog's record as it closes (trestlar run --verbose); either may be empty.
  void setDialogEcho(std::function<void(const OpenDialog&, const ScriptAnswer*)> opened,
                     std::function<void(const DialogRecord&)> closed) {
    openEcho_ = std::move(opened);
    closeEcho_ = std::move(closed);
  }
  void clearRecords();

  // ---- open dialogs ----
  // The open dialog of this id, or null.
  OpenDialog* dialog(int16_t dialId);
  // The open dialogs, the front one last.
  const std::vector<std::unique_ptr<OpenDialog>>& openDialogs() const { return open_; }
  // Carries out dialog answers at once in the open modeless dialog of their resource (the
  // front one of it); false when none is open, so that they are to be queued.
  bool answerOpenDialog(const ScriptAnswer& answer);
  // Makes an open dialog the front one.
  void bringToFront(int16_t dialId);
  // Carries out a user action in an open dialog now; false with error when it cannot be.
  bool act(int16_t dialId, const DialogAction& action, std::string& error);

  // ---- the operations of the table ----
  int32_t modalDialog(int32_t resourceId, platform::DGMessageHandlerFn handler, intptr_t userData);
  int16_t modelessInit(int32_t resourceId, platform::DGMessageHandlerFn handler, intptr_t userData);
  void modelessClose(int16_t dialId);
  bool saveFile(const std::string& defaultName, const std::string& extension, std::string& path);
  // HostInterface codes of the progress window and of user controls ('SUCC'); false when code
  // is not one of them.
  bool interfaceOperation(uint32_t code, void* p1, void* p2, void* p3, platform::GSErr& result);

 private:
  OpenDialog* build(int32_t resourceId, bool modal, platform::DGMessageHandlerFn handler, intptr_t userData);
  void record(const OpenDialog& d);
  // Sends a message to a dialog's handler and answers the reply.
  int16_t send(OpenDialog& d, int16_t message, int16_t item, intptr_t data = 0);
  // A click: ends a modal dialog when the reply says so.
  void click(OpenDialog& d, int16_t item);
  void close(OpenDialog& d, int32_t item);
  void fail(int line, const std::string& message);
  // Runs answers in d; false on the first action that fails.
  bool perform(OpenDialog& d, const DialogAction& action, std::string& error);
  bool setValue(OpenDialog& d, DialogItem& item, const std::string& value, std::string& error);
  void echoProgress();
  // Forgets closed modeless dialogs once no handler is running.
  void sweep();
  std::deque<ScriptAnswer>::iterator firstAnswer(ScriptAnswer::Kind kind);

  std::deque<ScriptAnswer> answers_;
  std::string error_;
  std::map<int32_t, std::string> overrides_;
  mutable std::map<std::string, DialogLayout> parsed_;  // layouts of the resource texts read
  std::vector<int32_t> missing_;
  std::vector<DialogRecord> records_;
  std::vector<std::unique_ptr<OpenDialog>> open_;
  int16_t nextId_ = 0;
  int busy_ = 0;  // handlers running
  std::vector<ProgressRecord> progress_;
  bool progressOpen_ = false;
  bool progressCancel_ = false;
  std::function<void(const ProgressRecord&)> progressEcho_;
  std::function<void(const OpenDialog&, const ScriptAnswer*)> openEcho_;
  std::function<void(const DialogRecord&)> closeEcho_;
};

// Fills the dialog manager's slots of the host table.
void installDialogOperations(platform::HostFunctionTable& table);

}  // namespace standin
