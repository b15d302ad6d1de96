// A wrapper table that makes the k-th host operation fail, for robustness tests.
#pragma once

#include <cstdint>

#include "platform/host_table.h"

namespace standin {

// Which call fails: the k-th call (1-based) of an operation that answers a result code, or
// of one operation only. failAt may be moved while the table is in use (calls + 1: the next).
struct FaultPlan {
  int failAt = 0;                            // 0: nothing fails
  platform::GSErr code = platform::kErrGeneral;
  const char* only = nullptr;                // an operation's name ("IOWriteFile"): count its calls only
  int calls = 0;                             // result-code calls seen so far (of only's operation)
  bool fired = false;                        // the failure was injected
  const char* operation = nullptr;           // the operation that was made to fail
};

// A table whose operations call inner's, except that the planned call answers plan.code
// without calling inner. Operations missing from inner stay missing. One wrapped table is
// active at a time.
platform::HostFunctionTable faultyTable(const platform::HostFunctionTable& inner, FaultPlan& plan);

}  // namespace standin
