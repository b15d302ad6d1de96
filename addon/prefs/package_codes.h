// The four-character codes of the product's preference packages. A store keeps its packages in
// ascending code order, which is the order below.
#pragma once

#include <cstdint>

#include "platform/host_types.h"

namespace varnholt {

constexpr uint32_t kAlignPrefsCode = platform::fourcc("ALNP");            // AlignPrefs
constexpr uint32_t kFramePrefsCode = platform::fourcc("FPRF");            // FramePrefs
constexpr uint32_t kFramingTemplatePrefsCode = platform::fourcc("FRTP");  // FramingTemplatePrefs
constexpr uint32_t kJointPrefsCode = platform::fourcc("JNTP");            // JointPrefs
constexpr uint32_t kProfilePrefsCode = platform::fourcc("PPRF");          // ProfilePrefs
constexpr uint32_t kProjectPrefsCode = platform::fourcc("PRJP");          // ProjectPrefs
constexpr uint32_t kTimberPrefsCode = platform::fourcc("REPP");           // TimberPrefs

}  // namespace varnholt
