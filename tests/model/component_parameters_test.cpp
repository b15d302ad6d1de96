// A library part's parameters as a source reads them from host records: arrays whose rows
// run past the block the host handed over are refused, never read past or padded out.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "model/component_parameters.h"
#include "platform/parameter_records.h"
#include "runtime/memory.h"
#include "support/loaded_host.h"

namespace {

class ComponentParametersTest : public testing_support::LoadedHost {};

platform::HostParameterRecord arrayRecord(int32_t type, const char* name, int32_t rows, int32_t columns,
                                          platform::GSHandle values) {
  platform::HostParameterRecord r{};
  r.typeID = type;
  r.shape = platform::kShapeArray;
  r.dim1 = rows;
  r.dim2 = columns;
  std::strncpy(r.name, name, 31);
  r.value.array = values;
  return r;
}

TEST_F(ComponentParametersTest, ArraysThatRunPastTheirBlockAreRefused) {
  // Two texts, "ab" and "c", then the block ends.
  const uint16_t texts[] = {'a', 'b', 0, 'c', 0};
  lunvik::HandleOwner twoTexts(lunvik::newHandle(texts, sizeof texts));
  lunvik::HandleOwner unended(lunvik::newHandle(texts, 2 * sizeof(uint16_t)));
  double eight[8] = {};
  lunvik::HandleOwner eightNumbers(lunvik::newHandle(eight, sizeof eight));
  struct Case {
    const char* what;
    platform::HostParameterRecord record;
    bool reads;
  } cases[] = {
      {"two texts in a block of two", arrayRecord(platform::kParamString, "names", 2, 1, twoTexts.get()), true},
      {"a million texts in a block of two", arrayRecord(platform::kParamString, "names", 1000000, 1, twoTexts.get()),
       false},
      {"a text that does not end in its block", arrayRecord(platform::kParamString, "names", 1, 1, unended.get()), false},
      {"eight numbers in a block of eight", arrayRecord(platform::kParamReal, "values", 4, 2, eightNumbers.get()), true},
      // 8 bytes each is 2^64 + 64 bytes, which a size wraps to 64.
      {"an array whose size wraps", arrayRecord(platform::kParamReal, "values", 1073807362, 2147352580, eightNumbers.get()),
       false},
  };
  for (const Case& c : cases) {
    lunvik::HandleOwner records(lunvik::newHandle(&c.record, sizeof c.record));
    lunvik::ComponentParameters list;
    lunvik::ComponentParameter kept;
    kept.name = "kept";
    kept.typeID = platform::kParamReal;
    kept.numbers = {1};
    list.add(kept);
    EXPECT_EQ(list.read(records.get()), c.reads) << c.what;
    EXPECT_EQ(list.count(), 1u) << c.what;  // read or left as it was
  }
}

}  // namespace
