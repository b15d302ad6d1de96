// A reference to one library part of the loaded libraries.
#pragma once

#include <cstdint>

#include "platform/library_records.h"
#include "runtime/cad_string.h"

namespace lunvik {

class Library;

// A library part by type and index; valid when both are non-zero.
class ComponentLink {
 public:
  ComponentLink() = default;
  // The part of index in library (the project's library when null and index is not 0).
  ComponentLink(int32_t type, int32_t index, Library* library = nullptr);
  // The part a record names (its first two fields).
  explicit ComponentLink(const platform::LibraryPartRecord& record, Library* library = nullptr);
  // The part called name (of type when not 0), looked up in library; the lookup may correct
  // the type. A name no loaded part has gives index 0.
  ComponentLink(const CadString& name, int32_t type, Library* library = nullptr);
  ComponentLink(const ComponentLink&) = default;
  ComponentLink& operator=(const ComponentLink&) = default;
  virtual ~ComponentLink() = default;

  // True when both type and index are non-zero.
  bool isValid() const { return type_ != 0 && index_ != 0; }
  int32_t type() const { return type_; }
  int32_t index() const { return index_; }
  // The library the index belongs to; may be null.
  Library* library() const { return library_; }
  void setType(int32_t type) { type_ = type; }
  void setIndex(int32_t index) { index_ = index; }
  void setLibrary(Library* library) { library_ = library; }

  friend bool operator==(const ComponentLink& a, const ComponentLink& b) {
    return a.type_ == b.type_ && a.index_ == b.index_ && a.library_ == b.library_;
  }
  friend bool operator!=(const ComponentLink& a, const ComponentLink& b) { return !(a == b); }

 private:
  int32_t type_ = 0;
  int32_t index_ = 0;
  Library* library_ = nullptr;
};

// The project's library, or null when no project is open.
Library* projectLibrary();

}  // namespace lunvik
