// The one XML writer: turns a tree of shippable objects into XML text.
#pragma once

#include <cstddef>
#include <string>

#include "storage/cad_io.h"
#include "storage/xml_shipping.h"

namespace lunvik {

// Writes elements one tag per line, indented by one tab per level; a leaf is one line
// (<name>Softwood</name>), a container without child elements an empty-element tag
// (<lengthCostingList/>). Units marked as attributes go into their container's start tag.
class XMLWriter {
 public:
  // The first line of a document written for a file.
  static constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n";
  // The most levels of elements written (the outermost counting one), as XMLReader reads.
  static constexpr int kMaxDepth = 256;

  // Writes root's element to out, preceded by the declaration line when asked (files get one,
  // module data does not). False when the stream reports an error, a unit has no text form, a
  // shipping is not of the XML world or the tree nests deeper than kMaxDepth.
  bool write(Shipping& root, CadIO& out, bool declaration = false);

 private:
  bool writeElement(Shipping& node, int depth);
  void startLine();
  void appendEscaped(const CadString& text);
  bool flushIfFull();

  CadIO* out_ = nullptr;
  std::string buffer_;
  CadString text_;
  int depth_ = 0;
  bool afterOpenTag_ = false;
  bool failed_ = false;
};

// Appends text with "&", "'", ">", "<" and the double quote replaced by the entity references
// amp, apos, gt, lt and quot.
void appendXMLEscaped(std::string& out, const char* text, std::size_t size);

}  // namespace lunvik
