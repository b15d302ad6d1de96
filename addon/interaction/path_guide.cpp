#include "interaction/path_guide.h"

namespace lunvik {

PathGuide::~PathGuide() = default;

bool PathGuide::start(const PolyPoint&) { return true; }

bool PathGuide::accepts(const PolyPoint&) { return true; }

}  // namespace lunvik
