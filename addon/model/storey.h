// The plan's storeys, loaded on demand from the host.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/element_records.h"
#include "runtime/cad_string.h"
#include "runtime/containers.h"

namespace lunvik {

class Drawing;

// One storey of the plan.
class Storey {
 public:
  Storey(Drawing* drawing, const platform::StoreyRecord& record, double height);
  Drawing* drawing() const { return drawing_; }
  // The storey number.
  int16_t number() const { return index_; }
  int16_t secondNumber() const { return second_; }
  double elevation() const { return elevation_; }
  // The next storey's elevation minus this one's; 2.5 for the top storey.
  double height() const { return height_; }
  // The negation of the host record's flag byte.
  bool flag() const { return flag_; }
  const CadString& name() const { return name_; }

 private:
  Drawing* drawing_;
  int16_t index_;
  int16_t second_;
  double elevation_;
  double height_;
  bool flag_;
  CadString name_;
};

// The storeys in the host's order.
class StoreyList : public List<Storey> {
 public:
  std::unique_ptr<StoreyList> clone() const;
  // The storey of that number, or null.
  const Storey* find(int16_t number) const;
};

}  // namespace lunvik
