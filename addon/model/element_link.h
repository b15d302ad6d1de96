// Identifies a host element: its kind, host index and GUID.
#pragma once

#include <cstdint>

#include "runtime/cad_string.h"

namespace lunvik {

// A link to a host element, resolved through the project's databases.
class ElementLink {
 public:
  ElementLink() = default;
  ElementLink(int32_t typeID, int32_t index, const CadString& guid) : typeID_(typeID), index_(index), guid_(guid) {}

  // The element's kind.
  int32_t typeID() const { return typeID_; }
  // The element's host index.
  int32_t index() const { return index_; }
  // The element's GUID as text.
  const CadString& guid() const { return guid_; }
  // True when the link names no element.
  bool isEmpty() const { return typeID_ == 0 && index_ == 0 && guid_.empty(); }

  friend bool operator==(const ElementLink& a, const ElementLink& b) {
    return a.typeID_ == b.typeID_ && a.index_ == b.index_ && a.guid_ == b.guid_;
  }
  friend bool operator!=(const ElementLink& a, const ElementLink& b) { return !(a == b); }

 private:
  int32_t typeID_ = 0;
  int32_t index_ = 0;
  CadString guid_;
};

}  // namespace lunvik
