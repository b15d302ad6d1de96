#include "runtime/alert.h"

#include "platform/host_records.h"
#include "runtime/environment.h"

namespace lunvik {

namespace {

CadString frameworkString(int32_t item, const char* fallback) {
  CadString text = Environment::instance().string(kFrameworkStrings, item);
  return text.empty() ? CadString(fallback) : text;
}

int32_t showAlert(int32_t kind, const CadString& title, const CadString& text, const char* button2) {
  auto alert = host().operation(&platform::HostFunctionTable::DGAlert);
  if (!alert) return 0;
  CadString ok = frameworkString(5, "OK");
  CadString cancel = button2 ? frameworkString(6, button2) : CadString();
  return alert(kind, title.c_str(), text.c_str(), ok.c_str(), button2 ? cancel.c_str() : nullptr, nullptr);
}

const char* const kDefaultTitles[] = {"Notification", "Warning", "Error", "Confirmation"};

}  // namespace

Alert::Alert(int32_t kind, int32_t defaultTitleItem, const CadString& title)
    : kind_(kind),
      title_(title.empty() ? frameworkString(defaultTitleItem, kDefaultTitles[defaultTitleItem - 1]) : title) {}

int32_t Alert::show(const CadString& text) const { return showAlert(kind_, title_, text, nullptr); }

NotifyAlert::NotifyAlert(const CadString& title) : Alert(platform::kAlertNotify, 1, title) {}
WarnAlert::WarnAlert(const CadString& title) : Alert(platform::kAlertWarning, 2, title) {}
ErrorAlert::ErrorAlert(const CadString& title) : Alert(platform::kAlertError, 3, title) {}
ConfirmAlert::ConfirmAlert(const CadString& title) : Alert(platform::kAlertWarning, 4, title) {}

int32_t ConfirmAlert::show(const CadString& text) const { return showAlert(kind_, title_, text, "Cancel"); }

}  // namespace lunvik
