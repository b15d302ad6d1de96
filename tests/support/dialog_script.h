// Builders of the scripted user's actions for tests that answer dialogs.
#pragma once

#include <string>
#include <vector>

#include "host/dialogs/dialog_manager.h"

namespace testing_support {

using Actions = std::vector<standin::DialogAction>;

inline standin::DialogAction setItem(int16_t item, const std::string& value) {
  return {standin::DialogAction::Kind::Set, item, {value}, 0};
}
inline standin::DialogAction chooseEntry(int16_t item, const std::string& entry) {
  return {standin::DialogAction::Kind::Choose, item, {entry}, 0};
}
inline standin::DialogAction selectRows(int16_t item, std::vector<std::string> rows) {
  return {standin::DialogAction::Kind::Select, item, std::move(rows), 0};
}
inline standin::DialogAction selectRow(int16_t item, int row) { return selectRows(item, {std::to_string(row)}); }
inline standin::DialogAction editCell(int16_t list, int row, int column, const std::string& value) {
  return {standin::DialogAction::Kind::Edit, list, {std::to_string(row), std::to_string(column), value}, 0};
}
inline standin::DialogAction clickItem(int16_t item) { return {standin::DialogAction::Kind::Click, item, {}, 0}; }
inline standin::DialogAction pressOk() { return {standin::DialogAction::Kind::Ok, 0, {}, 0}; }
inline standin::DialogAction pressCancel() { return {standin::DialogAction::Kind::Cancel, 0, {}, 0}; }

// Queues an alert's answer (a button's text or number).
inline void answerAlert(standin::DialogManager& dialogs, const std::string& button) {
  standin::ScriptAnswer a;
  a.kind = standin::ScriptAnswer::Kind::Alert;
  a.button = button;
  dialogs.queue(a);
}

}  // namespace testing_support
