#include "model/storey.h"

#include <cstring>

namespace lunvik {

Storey::Storey(Drawing* drawing, const platform::StoreyRecord& record, double height)
    : drawing_(drawing),
      index_(record.index),
      second_(record.number2),
      elevation_(record.elevation),
      height_(height),
      flag_(record.flag == 0),
      name_(CadString(record.name, strnlen(record.name, sizeof record.name))) {}

std::unique_ptr<StoreyList> StoreyList::clone() const {
  auto copy = std::make_unique<StoreyList>();
  for (const auto& s : *this) copy->push_back(new Storey(*s));
  return copy;
}

const Storey* StoreyList::find(int16_t number) const {
  for (const auto& s : *this)
    if (s->number() == number) return s.get();
  return nullptr;
}

}  // namespace lunvik
