// The alignment presets and the package that lists them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "prefs/package_codes.h"
#include "runtime/cad_string.h"
#include "storage/package.h"
#include "storage/shipping_text.h"
#include "storage/xml_shipping_list.h"

namespace varnholt {

// How elements are aligned along X, Y and Z.
class AlignPreset : public lunvik::XMLShippingAssembly {
 public:
  // What happens along an axis.
  enum class Type : int { ignore = 0, align = 1, distribute = 2 };
  // The part of each element that is aligned or distributed.
  enum class Origin : int { begin = 0, middle = 1, end = 2, equal = 3 };

  AlignPreset() = default;
  // A preset with the given name and values.
  AlignPreset(lunvik::CadString presetName, Type x, Origin xFrom, Type y, Origin yFrom, Type z, Origin zFrom);

  lunvik::CadString name;          // "name"
  Type xType = Type::ignore;       // "xType"
  Origin xOrigin = Origin::begin;  // "xOrigin"
  Type yType = Type::ignore;       // "yType"
  Origin yOrigin = Origin::begin;  // "yOrigin"
  Type zType = Type::ignore;       // "zType"
  Origin zOrigin = Origin::begin;  // "zOrigin"

  // The element name, "alignPreset".
  static const lunvik::CadString& tag();

  const lunvik::CadString& tagName() const override { return tag(); }
  std::size_t count() const override;
  std::unique_ptr<lunvik::Shipping> child(std::size_t index) override;
  // Empties the name and sets every axis to ignore from the beginning.
  void reset() override;
};

// The alignment package ('ALNP', "alignPrefs"): the list of presets, never shorter than the
// eleven factory presets.
class AlignPrefs : public lunvik::Package {
 public:
  static constexpr uint32_t kCode = kAlignPrefsCode;
  // The number of factory presets; a list read with fewer is replaced by them.
  static constexpr std::size_t kFactoryPresetCount = 11;

  // A package holding the factory presets.
  AlignPrefs();

  lunvik::XMLShippingList<AlignPreset> presetList{"presetList"};  // "presetList" of "alignPreset"

  // The presets.
  lunvik::List<AlignPreset>& presets() { return presetList.items(); }
  const lunvik::List<AlignPreset>& presets() const { return presetList.items(); }

  // The element name, "alignPrefs".
  static const lunvik::CadString& tag();

  lunvik::Package* clone() const override;
  lunvik::Package* listCopy() const override { return clone(); }
  uint32_t code() const override { return kCode; }
  const lunvik::CadString& tagName() const override { return tag(); }
  std::size_t count() const override;
  std::unique_ptr<lunvik::Shipping> child(std::size_t index) override;
  // Replaces the list by the factory presets (named by strings 17 to 27 of list 32527).
  void reset() override;
  // Replaces a list of fewer than eleven presets by the factory presets; always true.
  bool complete() override;
  // "alignPrefs" -> "presetList" -> "alignPreset"; the presets' fields have no legacy keys.
  bool translateLegacyKey(lunvik::CadString& key) const override;
};

// The words of AlignPreset::Type.
struct AlignTypeNames {
  static constexpr const char* names[] = {"ignore", "align", "distribute"};
  static constexpr int count = 3;
  static constexpr int fallback = 0;
};

// The words of AlignPreset::Origin.
struct AlignOriginNames {
  static constexpr const char* names[] = {"begin", "middle", "end", "equal"};
  static constexpr int count = 4;
  static constexpr int fallback = 0;
};

}  // namespace varnholt

template <>
struct lunvik::ShippingText<varnholt::AlignPreset::Type>
    : lunvik::ShippingEnumText<varnholt::AlignPreset::Type, varnholt::AlignTypeNames> {};

template <>
struct lunvik::ShippingText<varnholt::AlignPreset::Origin>
    : lunvik::ShippingEnumText<varnholt::AlignPreset::Origin, varnholt::AlignOriginNames> {};
