#include "host/core/fault_table.h"

#include <cstring>
#include <type_traits>

namespace standin {

namespace {

platform::HostFunctionTable gInner{};
FaultPlan* gPlan = nullptr;

// Name::get() answers the operation's name.
template <typename F, F platform::HostFunctionTable::*M, typename Name>
struct Trampoline;

template <typename R, typename... A, R (*platform::HostFunctionTable::*M)(A...), typename Name>
struct Trampoline<R (*)(A...), M, Name> {
  static R call(A... args) {
    if constexpr (std::is_same_v<R, platform::GSErr>) {
      if (gPlan && (!gPlan->only || std::strcmp(gPlan->only, Name::get()) == 0) && ++gPlan->calls == gPlan->failAt) {
        gPlan->fired = true;
        gPlan->operation = Name::get();
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
#define WRAP_OPERATION(name, ret, params)                                                                \
  {                                                                                                     \
    struct Name {                                                                                       \
      static const char* get() { return #name; }                                                        \
    };                                                                                                  \
    table.name =                                                                                        \
        inner.name ? &Trampoline<decltype(table.name), &platform::HostFunctionTable::name, Name>::call : nullptr; \
  }
  HOST_OPERATIONS(WRAP_OPERATION)
#undef WRAP_OPERATION
  return table;
}

}  // namespace standin
