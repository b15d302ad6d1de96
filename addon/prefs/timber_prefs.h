// The timber specifications with their prices, and the package that lists them.
#pragma once

#include <cstdint>
#include <memory>

#include "prefs/package_codes.h"
#include "runtime/cad_string.h"
#include "storage/data_file.h"
#include "storage/package.h"
#include "storage/xml_shipping_list.h"
#include "storage/xml_shipping_map.h"

namespace varnholt {

// A timber grade: its name, its base cost and costs by minimum length.
class TimberSpecification : public lunvik::XMLShippingAssembly {
 public:
  // Costs by length (metres), in ascending length order: "lengthCostingList" holding one
  // "lengthCosting" per entry with "keyLength" and "cost".
  class LengthCosting : public lunvik::XMLShippingUnitMap<double, double> {
   public:
    LengthCosting() : XMLShippingUnitMap("lengthCostingList", "lengthCosting", "keyLength", "cost") {}
  };

  // A specification named "Untitled" (string 9 of list 32525) with no costs.
  TimberSpecification();
  // A specification with the given name and base cost and no length costings.
  TimberSpecification(lunvik::CadString gradeName, double cost);

  lunvik::CadString name;           // "name"
  double baseCost = 0.0;            // "baseCost"
  LengthCosting lengthCostingList;  // "lengthCostingList"

  // The element name, "timberSpecification".
  static const lunvik::CadString& tag();

  const lunvik::CadString& tagName() const override { return tag(); }
  std::size_t count() const override;
  std::unique_ptr<lunvik::Shipping> child(std::size_t index) override;
  // Back to the defaults: "Untitled", no cost, no length costings.
  void reset() override;
};

// The timber package ('REPP', "timberPrefs"): the list of timber specifications. An empty
// list is filled from the user's default timber file, else from the embedded default
// timbers, when the package has been read.
class TimberPrefs : public lunvik::Package {
 public:
  // The list of specifications, "timberSpecList" of "timberSpecification".
  class TimberSpecList : public lunvik::XMLShippingList<TimberSpecification> {
   public:
    TimberSpecList() : XMLShippingList("timberSpecList") {}
  };

  static constexpr uint32_t kCode = kTimberPrefsCode;

  TimberSpecList timberSpecList;  // "timberSpecList"

  // The specifications.
  lunvik::List<TimberSpecification>& specifications() { return timberSpecList.items(); }
  const lunvik::List<TimberSpecification>& specifications() const { return timberSpecList.items(); }
  // Appends a specification with the given name and base cost and answers it.
  TimberSpecification& add(const lunvik::CadString& name, double baseCost);

  // Replaces the list by the defaults: the user's default timber file when that exists, else
  // the embedded default timbers. False with the list as it was without a preferences folder,
  // and when the user's file is empty, does not read or lists nothing (the add-on's error
  // alert names it).
  bool loadDefaults();
  // Writes the package as the user's default timber file; false when there is no preferences
  // folder or the file cannot be written.
  bool writeDefaultFile();
  // The user's default timber file ("Default Timbers.xml" in the preferences folder); null
  // without a preferences folder.
  static std::unique_ptr<lunvik::DataFile> defaultFile();

  // The element name, "timberPrefs".
  static const lunvik::CadString& tag();

  lunvik::Package* clone() const override;
  lunvik::Package* listCopy() const override { return clone(); }
  uint32_t code() const override { return kCode; }
  const lunvik::CadString& tagName() const override { return tag(); }
  std::size_t count() const override;
  std::unique_ptr<lunvik::Shipping> child(std::size_t index) override;
  // Empties the list.
  void reset() override;
  // Fills an empty list with the defaults; always true.
  bool complete() override;
  // Appends a copy of each incoming specification whose name is not in the list yet, in
  // incoming order.
  void merge(const lunvik::Package& other) override;
  // "timberPrefs" -> "timberSpecList" -> "timberSpecification", "TIMBER_NAME" -> "name" and
  // "TIMBER_COST" -> "baseCost".
  bool translateLegacyKey(lunvik::CadString& key) const override;

 private:
  bool loadingDefaults_ = false;  // the defaults are being read into this package
};

}  // namespace varnholt
