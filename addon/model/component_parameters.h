// The parameters of a library part with their defaults, as a source holds them: read from
// and written to handles of host parameter records, looked up by name (letter case ignored).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/host_types.h"
#include "runtime/cad_string.h"

namespace lunvik {

// One parameter definition and its value(s).
struct ComponentParameter {
  CadString name;
  CadString description;
  int32_t typeID = 0;
  int32_t flags = 0;
  bool isArray = false;
  int32_t rows = 1;
  int32_t columns = 1;
  std::vector<double> numbers;    // every kind but strings, row by row
  std::vector<CadString> texts;   // strings

  bool isText() const;
};

// A part's parameters.
class ComponentParameters {
 public:
  // Replaces the list by the records of handle (platform::HostParameterRecord); false, list
  // unchanged, when a record does not convert. A null or empty handle gives an empty list.
  bool read(platform::GSHandle handle);
  // A new handle of host parameter records (arrays in new handles of their own), or null.
  platform::GSHandle write() const;
  // Frees a handle write() made, with its array handles.
  static void disposeRecords(platform::GSHandle handle);

  std::size_t count() const { return list_.size(); }
  // The position of the first parameter called name, or -1.
  long indexOf(const CadString& name) const;
  const ComponentParameter* parameter(const CadString& name) const;
  ComponentParameter* parameter(const CadString& name);
  const ComponentParameter* parameter(std::size_t position) const { return position < list_.size() ? &list_[position] : nullptr; }
  // The first number of a parameter; false when it is missing or a text.
  bool number(const CadString& name, double& value) const;
  // Sets the first number of a parameter; false when it is missing or a text.
  bool setNumber(const CadString& name, double value);
  // The first text of a string parameter; false when it is missing or not a text.
  bool text(const CadString& name, CadString& value) const;
  bool setText(const CadString& name, const CadString& value);
  // Appends a parameter.
  void add(ComponentParameter parameter);
  // Takes, for each parameter of this list, the values of source's parameter of the same name
  // when it has the same kind and columns (the first min(rows) rows); the result is that of
  // the last parameter tried (false when none was).
  bool merge(const ComponentParameters& source);
  void clear();

 private:
  void reindex();

  std::vector<ComponentParameter> list_;
  std::unordered_map<std::string, std::size_t> index_;  // lower-case name -> first position
};

}  // namespace lunvik
