// Records passed between the add-on and the host at the entry points and through the
// registration, handler and step operations of the function table.
//
// Field order and widths follow the host's records. Where a record holds a pointer, the
// pointer takes the width of this build (8 bytes on 64-bit), so such records are larger
// than their 32-bit layout; the order of the fields is unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/host_types.h"

namespace platform {

// ---- Entry points ---------------------------------------------------------------------

// The environment record filled by EntryCheckEnvironment.
struct EnvironmentRecord {
  int32_t application;    // the host application; 0 means none
  char name[256];         // the add-on's name, zero-terminated
  char description[1024]; // the add-on's description, zero-terminated
};

// Answers of EntryCheckEnvironment.
enum : GSErr {
  kEnvDontRegister = 0, // the add-on does not want to be loaded
  kEnvNoHost = 1,       // the record named no host application
  kEnvRegister = 2,     // every part of the add-on accepted the environment
};

using EntryCheckEnvironmentFn = GSErr (*)(EnvironmentRecord* record);
using EntryRegisterInterfaceFn = GSErr (*)();
using EntryInitialiseFn = GSErr (*)(HostToken token);
using EntryReleaseFn = GSErr (*)();

// The record GetExportedFuncAddrs fills: 60 bytes on a 32-bit build.
struct ExportedFuncRecord {
  uint32_t signature;                  // 0x000E0001
  EntryCheckEnvironmentFn checkEnvironment;
  EntryRegisterInterfaceFn registerInterface;
  EntryInitialiseFn initialise;
  EntryReleaseFn release;
  uint32_t version;                    // 14000
  uint8_t reserved[36];
};

constexpr uint32_t kExportSignature = 0x000E0001u;
constexpr uint32_t kExportVersion = 14000u;

// ---- Registration ---------------------------------------------------------------------

// A file type the add-on registers; the host offers it in its save and open dialogs.
struct FileTypeRecord {
  int32_t refCon;         // the add-on's own number for the type; handed back on every action
  uint32_t fileType;      // four-character file type
  uint32_t creator;       // four-character creator
  char extension[16];     // file name extension without the dot
  char description[128];  // the text the host shows for the type
  int32_t methods;        // kFileTypeSave, kFileTypeOpen, or both
};

// kFileTypeExport: an extra format the host offers in its own save dialog, written by the
// add-on's handler instead of the host.
enum : int32_t { kFileTypeSave = 1, kFileTypeOpen = 2, kFileTypeExport = 8 };

// ---- Handlers -------------------------------------------------------------------------

// Actions reported to a file-type handler.
enum : int32_t { kFileActionSave = 1, kFileActionOpen = 2 };

// What the host hands a file-type handler.
struct FileTypeActionRecord {
  int32_t action;         // kFileActionSave or kFileActionOpen
  int32_t refCon;         // the registered type's refCon
  const char* path;       // the file's location, a full path (UTF-8)
  const char* name;       // the file's name, or null
  int32_t param1;         // not used by the host; 0
  int32_t param2;         // not used by the host; 0
};

// What the host hands an element observer.
struct ElementNotifyRecord {
  int32_t code;           // -1 data begin, -2 data end, 1 new, 2 copy, 3 change, 4 edit
  int32_t typeID;         // element kind; 0 for begin/end
  int32_t index;          // host index of the element; 0 for begin/end
  char guid[40];          // element GUID as text, zero-terminated; empty for begin/end
  int32_t param;          // for an edit, the host's edit kind; else 0
};

// The command result record the host passes to a command handler.
struct CommandResultRecord {
  GSErr error;            // the handler's result
  void* context;          // a pointer the handler hands back ('GSUP': the project context)
  int32_t value;          // a number the handler hands back
};

using MenuHandlerFn = GSErr (*)(int16_t menuList, int32_t itemIndex);
using CommandHandlerFn = GSErr (*)(GSHandle parameters, CommandResultRecord* result, bool silent);
using ProjectHandlerFn = GSErr (*)(int32_t code, int32_t param);
using ModuleDataMergeHandlerFn = GSErr (*)(int32_t mode, const char* moduleName, GSHandle projectData,
                                           GSHandle dataToMerge, GSHandle* destination);
using ElementObserverFn = GSErr (*)(const ElementNotifyRecord* record);
using FileTypeHandlerFn = GSErr (*)(const FileTypeActionRecord* record);

// Project notification codes (the mask bits of HostCatchProjectEvents).
enum : int32_t {
  kProjectNew = 1,
  kProjectNewAndReset = 2,
  kProjectOpen = 4,
  kProjectPreSave = 8,
  kProjectSave = 16,
  kProjectClose = 32,
  kProjectQuit = 64,
};

// ---- Module data ----------------------------------------------------------------------

// The add-on's data stored inside the project.
struct ModuleDataRecord {
  int32_t dataVersion;    // 1
  uint16_t platform;      // 0x5757
  GSHandle dataHdl;       // the data; owned by whoever the operation says
  char moduleName[64];    // empty: the add-on's own module data
};

// ---- Menus ----------------------------------------------------------------------------

// Menu-item flag bits read with 'GMIF' and written with 'SMIF'.
enum : int32_t {
  kMenuItemDisabled = 1,  // the item is greyed
  kMenuItemChecked = 2,   // the item shows a check mark
};

// A menu item's address: its menu string list and 1-based item index (separators counted).
struct MenuItemRef {
  int16_t menuList;
  int32_t itemIndex;
};

// ---- Alerts ---------------------------------------------------------------------------

// Alert icon kinds.
enum : int32_t { kAlertError = -1, kAlertWarning = -2, kAlertNotify = -3 };

// ---- Special folders ------------------------------------------------------------------

// Folders the host names with 'GSPF'.
enum : int32_t {
  kHostFolderApplication = 7, // the folder holding the host's "Add-Ons" folder
  kHostFolderUserData = 5,    // the host's own per-user settings folder
};

// The user's application-data folder (the system's special folder of that number).
constexpr int32_t kSystemFolderAppData = 26;

}  // namespace platform
