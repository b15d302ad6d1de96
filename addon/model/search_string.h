// A pattern of library-part names.
#pragma once

#include "runtime/cad_string.h"

namespace lunvik {

// A name pattern: "*" matches any name; "text" only that name; "pre*", "*suf", "pre*mid*suf"
// and "*mid*" match by prefix, suffix and a middle part in between.
class SearchString {
 public:
  SearchString() : anyName_(true) {}
  // Builds the pattern from its text (see the class comment).
  explicit SearchString(const CadString& pattern);

  // True when name matches the pattern.
  bool matches(const CadString& name) const;

  const CadString& pattern() const { return pattern_; }
  const CadString& prefix() const { return prefix_; }
  const CadString& middle() const { return middle_; }
  const CadString& suffix() const { return suffix_; }
  bool exact() const { return exact_; }
  bool anyName() const { return anyName_; }

 private:
  CadString pattern_;
  CadString prefix_;
  CadString middle_;
  CadString suffix_;
  bool exact_ = false;
  bool anyName_ = false;
};

}  // namespace lunvik
