// Owning containers of polygons that copy deeply.
#pragma once

#include <memory>

#include "geometry/cad_poly.h"
#include "runtime/containers.h"

namespace lunvik {

// An owning vector of polygons; copies and clones are deep.
class PolyVector : public Vector<CadPoly> {
 public:
  PolyVector() = default;
  PolyVector(const PolyVector& other);
  PolyVector& operator=(const PolyVector& other);
  PolyVector(PolyVector&&) noexcept = default;
  PolyVector& operator=(PolyVector&&) noexcept = default;
  ~PolyVector() override = default;

  // A deep heap copy.
  virtual std::unique_ptr<PolyVector> clone() const;
};

// An owning list of polygons; copies and clones are deep.
class PolyList : public List<CadPoly> {
 public:
  PolyList() = default;
  PolyList(const PolyList& other);
  PolyList& operator=(const PolyList& other);
  PolyList(PolyList&&) noexcept = default;
  PolyList& operator=(PolyList&&) noexcept = default;
  ~PolyList() override = default;

  // A deep heap copy.
  virtual std::unique_ptr<PolyList> clone() const;
};

}  // namespace lunvik
