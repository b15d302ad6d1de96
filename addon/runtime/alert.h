// Host alerts: notification, warning, error and confirmation.
#pragma once

#include <cstdint>

#include "runtime/cad_string.h"

namespace lunvik {

// An alert with an icon kind and a title.
class Alert {
 public:
  Alert(int32_t kind, int32_t defaultTitleItem, const CadString& title);
  virtual ~Alert() = default;
  // Shows text with one "OK" button; answers the host's answer (1 = the first button).
  virtual int32_t show(const CadString& text) const;

  int32_t kind() const { return kind_; }
  const CadString& title() const { return title_; }

 protected:
  int32_t kind_;
  CadString title_;
};

// An alert that tells the user something.
class NotifyAlert : public Alert {
 public:
  explicit NotifyAlert(const CadString& title = CadString());
};

// An alert that warns.
class WarnAlert : public Alert {
 public:
  explicit WarnAlert(const CadString& title = CadString());
};

// An alert that reports an error.
class ErrorAlert : public Alert {
 public:
  explicit ErrorAlert(const CadString& title = CadString());
};

// A question with "OK" and "Cancel".
class ConfirmAlert : public Alert {
 public:
  explicit ConfirmAlert(const CadString& title = CadString());
  // Answers 1 for "OK", 2 for "Cancel".
  int32_t show(const CadString& text) const override;
};

// The framework's own string list (alert titles and buttons).
constexpr int32_t kFrameworkStrings = 32760;

}  // namespace lunvik
