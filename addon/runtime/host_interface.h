// The add-on's copy of the host function table and the host token, and the calls through it.
#pragma once

#include <utility>

#include "platform/host_table.h"

namespace lunvik {

// The imported host table. Every host operation the add-on makes goes through here.
class HostInterface {
 public:
  // Copies the host's table and records its arrival.
  void setTable(const platform::HostFunctionTable& table);
  // Forgets the table (the add-on is unloaded).
  void resetTable();
  // True once SetImportedFuncAddrs has handed over a table.
  bool hasTable() const { return arrived_; }
  const platform::HostFunctionTable& table() const { return table_; }

  platform::HostToken token() const { return token_; }
  void setToken(platform::HostToken token) { token_ = token; }

  // Calls a host operation that takes the token first: kErrNoTable before the table arrived,
  // kErrMissingOperation when the slot is empty (nothing is called).
  template <typename... P, typename... A>
  platform::GSErr call(platform::GSErr (*platform::HostFunctionTable::*op)(platform::HostToken, P...),
                       A&&... args) const {
    if (!arrived_) return platform::kErrNoTable;
    auto fn = table_.*op;
    if (!fn) return platform::kErrMissingOperation;
    return fn(token_, std::forward<A>(args)...);
  }

  // The operation in a slot of the root, dialog or file libraries, or null when missing.
  template <typename F>
  F operation(F platform::HostFunctionTable::*op) const {
    return arrived_ ? table_.*op : nullptr;
  }

 private:
  platform::HostFunctionTable table_{};
  platform::HostToken token_ = 0;
  bool arrived_ = false;
};

// The process's host interface (part of the environment).
HostInterface& host();

}  // namespace lunvik
