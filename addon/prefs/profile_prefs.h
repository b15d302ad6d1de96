// The settings of the new-profile tool.
#pragma once

#include <cstdint>
#include <memory>

#include "prefs/package_codes.h"
#include "runtime/cad_string.h"
#include "storage/package.h"
#include "storage/shipping_text.h"

namespace varnholt {

// The new-profile package ('PPRF', "profilePrefs").
class ProfilePrefs : public lunvik::Package {
 public:
  // The plane a new profile is drawn in.
  enum class Type : int { elevation = 0, section = 1, lathe = 2 };

  static constexpr uint32_t kCode = kProfilePrefsCode;

  // A package holding the defaults (from string list 32525).
  ProfilePrefs();

  double profileThick = 0.075;                 // "profileThick", metres
  double profileLength = 1.0;                  // "profileLength", metres
  double profileSweep = 6.283185307179586;     // "profileSweep", radians
  lunvik::CadString profileName;               // "profileName"
  lunvik::CadString profileLibrary;            // "profileLibrary"
  lunvik::CadString profilePath;               // "profilePath"
  Type profileType = Type::section;            // "profileType"

  // The element name, "profilePrefs".
  static const lunvik::CadString& tag();

  lunvik::Package* clone() const override;
  uint32_t code() const override { return kCode; }
  const lunvik::CadString& tagName() const override { return tag(); }
  std::size_t count() const override;
  std::unique_ptr<lunvik::Shipping> child(std::size_t index) override;
  // Back to the defaults.
  void reset() override;
  // Always false: the package holds no list and had no legacy keys.
  bool translateLegacyKey(lunvik::CadString& key) const override;

 private:
  void setDefaults();
};

// The words of ProfilePrefs::Type; a word that is none of them reads as "section".
struct ProfileTypeNames {
  static constexpr const char* names[] = {"elevation", "section", "lathe"};
  static constexpr int count = 3;
  static constexpr int fallback = 1;
};

}  // namespace varnholt

template <>
struct lunvik::ShippingText<varnholt::ProfilePrefs::Type>
    : lunvik::ShippingEnumText<varnholt::ProfilePrefs::Type, varnholt::ProfileTypeNames> {};
