// The report writer: the "Timber Schedule" file type the host offers in its save dialog, the
// event through which the schedule dialog reaches it, the reporting dialog and writeReport.
#pragma once

#include <cstdint>
#include <memory>

#include "interaction/controls.h"
#include "interaction/dialog.h"
#include "model/selection.h"
#include "runtime/event.h"
#include "runtime/subscriber.h"
#include "storage/data_file.h"

namespace varnholt {

class FramingMember;
class ProjectPrefs;

// A selection of framing members.
using MemberSelection = lunvik::ElementSelection<FramingMember>;

// What writeReport did.
enum class ReportOutcome { written, cancelled, failed };

// A save of a report for given members, published by the schedule dialog: file event kind 4
// with an empty name. The selection stays the sender's.
class SaveTimberEvent : public lunvik::FileEvent {
 public:
  static constexpr int32_t kAction = 4;
  // file is copied (closed); members must outlive the event.
  SaveTimberEvent(const lunvik::DataFile& file, MemberSelection& members, int32_t refCon);
  MemberSelection& members() const { return members_; }

 private:
  MemberSelection& members_;
};

// "Reporting Schedules" (resource 32512): 4 "Timber schedule" and 5 "Cutting list" (radio
// group), 6 "Column headings", 7 "Use Selection". Opens with the report type and headings of
// the project preferences and "Use Selection" unchecked; OK stores the three settings.
class ReportingDialog : public lunvik::Dialog {
 public:
  static constexpr int32_t kResource = 32512;
  ReportingDialog(ProjectPrefs& prefs, bool selectionEnabled)
      : Dialog(kResource, true), prefs_(prefs), selectionEnabled_(selectionEnabled) {}

  void setupControls() override;
  void accept() override;

 private:
  ProjectPrefs& prefs_;
  bool selectionEnabled_;
  lunvik::RadioControl* type_ = nullptr;
  lunvik::CheckboxControl* headings_ = nullptr;
  lunvik::CheckboxControl* selection_ = nullptr;
};

// Gathers the members' records (progress window, the two confirmations), sorts them and
// writes the report the project preferences ask for into file: TAB between fields, CR LF
// after every line. Cancelled when the user refuses a confirmation; failed without project
// preferences or when the file cannot be written.
ReportOutcome writeReport(lunvik::DataFile& file, MemberSelection& members);

// The "Timber Schedule" file type (reference 1, type 'CWIE', creator 'TEXT', extension "txt").
// A save asks the reporting dialog, gathers the drawing's scheduled members (or takes those of
// a SaveTimberEvent) and writes the report.
class TimberCuttingList : public lunvik::FileSubscriber {
 public:
  static constexpr int32_t kReference = 1;
  TimberCuttingList();
  // Always takes the event.
  bool takeEvent(lunvik::Event& event) override;
  bool fileAction(lunvik::FileEvent& event) override;

 private:
  // The save itself; answers the result for the host.
  platform::GSErr save(lunvik::FileEvent& event);
};

}  // namespace varnholt
