// A list of GDL parameters, looked up by name with letter case ignored.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/host_types.h"
#include "runtime/cad_string.h"

namespace lunvik {

// The parameters read from a handle of host parameter records.
class ParameterList {
 public:
  virtual ~ParameterList() = default;

  // Reads the records of handle (a block of platform::HostParameterRecord); false when the
  // handle is null or not a whole number of records (the list is then left unchanged).
  bool readHandle(platform::GSHandle handle);
  // The number of parameters.
  std::size_t parameterCount() const { return entries_.size(); }
  // The scalar number of the first parameter called name; false when there is none.
  bool number(const CadString& name, double& value) const;
  // The scalar text of the first parameter called name; false when there is none.
  bool text(const CadString& name, CadString& value) const;

 private:
  struct Entry {
    CadString name;
    int32_t type = 0;
    double number = 0;
    CadString text;
  };
  const Entry* find(const CadString& name) const;

  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::size_t> index_;  // lower-case name -> first entry
};

}  // namespace lunvik
