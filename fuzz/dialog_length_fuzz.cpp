// The text a user or a script types into a dialog's length field. The host's reading
// (DGTextToNumber) of any text gives a finite length written in decimals or none, and its own
// text of that length reads back to it; typed into the joint preferences' length column and taken with OK, the
// add-on keeps exactly what the host read, or the host refuses the text and nothing changes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_host.h"
#include "host/dialogs/dialog_manager.h"
#include "model/project.h"
#include "prefs/joint_prefs.h"
#include "runtime/addon.h"

namespace {

const platform::HostFunctionTable& dialogTable() {
  static const platform::HostFunctionTable table = [] {
    platform::HostFunctionTable t{};
    standin::installDialogOperations(t);
    return t;
  }();
  return table;
}

// The first joint's additional length in the project's preferences.
double firstJointLength() {
  auto* joints = dynamic_cast<varnholt::JointPrefs*>(
      lunvik::theAddon()->project()->store().get(varnholt::JointPrefs::kCode));
  if (!joints || joints->joints().begin() == joints->joints().end()) std::abort();
  return (*joints->joints().begin())->additionalLength;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The host's reading, for any text (a C string ends at its first NUL).
  double length = 0;
  bool reads = dialogTable().DGTextToNumber(text.c_str(), platform::kDGNumberLength, &length);
  if (reads) {
    // A length is written in decimals, with a unit if wished.
    const std::string typed = text.substr(0, text.find('\0'));
    const std::size_t unit = typed.find_last_not_of("cm");
    if (!std::isfinite(length) || unit == std::string::npos ||
        typed.substr(0, unit + 1).find_first_not_of("0123456789+-.eE \t") != std::string::npos)
      std::abort();
    char shown[128];
    int32_t n = dialogTable().DGNumberToText(length, platform::kDGNumberLength, shown, int32_t(sizeof shown));
    double back = 0;
    if (n <= 0 || n >= int32_t(sizeof shown) ||
        !dialogTable().DGTextToNumber(shown, platform::kDGNumberLength, &back) ||
        std::fabs(back - length) > 1e-5 * std::fabs(length))
      std::abort();
  }

  // The same text typed into the joint list's length column.
  if (text.find('\0') != std::string::npos) return 0;
  static std::unique_ptr<standin::Host> host = [] {
    auto made = fuzz::loadedHost();
    made->newProject();
    return made;
  }();
  const double before = firstJointLength();
  using Action = standin::DialogAction;
  host->dialogs().queueDialog(32515, {Action::of(Action::Kind::Edit, 12, {"1", "4", text}), Action::of(Action::Kind::Ok)});
  standin::MenuItem item;
  if (!host->findMenuItem("Framing/Preferences/Joints...", item)) std::abort();
  host->chooseMenuItem(item.menuList, item.itemIndex);
  const bool refused = !host->dialogs().scriptError().empty();
  host->dialogs().clearScriptError();
  host->dialogs().dropAnswers();
  const double after = firstJointLength();
  if (refused ? after != before : (!reads || std::fabs(after - length) > 1e-5 * std::fabs(length))) std::abort();
  host->clearRecords();
  host->dialogs().clearRecords();
  return 0;
}
