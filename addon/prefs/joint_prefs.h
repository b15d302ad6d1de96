// The joint types with their costing effect, and the package that lists them.
#pragma once

#include <cstdint>
#include <memory>

#include "prefs/package_codes.h"
#include "runtime/cad_string.h"
#include "storage/data_file.h"
#include "storage/package.h"
#include "storage/xml_shipping_list.h"

namespace varnholt {

// A joint type: its name, description and what it adds to a member's length and labour.
class Joint : public lunvik::XMLShippingAssembly {
 public:
  Joint() = default;
  // A joint with the given values.
  Joint(lunvik::CadString name, lunvik::CadString description, double additionalLength,
        double additionalHours);

  lunvik::CadString name;         // "name"
  lunvik::CadString description;  // "description"
  double additionalLength = 0.0;  // "additionalLength", metres
  double additionalHours = 0.0;   // "additionalHours"

  // The element name, "joint".
  static const lunvik::CadString& tag();

  const lunvik::CadString& tagName() const override { return tag(); }
  std::size_t count() const override;
  std::unique_ptr<lunvik::Shipping> child(std::size_t index) override;
  // Empties the strings and zeroes the numbers.
  void reset() override;
};

// The joint package ('JNTP', "jointPrefs"): the list of joint types. An empty list is filled
// from the user's default joint file, else from the embedded default joints, when the
// package has been read.
class JointPrefs : public lunvik::Package {
 public:
  static constexpr uint32_t kCode = kJointPrefsCode;

  lunvik::XMLShippingList<Joint> jointList{"jointList"};  // "jointList" of "joint"

  // The joints.
  lunvik::List<Joint>& joints() { return jointList.items(); }
  const lunvik::List<Joint>& joints() const { return jointList.items(); }
  // Appends a joint with the given values and answers it.
  Joint& add(const lunvik::CadString& name, const lunvik::CadString& description,
             double additionalLength, double additionalHours);

  // Replaces the list by the defaults: the user's default joint file when that exists, else
  // the embedded default joints. False with the list as it was without a preferences folder,
  // and when the user's file is empty, does not read or lists nothing (the add-on's error
  // alert names it).
  bool loadDefaults();
  // Writes the package as the user's default joint file; false when there is no preferences
  // folder or the file cannot be written.
  bool writeDefaultFile();
  // The user's default joint file ("Default Joints.xml" in the preferences folder); null
  // without a preferences folder.
  static std::unique_ptr<lunvik::DataFile> defaultFile();

  // The element name, "jointPrefs".
  static const lunvik::CadString& tag();

  lunvik::Package* clone() const override;
  lunvik::Package* listCopy() const override { return clone(); }
  uint32_t code() const override { return kCode; }
  const lunvik::CadString& tagName() const override { return tag(); }
  // Four children, of which only the first, the list, exists.
  std::size_t count() const override;
  std::unique_ptr<lunvik::Shipping> child(std::size_t index) override;
  // Empties the list.
  void reset() override;
  // Fills an empty list with the defaults; always true.
  bool complete() override;
  // Appends a copy of each incoming joint whose name is not in the list yet, in incoming order.
  void merge(const lunvik::Package& other) override;
  // "jointPrefs" -> "jointList" -> "joint", and the joints' legacy keys.
  bool translateLegacyKey(lunvik::CadString& key) const override;

 private:
  bool loadingDefaults_ = false;  // the defaults are being read into this package
};

}  // namespace varnholt
