// The one XML reader: fills a tree of shippable objects from XML text.
#pragma once

#include <cstddef>

#include "storage/cad_io.h"
#include "storage/xml_shipping.h"

namespace lunvik {

// Reads elements into the children their tags name: an array makes a new element for each,
// a record finds its child by tag, and at the top level a tag equal to the root's own names
// the root. Attributes are read like child elements holding their values. Elements that name
// nothing are skipped with all their content; comments, processing instructions and other
// declarations are skipped; character data counts as text. Each container found is reset
// before it is read, and each element read completely is completed (Shipping::complete).
class XMLReader {
 public:
  // The deepest nesting of elements read into objects: a tree deeper than this fails the
  // read, so no input can exhaust the stack. Skipped elements nest without limit.
  static constexpr int kMaxDepth = 256;

  // Reads the rest of in into root. False when the text does not read; root is then partly
  // filled and should be discarded.
  bool read(Shipping& root, CadIO& in);
  // Reads size bytes of text at text into root.
  bool read(Shipping& root, const char* text, std::size_t size);
};

}  // namespace lunvik
