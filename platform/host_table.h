// The function table the host hands the add-on with SetImportedFuncAddrs.
//
// The table is 432 pointers. Each operation has a fixed slot; the operations are listed
// once, in HOST_OPERATIONS below, and both the table and any wrapper table (tests use one to
// make the k-th call fail) are generated from that list. A slot the host leaves null is an
// operation the host does not offer: the add-on answers kErrMissingOperation and calls
// nothing.
//
// Dispatcher codes (HostDatabase, HostEnvironment, HostInterface, HostGoodies, HostAutomate
// take a four-character code and up to three parameters):
//   HostInterface 'GMIF' (MenuItemRef*, int32_t* flags)       reads an item's flag bits
//   HostInterface 'SMIF' (MenuItemRef*, const int32_t* flags) writes an item's flag bits
//   HostInterface 'SMIT' (MenuItemRef*, const char* text)     sets an item's text
//   HostEnvironment 'GSPF' (const int32_t* kind, char* path, const int32_t* size)
//                                      a host folder (host_records.h), full path, no
//                                      trailing separator
//   HostEnvironment 'ISSG' (int32_t* suspended)              the group-suspension state
//   HostEnvironment 'GWUN' (int32_t* units)                  the project's working length
//                                      unit: 0 metres, 1 centimetres, 2 millimetres (the
//                                      metric units), 3 feet and fractional inches, 4 feet
//                                      and decimal inches, 5 decimal feet, 6 fractional
//                                      inches, 7 decimal inches
//   HostEnvironment 'GLIB' (int32_t* count, GSHandle* folders, int32_t* defaultIndex)
//                                      the loaded library folders: a new handle holding their
//                                      full paths, each zero-terminated, one after another;
//                                      the default folder's position or -1
//   HostEnvironment 'ALIB' (const char* folder)              adds a folder to the libraries
//   HostInterface 'RBPL' ()                                  rebuilds the plan's drawing
//   HostInterface 'MDNR' (const char* package)               the open project's module data
//                                      did not read (package: the tag of the package that
//                                      did not, or empty); the host keeps a save from
//                                      replacing it unasked
//   HostInterface 'IPOI' 'ILIN' 'IARC' 'IPOL' (request record)
//                                      asks the user for a point, the end of a line, the end
//                                      of an arc, a polygon (input_records.h)
//   HostInterface 'DRLI' (const Coord3D* from, const Coord3D* to)
//                                      draws one rubber line while an input request waits
// The codes of the databases ('GDAT', 'CDAT', ...) are in model_operations.h.
// Later parts of the table add their codes beside the operations that take them.
//
// Paths are UTF-8 text; the host's file library takes both '/' and '\' as folder separators.
#pragma once

#include <cstdint>

#include "platform/body_operations.h"
#include "platform/dialog_operations.h"
#include "platform/host_records.h"
#include "platform/host_types.h"
#include "platform/library_operations.h"
#include "platform/library_records.h"
#include "platform/model_operations.h"
#include "platform/resource_module.h"

namespace platform {

// X(name, return type, parameter list). The table holds the core operations below, then those
// of the model (databases, elements, memos), of the dialog manager, of the library and of the
// 3D model, each listed in its own header.
#define HOST_OPERATIONS(X)                                                                  \
  HOST_CORE_OPERATIONS(X) HOST_MODEL_OPERATIONS(X) HOST_DIALOG_OPERATIONS(X)                \
  HOST_LIBRARY_OPERATIONS(X) HOST_BODY_OPERATIONS(X)

#define HOST_CORE_OPERATIONS(X)                                                                 \
  /* ---- registration (EntryRegisterInterface) ---- */                                       \
  X(HostRegisterBuiltInLibrary, GSErr, (HostToken token))                                      \
  X(HostRegisterSubtypeTool, GSErr,                                                            \
    (HostToken token, uint32_t signature, int32_t templateResource, int32_t transparent,       \
     int32_t stringList, int32_t icon, int32_t icon2, int32_t toolboxGroup,                    \
     int32_t enableFlags, int32_t defaultsResource))                                           \
  X(HostRegisterMenu, GSErr,                                                                   \
    (HostToken token, int16_t menuList, int16_t promptList, int32_t position, int32_t flags))  \
  X(HostRegisterCommand, GSErr, (HostToken token, uint32_t code, int32_t version))             \
  X(HostRegisterFileType, GSErr, (HostToken token, const FileTypeRecord* record))              \
  /* ---- handlers (EntryInitialise) ---- */                                                   \
  X(HostInstallMenuHandler, GSErr, (HostToken token, int16_t menuList, MenuHandlerFn handler)) \
  X(HostInstallCommandHandler, GSErr,                                                          \
    (HostToken token, uint32_t code, int32_t version, CommandHandlerFn handler))               \
  X(HostInstallFileTypeHandler, GSErr,                                                         \
    (HostToken token, int32_t refCon, FileTypeHandlerFn handler))                              \
  X(HostInstallModuleDataMergeHandler, GSErr,                                                  \
    (HostToken token, ModuleDataMergeHandlerFn handler))                                       \
  X(HostCatchProjectEvents, GSErr, (HostToken token, int32_t mask, ProjectHandlerFn handler))  \
  X(HostCatchNewElement, GSErr, (HostToken token, int32_t typeID, int32_t variation, bool on)) \
  X(HostInstallElementObserver, GSErr, (HostToken token, ElementObserverFn handler))           \
  /* ---- steps ---- */                                                                       \
  X(HostKeepInMemory, GSErr, (HostToken token, bool keep))                                     \
  X(HostOpenUndoStep, GSErr, (HostToken token, const char* name))                              \
  X(HostCloseUndoStep, GSErr, (HostToken token))                                               \
  /* ---- project data ---- */                                                                \
  X(HostStoreModuleData, GSErr, (HostToken token, const ModuleDataRecord* record))             \
  X(HostGetModuleData, GSErr, (HostToken token, ModuleDataRecord* record))                     \
  /* ---- dispatchers ---- */                                                                 \
  X(HostDatabase, GSErr, (HostToken token, uint32_t code, void* p1, void* p2, void* p3))       \
  X(HostEnvironment, GSErr, (HostToken token, uint32_t code, void* p1, void* p2, void* p3))    \
  X(HostInterface, GSErr, (HostToken token, uint32_t code, void* p1, void* p2, void* p3))      \
  X(HostGoodies, GSErr, (HostToken token, uint32_t code, void* p1, void* p2, void* p3))        \
  X(HostAutomate, GSErr, (HostToken token, uint32_t code, void* p1, void* p2, void* p3))       \
  /* ---- library parts: a search goes by the record's name and type (0 any) ---- */         \
  X(HostSearchLibraryPart, GSErr, (HostToken token, LibraryPartRecord* record))               \
  X(HostGetLibraryPart, GSErr, (HostToken token, LibraryPartRecord* record))                  \
  X(HostGetLibraryPartCount, GSErr, (HostToken token, int32_t* count))                        \
  /* ---- element tools: 'SUSP' toggles group suspension; elements may be null ---- */       \
  X(HostElementTool, GSErr,                                                                    \
    (HostToken token, const void* elements, int32_t count, uint32_t code))                     \
  /* ---- root library: memory ---- */                                                        \
  X(MemInit, GSErr, (int32_t blockSize))                                                       \
  X(MemExit, void, ())                                                                         \
  X(MemNewHandle, GSHandle, (int64_t size))                                                    \
  X(MemDisposeHandle, void, (GSHandle handle))                                                 \
  X(MemGetHandleSize, int64_t, (GSHandle handle))                                              \
  X(MemSetHandleSize, GSErr, (GSHandle handle, int64_t size))                                  \
  /* ---- root library: characters and time ---- */                                           \
  /* caseType 1: letter case ignored; charCode 0: the system code page. Answers <0, 0, >0. */ \
  X(CHCompareTexts, int32_t,                                                                   \
    (const char* a, const char* b, int32_t caseType, int32_t charCode))                        \
  /* mode 1 upper case, 2 lower case; in place */                                             \
  X(CHTransformCase, void, (char* text, int32_t mode))                                         \
  /* the byte length of the character starting at text (0 at the terminator) */              \
  X(CHCharBytes, int32_t, (const char* text))                                                  \
  X(TMGetTime, uint32_t, ())                                                                   \
  /* ---- root library: resources of the current resource module ---- */                      \
  /* tells the host which module is the add-on's own (when the framework starts) */           \
  X(RSOwnResourceModule, void, (const ResourceModule* module))                                 \
  /* makes module current; answers the previous one */                                        \
  X(RSSetResourceModule, const ResourceModule*, (const ResourceModule* module))                \
  /* copies item index of a string list into buffer; answers false when there is none */      \
  X(RSGetIndString, bool, (int32_t listId, int32_t index, char* buffer, int32_t size))         \
  /* a new handle with a copy of the resource, or null */                                     \
  X(RSLoadResource, GSHandle, (uint32_t type, int32_t id))                                     \
  /* ---- dialog manager ---- */                                                              \
  /* answers the 1-based button chosen */                                                     \
  X(DGAlert, int32_t,                                                                          \
    (int32_t kind, const char* title, const char* text, const char* button1,                   \
     const char* button2, const char* button3))                                                \
  /* ---- system ---- */                                                                      \
  X(SysGetSpecialFolder, GSErr, (int32_t kind, char* path, int32_t size))                      \
  /* ---- file library ---- */                                                                \
  /* mode: 1 read, 2 write (created or truncated), 3 append */                                \
  X(IOOpenFile, GSErr, (const char* path, int32_t mode, int32_t* file))                        \
  X(IOReadFile, GSErr, (int32_t file, void* buffer, int64_t size, int64_t* read))              \
  X(IOWriteFile, GSErr, (int32_t file, const void* data, int64_t size))                        \
  X(IOCloseFile, GSErr, (int32_t file))                                                        \
  X(IODeleteFile, GSErr, (const char* path))                                                   \
  X(IOFileSize, GSErr, (const char* path, int64_t* size))                                      \
  /* kind: 0 none, 1 file, 2 folder */                                                        \
  X(IOPathKind, int32_t, (const char* path))                                                   \
  X(IOCreateFolder, GSErr, (const char* path))                                                 \
  X(IOSetFileType, GSErr, (const char* path, uint32_t type, uint32_t creator))                 \
  /* renames or moves a file or folder to a new path; refused (kErrFile) when something is */ \
  /* there already or the new path lies inside the folder moved                            */ \
  X(IOMoveFile, GSErr, (const char* from, const char* to))                                     \
  /* puts the complete file source in place of target in one step (source lies in target's  */ \
  /* folder); target, when something is there, must be a regular file that may be written,  */ \
  /* through links the file they lead to; the new file keeps target's permissions and takes */ \
  /* source's host file type; on failure both stay as they were (kErrFile)                  */ \
  X(IOReplaceFile, GSErr, (const char* source, const char* target))

#define HOST_OPERATION_FIELD(name, ret, params) ret(*name) params;
#define HOST_OPERATION_COUNT_ONE(name, ret, params) +1

constexpr int kHostTableSize = 432;
constexpr int kHostOperationCount = 0 HOST_OPERATIONS(HOST_OPERATION_COUNT_ONE);

// The host function table.
struct HostFunctionTable {
  HOST_OPERATIONS(HOST_OPERATION_FIELD)
  void* reserved[kHostTableSize - kHostOperationCount];
};

static_assert(sizeof(HostFunctionTable) == kHostTableSize * sizeof(void*),
              "the host table is 432 pointers");

// The two exports of the add-on library.
extern "C" {
using GetExportedFuncAddrsFn = GSErr (*)(ExportedFuncRecord* record);
using SetImportedFuncAddrsFn = GSErr (*)(const HostFunctionTable* table);
}

}  // namespace platform
