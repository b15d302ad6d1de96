// Library-part files: reading, writing back, and loading folders with bad files in them.
#include <gtest/gtest.h>

#include <string>

#include "host/library/library_index.h"
#include "host/library/part_file.h"
#include "platform/parameter_records.h"

namespace {

using standin::LibraryIndex;
using standin::LibraryPart;

const std::string kFolder = std::string(TRESTLAR_FIXTURES) + "/library/mixed";

TEST(PartFile, ReadsEveryFieldAndWritesItBackUnchanged) {
  std::string text =
      "trestlar-library-part 1\n"
      "name \"Odd \\\"Name\\\"\"\n"
      "type 5\n"
      "id \"{A}-{B}\"\n"
      "parent \"{C}-{D}\"\n"
      "options 1 2\n"
      "value1040 -3\n"
      "size 0.1 0.30000000000000004\n"
      "parameter cutAngle angle[2,2] \"Cut angles\" flags 4 0 1.5707963267948966 0 -1.5707963267948966\n"
      "parameter spec string[1,2] \"Specs\" \"oak\" \"\"\n"
      "parameter head title \"Geometry\"\n"
      "section 3DSC\n"
      "block a, b, zzyzx\n"
      "end 3DSC\n"
      "section GIFF base64\n"
      "AAEC/w==\n"
      "end GIFF\n";
  LibraryPart part;
  std::string problem;
  ASSERT_TRUE(standin::readPartText(text, part, problem)) << problem;
  EXPECT_EQ(part.name, "Odd \"Name\"");
  EXPECT_EQ(part.typeID, 5);
  EXPECT_EQ(part.parentId, "{C}-{D}");
  EXPECT_EQ(part.value1040, -3);
  EXPECT_EQ(part.optionFlag2, 2);
  ASSERT_EQ(part.parameters.size(), 3u);
  EXPECT_EQ(part.parameters[0].rows, 2);
  EXPECT_EQ(part.parameters[0].flags, 4);
  EXPECT_DOUBLE_EQ(part.parameters[0].numbers[1], 1.5707963267948966);
  EXPECT_EQ(part.parameters[1].texts, (std::vector<std::string>{"oak", ""}));
  ASSERT_EQ(part.sections.size(), 2u);
  EXPECT_EQ(part.sections[0].data, "block a, b, zzyzx\n");
  EXPECT_EQ(part.sections[1].data, std::string("\x00\x01\x02\xff", 4));
  EXPECT_EQ(standin::writePartText(part), text);
}

TEST(PartFile, SectionTextThatWouldNotReadBackIsWrittenAsBase64) {
  LibraryPart part;
  part.name = "P";
  part.typeID = 4;
  std::vector<std::string> texts = {"no final line feed", "a\r\nb\r\n", "x\nend 3DSC\ny\n", ""};
  for (const std::string& t : texts) {
    part.sections = {{platform::fourcc("3DSC"), t}};
    LibraryPart back;
    std::string problem;
    ASSERT_TRUE(standin::readPartText(standin::writePartText(part), back, problem)) << problem;
    ASSERT_EQ(back.sections.size(), 1u);
    EXPECT_EQ(back.sections[0].data, t);
  }
}

TEST(PartFile, BadTextIsRefusedWithTheLineAndLeavesThePart) {
  struct Case {
    std::string text;
    std::string problem;
  } cases[] = {
      {"name \"X\"\n", "line 1: not a library part"},
      {"trestlar-library-part 1\ntype 4\n", "the part has no name"},
      {"trestlar-library-part 1\nname \"X\"\n", "the part has no type"},
      {"trestlar-library-part 1\nname \"X\"\ntype 4\nparameter a length \"A\" 1 2\n", "line 4: parameter a needs 1 value(s), has 2"},
      {"trestlar-library-part 1\nname \"X\"\ntype 4\nparameter a vector \"A\" 1\n", "line 4: parameter a: unknown kind vector"},
      {"trestlar-library-part 1\nname \"X\"\ntype 4\nparameter a length[0,1] \"A\"\n", "line 4: parameter a: bad array shape"},
      {"trestlar-library-part 1\nname \"X\"\ntype 4\nparameter s string \"S\" plain\n", "must be quoted"},
      {"trestlar-library-part 1\nname \"X\ntype 4\n", "line 2: unterminated text"},
      {"trestlar-library-part 1\nname \"X\"\ntype 4\nsection 3DSC\nblock\n", "line 4: section 3DSC has no \"end 3DSC\""},
      {"trestlar-library-part 1\nname \"X\"\ntype 4\nsection PARD\nend PARD\n", "bad section code"},
      {"trestlar-library-part 1\nname \"X\"\ntype 4\nsection GIFF base64\n!!!!\nend GIFF\n", "not valid base64"},
      {"trestlar-library-part 1\nname \"X\"\ntype 4\ncolour red\n", "line 4: unknown line"},
  };
  for (const Case& c : cases) {
    LibraryPart part;
    part.name = "kept";
    std::string problem;
    EXPECT_FALSE(standin::readPartText(c.text, part, problem)) << c.text;
    EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
    EXPECT_EQ(part.name, "kept");
  }
}

TEST(LibraryIndex, APartFileThatDoesNotReadIsSkippedAndTheRestLoads) {
  LibraryIndex index;
  index.rebuild({kFolder});
  ASSERT_EQ(index.count(), 3);
  EXPECT_NE(index.find("beam", 0), 0);
  EXPECT_NE(index.find("Helper", 10), 0);
  EXPECT_NE(index.find("Plank Door", 4), 0);
  EXPECT_EQ(index.find("Broken", 0), 0);
  ASSERT_EQ(index.messages().size(), 2u);
  EXPECT_NE(index.messages()[0].find("Broken.gsm: line 4: parameter length"), std::string::npos) << index.messages()[0];
  EXPECT_NE(index.messages()[1].find("NoEnd.gsm: line 4: section 3DSC has no"), std::string::npos) << index.messages()[1];
}

TEST(LibraryIndex, AFolderThatIsMissingIsNamedAndTheOthersLoad) {
  const std::string missing = std::string(kFolder) + "/no such folder";
  const std::string notFolder = std::string(kFolder) + "/Broken.gsm";
  LibraryIndex index;
  index.rebuild({missing, kFolder, notFolder});
  EXPECT_EQ(index.count(), 3);
  ASSERT_EQ(index.messages().size(), 4u);
  EXPECT_EQ(index.messages()[0], missing + ": no such folder");
  EXPECT_EQ(index.messages()[1], notFolder + ": is not a folder");
  EXPECT_NE(index.messages()[2].find("Broken.gsm: line 4"), std::string::npos) << index.messages()[2];
  // Once there, the folder is no longer named.
  index.rebuild({kFolder});
  EXPECT_EQ(index.messages().size(), 2u);
}

TEST(LibraryIndex, FindsPartsByIdentifierAndAncestry) {
  LibraryIndex index;
  index.rebuild({kFolder});
  int32_t door = index.find("Plank Door", 0);
  EXPECT_EQ(index.findId("{d0000000-0000-4000-8000-000000000001}-{d0000000-0000-4000-8000-000000000002}", 0), door);
  const std::string doorType = "{11E85B84-8DD1-491B-A2FE-337454A91545}-{9CD857B9-18A7-4F56-80E4-3E80CF98C51C}";
  EXPECT_TRUE(index.descends(index.part(door)->ownId, doorType));
  int32_t beam = index.find("Beam", 0);
  EXPECT_FALSE(index.descends(index.part(beam)->ownId, doorType));
  EXPECT_TRUE(index.descends(index.part(beam)->ownId, index.part(beam)->ownId));
}

}  // namespace
