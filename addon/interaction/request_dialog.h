// The name request: a modal dialog asking for a name, checked by the caller's validator.
#pragma once

#include <functional>

#include "interaction/controls.h"
#include "interaction/dialog.h"

namespace lunvik {

// Asks for a name (dialog resource 32600: 1 OK, 2 Cancel, 3 prompt, 4 name).
class RequestDialog : public Dialog {
 public:
  static constexpr int32_t kResource = 32600;
  // Checks a name; false refuses it, leaving in error the text to show (empty: none).
  using Validator = std::function<bool(const CadString& name, CadString& error)>;

  // An empty title becomes "New Name Entry", an empty prompt "Please specify a name".
  RequestDialog(const CadString& title, const CadString& prompt, const CadString& name,
                Validator validator = Validator());

  // The name taken (the initial name until OK takes one).
  const CadString& name() const { return name_; }
  const CadString& title() const { return title_; }
  const CadString& prompt() const { return prompt_; }

  void setupControls() override;

 private:
  // On OK: asks the validator; a refused name keeps the dialog open.
  bool check(ActionEvent& event);

  CadString title_;
  CadString prompt_;
  CadString name_;
  Validator validator_;
  EditText* field_ = nullptr;
};

}  // namespace lunvik
