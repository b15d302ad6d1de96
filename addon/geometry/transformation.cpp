#include "geometry/transformation.h"

#include <cstring>

#include "platform/host_types.h"

namespace lunvik {

namespace {

CadPoint pointOf(const platform::Coord3D& c) { return CadPoint(c); }

}  // namespace

Transformation::Transformation(int32_t kind, bool keep, const CadPoint& origin) {
  std::memset(&record_, 0, sizeof record_);
  record_.kind = kind;
  record_.flag = keep ? 0 : 1;
  record_.origin = origin.getCoord();
}

Transformation::~Transformation() = default;

std::unique_ptr<Transformation> Transformation::clone() const {
  return std::make_unique<Transformation>(*this);
}

bool Transformation::operator==(const Transformation& t) const {
  const platform::EditRecord& a = record_;
  const platform::EditRecord& b = t.record_;
  return a.kind == b.kind && a.flag == b.flag &&
         CadPoint(a.origin, 0.0).equals2D(CadPoint(b.origin, 0.0), kTolerance) &&
         pointOf(a.first).equals(pointOf(b.first), kTolerance) &&
         pointOf(a.second).equals(pointOf(b.second), kTolerance) &&
         pointOf(a.third).equals(pointOf(b.third), kTolerance);
}

MoveTransform::MoveTransform(const CadPoint& offset, const CadPoint& from)
    : Transformation(int32_t(platform::fourcc("DRAG")), false, CadPoint()) {
  record_.first = from.getCoord3D();
  record_.second = (from + offset).getCoord3D();
}

std::unique_ptr<Transformation> MoveTransform::clone() const {
  return std::make_unique<MoveTransform>(*this);
}

TransformList::TransformList(const TransformList& other) : List<Transformation>() {
  reserve(other.size());
  for (const auto& t : other) push_back(t->clone());
}

TransformList& TransformList::operator=(const TransformList& other) {
  if (this != &other) {
    TransformList copy(other);
    items_.swap(copy.items_);
  }
  return *this;
}

}  // namespace lunvik
