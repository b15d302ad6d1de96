// The project's preferences: schedule report, project identity, labour cost, size increments,
// library loading and timber numbering.
#pragma once

#include <cstdint>
#include <memory>

#include "prefs/package_codes.h"
#include "runtime/cad_string.h"
#include "storage/package.h"
#include "storage/shipping_text.h"

namespace varnholt {

// The project package ('PRJP', "projectPrefs").
class ProjectPrefs : public lunvik::Package {
 public:
  // The report a schedule produces.
  enum class Report : int { schedule = 0, cutlist = 1 };

  static constexpr uint32_t kCode = kProjectPrefsCode;

  // A package holding the defaults (the increments from string list 32525).
  ProjectPrefs();

  bool headingState = false;                 // "headingState"
  Report reportType = Report::schedule;      // "reportType"
  lunvik::CadString projectNo;               // "projectNo"
  lunvik::CadString personID;                // "personID"
  double labourCost = 0.0;                   // "labourCost", per hour
  double lengthInc = 0.25;                   // "lengthInc", metres
  double sectionInc = 0.025;                 // "sectionInc", metres
  bool loadTimber = true;                    // "loadTimber": add the add-on's library folder
  bool loadSteel = true;                     // "loadSteel"
  lunvik::CadString numPrefix;               // "numPrefix"
  lunvik::CadString numSuffix;               // "numSuffix"
  short numPadding = 0;                      // "numPadding"
  bool useSelection = false;                 // "Use Selection" of reports: in memory, never stored
  bool numberNewOnly = false;                // "Number new timbers only": in memory, never stored
  bool groupWithExisting = false;            // "Group with existing timbers": in memory, never stored

  // The element name, "projectPrefs".
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

// The words of ProjectPrefs::Report.
struct ProjectReportNames {
  static constexpr const char* names[] = {"schedule", "cutlist"};
  static constexpr int count = 2;
  static constexpr int fallback = 0;
};

}  // namespace varnholt

template <>
struct lunvik::ShippingText<varnholt::ProjectPrefs::Report>
    : lunvik::ShippingEnumText<varnholt::ProjectPrefs::Report, varnholt::ProjectReportNames> {};
