// Fuzzes the library-part file reader and the value lists of parameter scripts. Whatever the
// text, reading never throws; a part that reads is written and read back to the same part,
// and writing that again gives the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/library/part_file.h"
#include "model/component_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  lunvik::parseValueLists(lunvik::CadString(text));
  standin::LibraryPart part;
  std::string problem;
  if (!standin::readPartText(text, part, problem)) {
    if (problem.empty()) std::abort();
    return 0;
  }
  std::string written = standin::writePartText(part);
  standin::LibraryPart back;
  if (!standin::readPartText(written, back, problem)) std::abort();
  if (standin::writePartText(back) != written) std::abort();
  if (back.name != part.name || back.parameters.size() != part.parameters.size() ||
      back.sections.size() != part.sections.size())
    std::abort();
  for (std::size_t i = 0; i < part.sections.size(); ++i)
    if (back.sections[i].data != part.sections[i].data) std::abort();
  return 0;
}
