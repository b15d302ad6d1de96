#include "host/core/fault_table.h"

#include <type_traits>

namespace standin {

namespace {

platform::HostFunctionTable gInner{};
FaultPlan* gPlan = nullptr;

template <typename F, F platform::HostFunctionTable::*M>
struct Trampoline;

template <typename R, typename... A, R (*platform::HostFunctionTable::*M)(A...)>
struct Trampoline<R (*)(A...), M> {
  static R call(A... args) {
    if constexpr (std::is_same_v<R, platform::GSErr>) {
      if (gPlan && ++gPlan->calls == gPlan->failAt) {
        gPlan->fired = true;
        return gPlan->code;
      }
    }
    return (gInner.*M)(args...);
  }
};

}  // namespace

platform::HostFunctionTable faultyTable(const platform::HostFunctionTable& inner, FaultPlan& plan) {
  gInner = inner;
  gPlan = &plan;
  platform::HostFunctionTable table{};
#define WRAP_OPERATION(name, ret, params) \
  table.name = inner.name ? &Trampoline<decltype(table.name), &platform::HostFunctionTable::name>::call : nullptr;
  HOST_OPERATIONS(WRAP_OPERATION)
#undef WRAP_OPERATION
  return table;
}

}  // namespace standin
