// The scripts of an upgraded library part: the blob blocks the upgrade wraps around an object's
// own GDL, and the rewriting of the object's 3D code so that its end jumps back to the blob
// code instead of ending the script.
#pragma once

#include <string>

#include "runtime/cad_string.h"

namespace varnholt {

// The marker lines of a blob block.
extern const char* const kBlobStart;
extern const char* const kBlobEnd;

// The first blob block of a script, from its start marker to the line end after its end
// marker; empty when the script has none.
lunvik::CadString firstBlobBlock(const lunvik::CadString& script);
// The script without its first blob block (and the line end after it).
lunvik::CadString withoutFirstBlobBlock(const lunvik::CadString& script);
// The script without any blob block.
lunvik::CadString withoutBlobBlocks(const lunvik::CadString& script);
// The block of the lines between a script's first blob block's markers (the text of the first
// non-blank line of a comment's block names the part an upgraded part was saved from).
lunvik::CadString blobBlockLine(const lunvik::CadString& script);
// True when the script holds nothing but spaces, tabs, CR and LF.
bool blankScript(const lunvik::CadString& script);
// The object's own 3D code rewritten line by line, in the part of each line before its first
// '!' and ignoring letter case: the words "end" and "exit" become "goto 0", "ntr()" becomes
// "ntr() - lunvikNtr" (not again where it is so already) and the word "top" becomes
// "ntr() - lunvikNtr". A word stands alone between the line's start or white space and white
// space or the end of the code; "ntr()" and "top" need only white space or the line's start
// before them, and "top" no letter, digit or '_' after it.
lunvik::CadString rewriteObjectCode(const lunvik::CadString& code);
// The block that ends an upgraded 3D script: it jumps back to the blob code's label.
lunvik::CadString blobEpilogue();

}  // namespace varnholt
