// Module data of earlier versions: a binary header over one text table per package.
//
// Layout: bytes 0-1 the byte order ("II" little-endian, "MM" big-endian), byte 2 unused,
// byte 3 the number of packages n, bytes 4-7 a time, bytes 8-11 the total length, then n
// entries of a 32-bit package code and a 32-bit length, then the packages' blocks in entry
// order. Each block: 32-bit version (1), 32-bit time, 32-bit length (the block's, at least
// 13), then a tab-separated table with CR LF record ends whose header names the fields by
// their legacy keys.
#pragma once

#include <cstddef>
#include <cstdint>

#include "storage/package.h"

namespace lunvik {

// True when data starts with a legacy byte-order mark.
bool isLegacyModuleData(const char* data, std::size_t size);

// Reads a legacy block into the packages of list; blocks of unknown codes are passed over.
// time receives the block's time. False when the header or an entry runs past the data or the
// total length, or when a package's block does not read (a record wider than its table's
// header, a value that does not read); list's reading() then names that package.
bool importLegacyModuleData(const char* data, std::size_t size, PackageList& list, uint32_t& time);

}  // namespace lunvik
