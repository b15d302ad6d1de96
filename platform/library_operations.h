// The host operations of the loaded libraries: library-part parameters, sections, details,
// creating and saving parts. Part of the host function table (host_table.h); the search,
// record and count operations are in the core list.
//
// Dispatcher codes of the library:
//   HostGoodies 'CLPS' (const char* ownId, const char* subtypeId, int32_t* descends)
//                                      1 when the part of ownId is the subtype or descends
//                                      from it through the parents of the loaded parts
//   HostGoodies 'GLUI' (const int32_t* resourceId, char* idText[128])
//                                      the own identifier of the library part embedded in the
//                                      current resource module (type kResourceLibraryPart, else
//                                      a file resource of that id holding the part's text)
//   HostGoodies 'CMPI' (GSHandle data, const char* mimeType, GSHandle* image)
//                                      a new handle with the preview data as an image of that
//                                      type ("image/png": the data must be PNG already)
//   HostEnvironment 'OWLP' (const int32_t* on) the library-part overwrite permission: while on,
//                                      creating a part over an existing file replaces it
#pragma once

#include <cstdint>

#include "platform/host_types.h"
#include "platform/library_records.h"

namespace platform {

// X(name, return type, parameter list), as in host_table.h.
#define HOST_LIBRARY_OPERATIONS(X)                                                               \
  /* the part's default parameters as a new handle of HostParameterRecords, and its A and B */ \
  X(HostGetLibraryPartParameters, GSErr,                                                        \
    (HostToken token, int32_t index, double* sizeA, double* sizeB, GSHandle* parameters))       \
  /* the part's 3200-byte details record */                                                    \
  X(HostGetLibraryPartDetails, GSErr, (HostToken token, int32_t index, LibraryPartDetails* details)) \
  /* the part's sections: a count and a new handle of LibraryPartSectionHeaders ('PARD' first) */ \
  X(HostGetLibraryPartSectionList, GSErr,                                                       \
    (HostToken token, int32_t index, int32_t* count, GSHandle* headers))                        \
  /* a new handle with one section's data; kErrSectionNoData for a section without data */    \
  X(HostGetLibraryPartSection, GSErr,                                                           \
    (HostToken token, int32_t index, const LibraryPartSectionHeader* header, GSHandle* data))   \
  /* converts parameter records (HostParameterRecords) and A, B into 'PARD' section data */    \
  X(HostGetLibraryPartSectionParameters, GSErr,                                                 \
    (HostToken token, GSHandle parameters, double sizeA, double sizeB, GSHandle* section))      \
  /* checks and completes 'PARD' section data before it is written (details may be null) */    \
  X(HostEndLibraryPartSection, GSErr,                                                           \
    (HostToken token, const LibraryPartRecord* record, GSHandle section,                       \
     const LibraryPartDetails* details))                                                        \
  /* replaces (or adds) one section of an existing part and rewrites the part's file */        \
  X(HostAddLibraryPartSection, GSErr,                                                           \
    (HostToken token, int32_t index, const LibraryPartSectionHeader* header, GSHandle data))    \
  /* starts a new part from the record (name, type, identifiers, flags, location = the new    \
     file's path); refused when the file exists and the overwrite permission is off */       \
  X(HostCreateLibraryPart, GSErr, (HostToken token, const LibraryPartRecord* record))          \
  /* writes one section into the part being created */                                         \
  X(HostWriteLibraryPartSection, GSErr,                                                         \
    (HostToken token, const LibraryPartSectionHeader* header, GSHandle data))                  \
  /* writes the part being created to its file and loads it; fills the record (new index,     \
     identifiers, value at 1040, a new location handle the caller disposes of) */            \
  X(HostSaveLibraryPart, GSErr, (HostToken token, LibraryPartRecord* record))

}  // namespace platform
