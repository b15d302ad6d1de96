#include "geometry/poly_list.h"

namespace lunvik {

PolyVector::PolyVector(const PolyVector& other) : Vector<CadPoly>() {
  reserve(other.size());
  for (const auto& p : other) push_back(p->clone());
}

PolyVector& PolyVector::operator=(const PolyVector& other) {
  if (this != &other) {
    PolyVector copy(other);
    items_.swap(copy.items_);
  }
  return *this;
}

std::unique_ptr<PolyVector> PolyVector::clone() const { return std::make_unique<PolyVector>(*this); }

PolyList::PolyList(const PolyList& other) : List<CadPoly>() {
  reserve(other.size());
  for (const auto& p : other) push_back(p->clone());
}

PolyList& PolyList::operator=(const PolyList& other) {
  if (this != &other) {
    PolyList copy(other);
    items_.swap(copy.items_);
  }
  return *this;
}

std::unique_ptr<PolyList> PolyList::clone() const { return std::make_unique<PolyList>(*this); }

}  // namespace lunvik
