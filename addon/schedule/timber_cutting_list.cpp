#include "schedule/timber_cutting_list.h"

#include <cstring>

#include <boost/shared_ptr.hpp>

#include "interaction/progress_window.h"
#include "model/project.h"
#include "prefs/joint_prefs.h"
#include "prefs/project_prefs.h"
#include "prefs/timber_prefs.h"
#include "runtime/addon.h"
#include "runtime/alert.h"
#include "runtime/environment.h"
#include "schedule/report_table.h"
#include "schedule/timber_list.h"
#include "timber/framing_member.h"

namespace varnholt {

namespace {

constexpr int32_t kFileTypeStrings = 32508;
constexpr int32_t kPromptStrings = 32522;
constexpr int32_t kQuestionStrings = 32523;
constexpr int32_t kProgressTitle = 15;
constexpr int32_t kProgressText = 16;
constexpr int32_t kUnnumberedQuestion = 6;
constexpr int32_t kUnloadedQuestion = 9;

lunvik::CadString text(int32_t list, int32_t item) { return lunvik::Environment::instance().string(list, item); }

lunvik::Project* openProject() {
  lunvik::Addon* addon = lunvik::theAddon();
  return addon ? addon->project() : nullptr;
}

template <typename T>
T* package(lunvik::Project* project) {
  return project ? dynamic_cast<T*>(project->store().get(T::kCode)) : nullptr;
}

platform::FileTypeRecord reportFileType() {
  platform::FileTypeRecord record{};
  record.refCon = TimberCuttingList::kReference;
  record.fileType = platform::fourcc("CWIE");
  record.creator = platform::fourcc("TEXT");
  std::strncpy(record.extension, "txt", sizeof record.extension - 1);
  lunvik::CadString description = text(kFileTypeStrings, 1);
  std::strncpy(record.description, description.c_str(), sizeof record.description - 1);
  record.methods = platform::kFileTypeExport;
  return record;
}

}  // namespace

// ---- SaveTimberEvent ----

SaveTimberEvent::SaveTimberEvent(const lunvik::DataFile& file, MemberSelection& members, int32_t refCon)
    : FileEvent(kAction, refCon, std::make_unique<lunvik::DataFile>(file.path(), file.fileType(), file.creator()),
                lunvik::CadString()),
      members_(members) {}

// ---- ReportingDialog ----

void ReportingDialog::setupControls() {
  type_ = add(new lunvik::RadioControl(*this, {4, 5}));
  headings_ = add(new lunvik::CheckboxControl(*this, 6));
  selection_ = add(new lunvik::CheckboxControl(*this, 7));
  type_->select(prefs_.reportType == ProjectPrefs::Report::cutlist ? 1 : 0);
  headings_->setChecked(prefs_.headingState);
  selection_->setChecked(false);
  selection_->enable(selectionEnabled_);
}

void ReportingDialog::accept() {
  prefs_.headingState = headings_->checked();
  prefs_.reportType = type_->selected() == 1 ? ProjectPrefs::Report::cutlist : ProjectPrefs::Report::schedule;
  prefs_.useSelection = selectionEnabled_ && selection_->checked();
}

// ---- writeReport ----

ReportOutcome writeReport(lunvik::DataFile& file, MemberSelection& members) {
  lunvik::Project* project = openProject();
  const ProjectPrefs* prefs = package<ProjectPrefs>(project);
  if (!prefs) return ReportOutcome::failed;
  ScheduleCosting costing(prefs, package<JointPrefs>(project), package<TimberPrefs>(project), volumeFactor());

  TimberList list(costing);
  {
    boost::shared_ptr<lunvik::ProgressWindow> progress =
        lunvik::ProgressWindow::open(text(kPromptStrings, kProgressTitle), 1);
    if (progress) progress->setPhase(1, text(kPromptStrings, kProgressText), int32_t(members.size()));
    for (auto& member : members) {
      list.addMember(*member);
      if (progress) progress->increment();
    }
  }
  if (list.hasUnnumbered() && lunvik::ConfirmAlert().show(text(kQuestionStrings, kUnnumberedQuestion)) != 1)
    return ReportOutcome::cancelled;
  if (list.hasSkipped() && lunvik::ConfirmAlert().show(text(kQuestionStrings, kUnloadedQuestion)) != 1)
    return ReportOutcome::cancelled;
  std::vector<TimberData> records = list.records();
  sortSchedule(records);

  lunvik::TextDatabase table;
  if (prefs->reportType == ProjectPrefs::Report::cutlist) fillCuttingTable(table, records, costing, prefs->headingState);
  else fillScheduleTable(table, records, costing, prefs->headingState);

  // Written beside the target, which it replaces only once complete: a failed write leaves
  // the old report as it was.
  if (!file.openForReplacing()) return ReportOutcome::failed;
  if (!writeReportTable(file, table)) {
    file.discard();
    return ReportOutcome::failed;
  }
  return file.close() ? ReportOutcome::written : ReportOutcome::failed;
}

// ---- TimberCuttingList ----

TimberCuttingList::TimberCuttingList() : FileSubscriber(reportFileType()) {}

bool TimberCuttingList::takeEvent(lunvik::Event& event) {
  if (auto* file = dynamic_cast<lunvik::FileEvent*>(&event)) file->setResult(save(*file));
  return true;
}

bool TimberCuttingList::fileAction(lunvik::FileEvent& event) {
  event.setResult(save(event));
  return true;
}

platform::GSErr TimberCuttingList::save(lunvik::FileEvent& event) {
  lunvik::Project* project = openProject();
  lunvik::Drawing* drawing = project ? project->workingDrawing() : nullptr;
  if (!drawing || !event.file() || event.file()->path().empty()) return platform::kNoError;
  ProjectPrefs* prefs = package<ProjectPrefs>(project);
  if (!prefs) return platform::kErrGeneral;

  auto* handed = dynamic_cast<SaveTimberEvent*>(&event);
  bool selectionEnabled = !handed && hasSelectedAccepted(*drawing, IsScheduledTimber(true));
  ReportingDialog dialog(*prefs, selectionEnabled);
  if (dialog.run() != 1) return platform::kErrCancelled;

  MemberSelection gathered;
  MemberSelection* members = handed ? &handed->members() : &gathered;
  bool useSelection = !handed && prefs->useSelection;
  if (!handed) {
    for (auto it = drawing->begin(IsScheduledTimber(useSelection)); !it.atEnd(); ++it)
      gathered.add(it.release().release());
  }
  drawing->deselectAll();
  lunvik::DataFile& file = *event.file();
  file.setFileType(platform::fourcc("TEXT"), platform::fourcc("CWIE"));
  ReportOutcome outcome = writeReport(file, *members);
  if (useSelection && !gathered.empty()) drawing->addToSelection(gathered);
  switch (outcome) {
    case ReportOutcome::written: return platform::kNoError;
    case ReportOutcome::cancelled: return platform::kErrCancelled;
    case ReportOutcome::failed: break;
  }
  return platform::kErrFile;
}

}  // namespace varnholt
