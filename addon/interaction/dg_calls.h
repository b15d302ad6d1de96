// Calls of the host's dialog manager through the imported table; a missing operation answers
// the fallback and does nothing.
#pragma once

#include <utility>

#include "runtime/host_interface.h"

namespace lunvik {

// Calls a DG operation that answers a value; fallback when the table has none.
template <typename R, typename... P, typename... A>
R dgCall(R (*platform::HostFunctionTable::*op)(P...), R fallback, A&&... args) {
  auto fn = host().operation(op);
  return fn ? fn(std::forward<A>(args)...) : fallback;
}

// Calls a DG operation that answers nothing.
template <typename... P, typename... A>
void dgDo(void (*platform::HostFunctionTable::*op)(P...), A&&... args) {
  if (auto fn = host().operation(op)) fn(std::forward<A>(args)...);
}

}  // namespace lunvik
