// The settings of the curve tools.
#pragma once

#include <cstdint>
#include <memory>

#include "prefs/package_codes.h"
#include "runtime/cad_string.h"
#include "storage/package.h"

namespace varnholt {

// The curve-tool package ('FPRF', "framePrefs").
class FramePrefs : public lunvik::Package {
 public:
  static constexpr uint32_t kCode = kFramePrefsCode;

  // A package holding the defaults (from string list 32525).
  FramePrefs();

  double radialWidth = 0.15;  // "radialWidth", metres
  double curveThick = 0.075;  // "curveThick", metres
  double curveLevel = 0.0;    // "curveLevel", metres
  short curveLayer = 1;       // "curveLayer", a layer index

  // The element name, "framePrefs".
  static const lunvik::CadString& tag();

  lunvik::Package* clone() const override;
  uint32_t code() const override { return kCode; }
  const lunvik::CadString& tagName() const override { return tag(); }
  std::size_t count() const override;
  std::unique_ptr<lunvik::Shipping> child(std::size_t index) override;
  // Back to the defaults.
  void reset() override;
  // The fields' legacy keys; false for the package's own tag (it holds no list).
  bool translateLegacyKey(lunvik::CadString& key) const override;

 private:
  void setDefaults();
};

}  // namespace varnholt
