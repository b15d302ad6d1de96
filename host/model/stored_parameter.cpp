#include "host/model/stored_parameter.h"

#include <cstring>

#include "platform/library_records.h"
#include "platform/parameter_records.h"

namespace standin {

StoredParameter storedParameter(const PartParameter& p, int16_t index) {
  StoredParameter sp;
  sp.record.typeID = p.typeID;
  sp.record.index = index;
  sp.record.flags = p.flags;
  std::strncpy(sp.record.name, p.name.c_str(), sizeof sp.record.name - 1);
  if (p.isArray) {
    sp.record.shape = platform::kShapeArray;
    sp.record.dim1 = p.rows;
    sp.record.dim2 = p.columns;
    sp.numbers = p.numbers;
    sp.texts = p.texts;
  } else if (p.typeID == platform::kParamString) {
    platform::toWide(p.texts.empty() ? "" : p.texts[0].c_str(), sp.record.value.text, 256);
  } else {
    sp.record.value.real = p.numbers.empty() ? 0.0 : p.numbers[0];
  }
  return sp;
}

PartParameter partParameter(const StoredParameter& stored) {
  const platform::HostParameterRecord& r = stored.record;
  PartParameter p;
  p.name = std::string(r.name, strnlen(r.name, sizeof r.name));
  p.typeID = r.typeID;
  p.flags = r.flags;
  if (r.shape == platform::kShapeArray) {
    p.isArray = true;
    p.rows = r.dim1 > 0 ? r.dim1 : 1;
    p.columns = r.dim2 > 0 ? r.dim2 : 1;
    p.numbers = stored.numbers;
    p.texts = stored.texts;
  } else if (r.typeID == platform::kParamString) {
    std::string text;
    for (std::size_t i = 0; i < 256 && r.value.text[i]; ++i) text += r.value.text[i] < 256 ? char(r.value.text[i]) : '?';
    p.texts.push_back(text);
  } else {
    p.numbers.push_back(r.value.real);
  }
  return p;
}

}  // namespace standin
