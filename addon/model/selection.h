// Selections of elements: owning lists of element objects handed to the drawings' selection,
// group and store operations.
#pragma once

#include <cstring>
#include <memory>

#include "model/drawing.h"
#include "model/element.h"
#include "runtime/memory.h"

namespace lunvik {

// What the drawings ask of a selection.
class BaseElemSelection {
 public:
  virtual ~BaseElemSelection() = default;
  // A new list of the elements' links.
  virtual std::unique_ptr<ElemRefList> refs() const = 0;
  // Adds an element (taken); false for null or an element of another class.
  virtual bool add(Element* element) = 0;
  // Refreshes the links from a handle of headers; false by default.
  virtual bool updateLinks(platform::GSHandle) { return false; }
};

// An owning vector of T.
template <typename T>
class Selection : public Vector<T> {
 public:
  // Appends element (taken); false for null.
  virtual bool add(T* element) {
    if (!element) return false;
    this->push_back(element);
    return true;
  }
  // Stores each element; true only when all succeeded.
  virtual bool storeAll(Drawing& drawing) {
    bool all = true;
    for (auto& e : *this)
      if (!drawing.store(*e)) all = false;
    return all;
  }
};

// A selection of elements of class T.
template <typename T>
class ElementSelection : public BaseElemSelection, public Selection<T> {
 public:
  using Selection<T>::add;
  std::unique_ptr<ElemRefList> refs() const override {
    auto list = std::make_unique<ElemRefList>();
    list->reserve(this->size());
    for (const auto& e : *this) list->push_back(new ElementLink(e->link()));
    return list;
  }
  bool add(Element* element) override {
    T* typed = dynamic_cast<T*>(element);
    if (!typed) {
      delete element;
      return false;
    }
    return Selection<T>::add(typed);
  }
  // With a handle of as many headers as elements, takes each header's index and GUID; then
  // re-reads every element's header from its drawing.
  bool updateLinks(platform::GSHandle headers) override {
    if (headers && handleSize(headers) / sizeof(platform::ElementHeader) == this->size()) {
      const auto* h = reinterpret_cast<const platform::ElementHeader*>(*headers);
      for (std::size_t i = 0; i < this->size(); ++i) {
        ElementLink link = (*this)[i].link();
        link.setIndex(h[i].index);
        link.setGuid(h[i].guid);
        (*this)[i].setLink(link);
      }
    }
    bool all = true;
    for (auto& e : *this) {
      Drawing* d = e->drawing();
      ElementLink link = e->link();
      platform::ElementHeader header{};
      if (!d || !d->readHeader(link, &header)) {
        all = false;
        continue;
      }
      e->setLink(link);
    }
    return all;
  }
};

}  // namespace lunvik
