// The stand-in host's `put` list: the profile a profile part's 3D script lists, and the body
// the host extrudes from it. Whatever the script, the points are finite, and the body's
// volume, surface and box are finite numbers, the volume not below 0.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/bodies/body_generator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  for (const auto& point : standin::profileFromScript(script))
    if (!std::isfinite(point.first) || !std::isfinite(point.second)) std::abort();
  standin::PartParameter length;
  length.name = "length";
  length.typeID = 2;
  length.numbers = {2.0};
  const standin::ParameterValues values({length});
  for (const char* kind : {"CUST", "EXTR"}) {
    standin::GeneratedModel model = standin::generateBodies(kind, values, standin::BodyPlacement(), script);
    if (!std::isfinite(model.volume) || !std::isfinite(model.surface) || model.volume < 0) std::abort();
    for (const standin::GeneratedBody& body : model.bodies)
      for (double v : {body.boxMin.x, body.boxMin.y, body.boxMin.z, body.boxMax.x, body.boxMax.y, body.boxMax.z})
        if (!std::isfinite(v)) std::abort();
  }
  return 0;
}
