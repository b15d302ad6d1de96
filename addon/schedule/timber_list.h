// The members of a schedule: the drawing filters that find them and the list of their
// schedule records.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "model/drawing.h"
#include "model/selection.h"
#include "runtime/containers.h"
#include "schedule/timber_data.h"

namespace varnholt {

class FramingMember;

// Object elements that are framing members with `IncInSched` on.
class IsScheduledTimber : public lunvik::Drawing::Filter {
 public:
  explicit IsScheduledTimber(bool selectedOnly) : Filter(platform::kObject, selectedOnly, false, false) {}
  std::unique_ptr<Filter> clone() const override { return std::make_unique<IsScheduledTimber>(*this); }
  bool accept(const lunvik::Element& element) const override;
};

// Members of the constant-section kinds.
class IsSectionProfile : public lunvik::Drawing::Filter {
 public:
  explicit IsSectionProfile(bool selectedOnly) : Filter(selectedOnly) {}
  std::unique_ptr<Filter> clone() const override { return std::make_unique<IsSectionProfile>(*this); }
  bool accept(const lunvik::Element& element) const override;
};

// Timbers that are not assemblies.
class NotAssembly : public lunvik::Drawing::Filter {
 public:
  explicit NotAssembly(bool selectedOnly) : Filter(selectedOnly) {}
  std::unique_ptr<Filter> clone() const override { return std::make_unique<NotAssembly>(*this); }
  bool accept(const lunvik::Element& element) const override;
};

// True when a selected element of the drawing passes filter, its accept included
// (Drawing::hasSelected asks only kind, filter bits and user data).
bool hasSelectedAccepted(lunvik::Drawing& drawing, const lunvik::Drawing::Filter& filter);

// The schedule record of a recalculated member; partName is its library part's name.
TimberData timberDataOf(const FramingMember& member, const lunvik::CadString& partName,
                        const ScheduleCosting& costing);

// The schedule records of members, built as they are added. Owns its records; the elements
// added are not kept.
class TimberList : public lunvik::BaseElemSelection, public lunvik::Vector<TimberData> {
 public:
  explicit TimberList(const ScheduleCosting& costing) : costing_(costing) {}

  // The links of the records' elements.
  std::unique_ptr<lunvik::ElemRefList> refs() const override;
  // Takes element: a framing member is recalculated (without rebuild) and its record
  // appended. Always false: the element itself is not added (it is deleted).
  bool add(lunvik::Element* element) override;
  // Recalculates member (without rebuild) and appends its record, or notes it as skipped
  // when its library part is not loaded; false when skipped.
  bool addMember(FramingMember& member);

  // Whether a member with `TimberNo` 0 was added.
  bool hasUnnumbered() const { return unnumbered_; }
  // Whether a member was skipped because its library part is not loaded.
  bool hasSkipped() const { return skipped_; }
  // The records, copied out in list order.
  std::vector<TimberData> records() const;

 private:
  // The name of the library part of a member's index; false when it is not loaded. Each
  // index is looked up once.
  bool partName(const FramingMember& member, lunvik::CadString& name);

  const ScheduleCosting& costing_;
  std::unordered_map<int64_t, std::pair<bool, lunvik::CadString>> parts_;
  bool unnumbered_ = false;
  bool skipped_ = false;
};

}  // namespace varnholt
