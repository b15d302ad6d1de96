// The stand-in host's library-part operations (platform/library_operations.h) and the library
// codes of its dispatchers.
#pragma once

#include <vector>

#include "host/library/library_index.h"
#include "host/library/part_file.h"
#include "platform/resource_module.h"
#include "platform/host_table.h"

namespace standin {

class Host;
class MemoryManager;

// Fills the library's slots of the host table.
void installLibraryOperations(platform::HostFunctionTable& table);
// Fills a library-part record from loaded part index (a new location handle included).
platform::GSErr fillPartRecord(Host& host, int32_t index, platform::LibraryPartRecord* record);
// HostSearchLibraryPart: by the record's name, or by its own identifier when it has no name.
platform::GSErr searchPart(Host& host, platform::LibraryPartRecord* record);
// The library codes of HostGoodies ('CLPS', 'GLUI', 'CMPI'); kErrBadParameter for others.
platform::GSErr libraryGoodies(Host& host, uint32_t code, void* p1, void* p2, void* p3);
// The library codes of HostEnvironment ('OWLP'); kErrBadParameter for others.
platform::GSErr libraryEnvironment(Host& host, uint32_t code, void* p1, void* p2, void* p3);

// The parts of the built-in library a resource module lists (platform::kResourceBuiltInLibrary):
// each listed file resource's text, without its length prefix. Lines that do not read and
// resources that are missing are left out.
std::vector<BuiltInFile> builtInFiles(const platform::ResourceModule* module);

// A new handle of host parameter records for parameters (array values in new handles), or
// null when memory runs out.
platform::GSHandle parameterRecords(MemoryManager& memory, const std::vector<PartParameter>& parameters);
// Reads a handle of host parameter records; false when it is not a whole number of records or
// a record does not convert (parameters unchanged).
bool readParameterRecords(MemoryManager& memory, platform::GSHandle handle, std::vector<PartParameter>& parameters);
// Frees a handle of parameter records with the array handles it holds.
void disposeParameterRecords(MemoryManager& memory, platform::GSHandle handle);

}  // namespace standin
