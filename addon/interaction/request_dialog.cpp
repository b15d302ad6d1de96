#include "interaction/request_dialog.h"

#include "runtime/alert.h"
#include "runtime/environment.h"

namespace lunvik {

RequestDialog::RequestDialog(const CadString& title, const CadString& prompt, const CadString& name,
                             Validator validator)
    : Dialog(kResource, true), title_(title), prompt_(prompt), name_(name), validator_(std::move(validator)) {
  Environment& env = Environment::instance();
  if (title_.empty()) title_ = env.string(kFrameworkStrings, 8);
  if (prompt_.empty()) prompt_ = env.string(kFrameworkStrings, 9);
}

void RequestDialog::setupControls() {
  setTitle(title_);
  add(new StaticText(*this, 3))->setItemText(prompt_);
  field_ = add(new EditText(*this, 4));
  field_->setText(name_);
  attach(add(new Button(*this, 1)), new ActionCall([this](ActionEvent& e) { return check(e); }));
}

bool RequestDialog::check(ActionEvent& event) {
  CadString typed = field_->text();
  CadString error = Environment::instance().string(kFrameworkStrings, 10);
  if (validator_ && !validator_(typed, error)) {
    if (!error.empty()) ErrorAlert().show(error);
    event.reply(0);
    return true;
  }
  name_ = typed;
  return true;
}

}  // namespace lunvik
