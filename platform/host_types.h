// Basic types shared by the add-on and the host: result codes, four-character codes, handles.
#pragma once

#include <cstdint>

namespace platform {

// A host result: 0 for success.
using GSErr = int32_t;

// The token the host passes to EntryInitialise; every host operation takes it first.
using HostToken = int32_t;

// A relocatable memory block of the host's root library: a pointer to the block's pointer.
using GSHandle = char**;
using GSPtr = char*;

// A four-character code: the first letter is the high byte.
constexpr uint32_t fourcc(const char (&s)[5]) {
  return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
         (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

// Result codes the add-on and the host agree on.
enum : GSErr {
  kNoError = 0,
  kErrNoTable = int32_t(0x81060001u),      // an entry point was called before the table arrived
  kErrNullArgument = int32_t(0x81060068u), // a required argument was null
  kErrMissingOperation = int32_t(0x81060387u), // the table holds no such operation
  kErrNoProject = int32_t(0x810600CBu),    // no project is open
  kErrCancelled = int32_t(0x81060003u),    // the user cancelled
  kErrGeneral = int32_t(0x81060002u),      // any other failure of a host operation
  kErrBadIndex = int32_t(0x81060004u),     // no such item, element or resource
  kErrBadParameter = int32_t(0x81060005u), // an argument is out of its range
  kErrFile = int32_t(0x81060006u),         // a file or folder could not be read or written
  kErrMemory = int32_t(0x81060007u),       // memory could not be had
};

}  // namespace platform
