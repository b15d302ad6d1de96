// The blob blocks of upgraded scripts and the rewriting of an object's own 3D code.
#include <gtest/gtest.h>

#include <string>

#include "profiles/blob_script.h"

namespace {

using lunvik::CadString;

struct Rewrite {
  const char* code;
  const char* expected;
};

class RewriteTable : public ::testing::TestWithParam<Rewrite> {};

TEST_P(RewriteTable, TheObjectsCodeJumpsBackInsteadOfEnding) {
  EXPECT_EQ(varnholt::rewriteObjectCode(CadString(GetParam().code)).str(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RewriteTable,
    ::testing::Values(Rewrite{"END", "goto 0"}, Rewrite{"  END ! the object ends here", "  goto 0 ! the object ends here"},
                      Rewrite{"IF a THEN END", "IF a THEN goto 0"}, Rewrite{"exit", "goto 0"},
                      Rewrite{"ENDIF", "ENDIF"}, Rewrite{"blend = 1", "blend = 1"}, Rewrite{"x=end", "x=end"},
                      Rewrite{"! end of the block", "! end of the block"},
                      Rewrite{"DEL TOP", "DEL ntr() - lunvikNtr"}, Rewrite{"del top ! all", "del ntr() - lunvikNtr ! all"},
                      Rewrite{"DEL NTR()", "DEL ntr() - lunvikNtr"},
                      // Already rewritten: left alone, so that upgrading again changes nothing.
                      Rewrite{"DEL ntr() - lunvikNtr", "DEL ntr() - lunvikNtr"},
                      // A name that starts with "top" is no "top".
                      Rewrite{"ADD topOffset, 0, 0", "ADD topOffset, 0, 0"}, Rewrite{"x=ntr()", "x=ntr()"},
                      Rewrite{"BLOCK A, B, ZZYZX\r\nEND\r\n", "BLOCK A, B, ZZYZX\r\ngoto 0\r\n"},
                      Rewrite{"a\nend\nb", "a\ngoto 0\nb"}));

TEST(BlobBlocks, TheFirstBlockIsTakenWithItsLineEndAndTheOthersStay) {
  const CadString script("head\r\n!LUNVIK_BLOB_START\r\nx = 1\r\n!LUNVIK_BLOB_END\r\nmiddle\n!LUNVIK_BLOB_START\ngoto 0\n"
                         "!LUNVIK_BLOB_END\ntail");
  EXPECT_EQ(varnholt::firstBlobBlock(script).str(), "!LUNVIK_BLOB_START\r\nx = 1\r\n!LUNVIK_BLOB_END\r\n");
  EXPECT_EQ(varnholt::withoutFirstBlobBlock(script).str(),
            "head\r\nmiddle\n!LUNVIK_BLOB_START\ngoto 0\n!LUNVIK_BLOB_END\ntail");
  EXPECT_EQ(varnholt::withoutBlobBlocks(script).str(), "head\r\nmiddle\ntail");
  EXPECT_EQ(varnholt::blobBlockLine(script).str(), "x = 1");
  // A start without its end is no block.
  const CadString open("a\n!LUNVIK_BLOB_START\nb\n");
  EXPECT_EQ(varnholt::withoutBlobBlocks(open).str(), open.str());
  EXPECT_TRUE(varnholt::firstBlobBlock(open).empty());
}

TEST(BlobBlocks, AScriptOfBlanksIsBlank) {
  EXPECT_TRUE(varnholt::blankScript(CadString(" \t\r\n")));
  EXPECT_TRUE(varnholt::blankScript(CadString()));
  EXPECT_FALSE(varnholt::blankScript(CadString(" x")));
}

}  // namespace
