// A wrapper table that makes the k-th host operation fail, for robustness tests.
#pragma once

#include <cstdint>

#include "platform/host_table.h"

namespace standin {

// Which call fails: the k-th call (1-based) of an operation that answers a result code.
struct FaultPlan {
  int failAt = 0;                            // 0: nothing fails
  platform::GSErr code = platform::kErrGeneral;
  int calls = 0;                             // result-code calls seen so far
  bool fired = false;                        // the failure was injected
};

// A table whose operations call inner's, except that the planned call answers plan.code
// without calling inner. Operations missing from inner stay missing. One wrapped table is
// active at a time.
platform::HostFunctionTable faultyTable(const platform::HostFunctionTable& inner, FaultPlan& plan);

}  // namespace standin
