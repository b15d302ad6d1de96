#include "alignment/cluster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "geometry/tolerance.h"

namespace varnholt {

double referenceFraction(AlignPreset::Origin origin) { return double(int(origin) % 3) * 0.5; }

Cluster::Cluster(const lunvik::ElementLink& link, const lunvik::CadCube& box) : box_(box) {
  box_.normalise();
  members_.push_back(link);
}

void Cluster::add(const lunvik::ElementLink& link, const lunvik::CadCube& box) {
  members_.push_back(link);
  box_.add(box);
}

bool Cluster::stays() const {
  return std::fabs(offset_.getX()) < lunvik::kTolerance && std::fabs(offset_.getY()) < lunvik::kTolerance &&
         std::fabs(offset_.getZ()) < lunvik::kTolerance;
}

lunvik::CadCube ClusterList::overall() const {
  if (empty()) return lunvik::CadCube();
  lunvik::CadCube all = (*this)[0].box();
  for (std::size_t i = 1; i < size(); ++i) all.add((*this)[i].box());
  return all;
}

void ClusterList::arrange(const AlignPreset& preset) {
  const lunvik::CadCube all = overall();
  const AlignPreset::Type types[3] = {preset.xType, preset.yType, preset.zType};
  const AlignPreset::Origin origins[3] = {preset.xOrigin, preset.yOrigin, preset.zOrigin};
  for (int axis = 0; axis < 3; ++axis) {
    switch (types[axis]) {
      case AlignPreset::Type::align: align(axis, origins[axis], all); break;
      case AlignPreset::Type::distribute: distribute(axis, origins[axis], all); break;
      case AlignPreset::Type::ignore: break;
    }
  }
}

void ClusterList::align(int axis, AlignPreset::Origin origin, const lunvik::CadCube& all) {
  const double f = referenceFraction(origin);
  const double target = all.min()[axis] + f * all.size(axis);
  for (auto& c : *this) c->offset()[axis] += target - (c->minimum(axis) + f * c->size(axis));
}

void ClusterList::distribute(int axis, AlignPreset::Origin origin, const lunvik::CadCube& all) {
  const std::size_t n = size();
  if (n < 2) return;
  const double f = referenceFraction(origin);
  std::vector<Cluster*> order;
  order.reserve(n);
  for (auto& c : *this) {
    c->key = c->minimum(axis) + f * c->size(axis);
    order.push_back(c.get());
  }
  std::stable_sort(order.begin(), order.end(), [](const Cluster* a, const Cluster* b) { return a->key < b->key; });
  if (origin == AlignPreset::Origin::equal) {
    double total = 0;
    for (const Cluster* c : order) total += c->size(axis);
    const double gap = (all.size(axis) - total) / double(n - 1);
    double p = all.min()[axis];
    for (Cluster* c : order) {
      c->offset()[axis] += p - c->key;
      p += c->size(axis) + gap;
    }
    return;
  }
  double p = order.front()->key;
  const double step = (all.max()[axis] - p - (1.0 - f) * order.back()->size(axis)) / double(n - 1);
  for (Cluster* c : order) {
    c->offset()[axis] += p - c->key;
    p += step;
  }
}

}  // namespace varnholt
