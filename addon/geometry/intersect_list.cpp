#include "geometry/intersect_list.h"

#include <utility>

namespace lunvik {

IntersectList::~IntersectList() = default;

bool IntersectList::add(InterPoint* point) {
  std::unique_ptr<InterPoint> owned(point);
  if (!owned) return false;
  owned->first().edgeIndex = first_.edgeIndex;
  owned->first().ringIndex = first_.ringIndex;
  owned->second().edgeIndex = second_.edgeIndex;
  owned->second().ringIndex = second_.ringIndex;
  if (swapped_) std::swap(owned->first().code, owned->second().code);
  if (!accepts(0, owned->first().code) || !accepts(1, owned->second().code)) return false;
  points_.insert(0, owned.release());
  return true;
}

void IntersectList::removeDuplicates(double tolerance) {
  for (std::size_t i = 0; i < points_.size();) {
    const InterPoint& p = points_[i];
    bool duplicate = false;
    for (std::size_t j = i + 1; j < points_.size() && !duplicate; ++j) {
      const InterPoint& q = points_[j];
      duplicate = p.first().ringIndex == q.first().ringIndex &&
                  p.second().ringIndex == q.second().ringIndex && p.equals2D(q, tolerance);
    }
    if (duplicate) {
      points_.erase(i);
    } else {
      ++i;
    }
  }
}

}  // namespace lunvik
