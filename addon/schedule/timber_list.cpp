#include "schedule/timber_list.h"

#include "model/component_link.h"
#include "model/component_source.h"
#include "model/library.h"
#include "timber/framing_member.h"

namespace varnholt {

bool IsScheduledTimber::accept(const lunvik::Element& element) const {
  if (element.typeID() != platform::kObject) return false;
  const auto* member = dynamic_cast<const FramingMember*>(&element);
  bool scheduled = false;
  return member && member->incInSched(scheduled) && scheduled;
}

bool IsSectionProfile::accept(const lunvik::Element& element) const {
  return dynamic_cast<const Profiled*>(&element) != nullptr;
}

bool NotAssembly::accept(const lunvik::Element& element) const {
  const auto* timber = dynamic_cast<const Crafted*>(&element);
  return timber && timber->kind() != TimberKind::assembly;
}

bool hasSelectedAccepted(lunvik::Drawing& drawing, const lunvik::Drawing::Filter& filter) {
  // The host answers kind, bits and user data at once; reading elements only follows when
  // one of the selection passes those.
  if (!drawing.hasSelected(filter)) return false;
  std::unique_ptr<lunvik::Drawing::Filter> selected = filter.clone();
  selected->selectedOnly = true;
  return !drawing.begin(*selected).atEnd();
}

TimberData timberDataOf(const FramingMember& member, const lunvik::CadString& partName,
                        const ScheduleCosting& costing) {
  const DimensionCache& cache = member.dimensions();
  ScheduleDimensions dimensions;
  dimensions.extendedLength = cache.extendedLength;
  dimensions.width = cache.width;
  dimensions.depth = cache.depth;
  dimensions.roundedLength = cache.roundedLength;
  dimensions.roundedWidth = cache.roundedWidth;
  dimensions.roundedDepth = cache.roundedDepth;
  dimensions.valid = cache.valid;
  MemberFacts facts;
  if (std::unique_ptr<lunvik::CadString> id = member.timberElement().getId()) facts.elementId = *id;
  facts.partName = partName;
  // recalculate has just written the host's quantities volume (0 when the host had none).
  member.actVol(facts.actualVolume);
  facts.link = member.timberLink();
  facts.curved = member.kind() == TimberKind::curved;
  return makeTimberData(member.parameters(), dimensions, facts, costing);
}

std::unique_ptr<lunvik::ElemRefList> TimberList::refs() const {
  auto list = std::make_unique<lunvik::ElemRefList>();
  list->reserve(size());
  for (const auto& data : *this) list->push_back(new lunvik::ElementLink(data->link));
  return list;
}

bool TimberList::add(lunvik::Element* element) {
  std::unique_ptr<lunvik::Element> owned(element);
  if (auto* member = dynamic_cast<FramingMember*>(element)) addMember(*member);
  return false;
}

bool TimberList::addMember(FramingMember& member) {
  lunvik::CadString name;
  if (!partName(member, name)) {
    skipped_ = true;
    return false;
  }
  member.recalculate(false);
  push_back(new TimberData(timberDataOf(member, name, costing_)));
  if ((*this)[size() - 1].number == 0) unnumbered_ = true;
  return true;
}

std::vector<TimberData> TimberList::records() const {
  std::vector<TimberData> out;
  out.reserve(size());
  for (const auto& data : *this) out.push_back(*data);
  return out;
}

bool TimberList::partName(const FramingMember& member, lunvik::CadString& name) {
  int32_t type = member.timberElement().typeID() == platform::kLamp ? platform::kPartLamp : platform::kPartObject;
  int32_t index = member.libraryIndex();
  int64_t key = (int64_t(type) << 32) | uint32_t(index);
  auto it = parts_.find(key);
  if (it == parts_.end()) {
    std::pair<bool, lunvik::CadString> entry(false, lunvik::CadString());
    lunvik::Library* library = lunvik::projectLibrary();
    lunvik::ComponentLink link(type, index, library);
    if (library && link.isValid()) {
      if (std::unique_ptr<lunvik::ComponentSource> source = library->getElement(link)) {
        entry.first = true;
        entry.second = source->name();
      }
    }
    it = parts_.emplace(key, entry).first;
  }
  name = it->second.second;
  return it->second.first;
}

}  // namespace varnholt
