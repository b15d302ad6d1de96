// A preference package: a shippable record with a four-character code.
#pragma once

#include <cstdint>

namespace lunvik {

// Base of every preference package.
class Package {
 public:
  virtual ~Package() = default;
  // A new copy.
  virtual Package* clone() const = 0;
  // The package's four-character code.
  virtual uint32_t code() const = 0;
};

}  // namespace lunvik
