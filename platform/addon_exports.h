// The add-on library's two exports, for programs that link the add-on instead of loading it.
#pragma once

#include "platform/host_table.h"

extern "C" {
platform::GSErr GetExportedFuncAddrs(platform::ExportedFuncRecord* record);
platform::GSErr SetImportedFuncAddrs(const platform::HostFunctionTable* table);
}
