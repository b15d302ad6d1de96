#include "model/search_string.h"

namespace lunvik {

SearchString::SearchString(const CadString& pattern) : pattern_(pattern) {
  const std::string& p = pattern.str();
  std::size_t first = p.find('*');
  if (p.empty() || p == "*" || p == "**") {
    anyName_ = true;
    return;
  }
  if (first == std::string::npos) {
    exact_ = true;
    middle_ = pattern;
    return;
  }
  std::size_t last = p.rfind('*');
  prefix_ = CadString(p.substr(0, first));
  suffix_ = CadString(p.substr(last + 1));
  if (last > first) middle_ = CadString(p.substr(first + 1, last - first - 1));
}

bool SearchString::matches(const CadString& name) const {
  if (anyName_) return true;
  if (exact_) return name == middle_;
  const std::string& n = name.str();
  const std::string& pre = prefix_.str();
  const std::string& suf = suffix_.str();
  if (n.size() < pre.size() + suf.size()) return false;
  if (n.compare(0, pre.size(), pre) != 0 || n.compare(n.size() - suf.size(), suf.size(), suf) != 0) return false;
  if (middle_.empty()) return true;
  if (n.size() <= pre.size() + suf.size()) return false;
  std::string between = n.substr(pre.size(), n.size() - pre.size() - suf.size());
  return between.find(middle_.str()) != std::string::npos;
}

}  // namespace lunvik
