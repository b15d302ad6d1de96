#include "storage/xml_writer.h"

#include <memory>
#include <vector>

namespace lunvik {

namespace {

// Bytes collected before they are handed to the stream.
constexpr std::size_t kFlushSize = 1 << 16;

}  // namespace

void appendXMLEscaped(std::string& out, const char* text, std::size_t size) {
  // One pass gives the same text as replacing "&" first and then the other four in turn,
  // since no replacement brings in a character that a later one replaces.
  const char* run = text;
  const char* end = text + size;
  for (const char* p = text; p < end; ++p) {
    const char* entity;
    switch (*p) {
      case '&': entity = "&amp;"; break;
      case '\'': entity = "&apos;"; break;
      case '>': entity = "&gt;"; break;
      case '<': entity = "&lt;"; break;
      case '"': entity = "&quot;"; break;
      default: continue;
    }
    out.append(run, std::size_t(p - run));
    out.append(entity);
    run = p + 1;
  }
  out.append(run, std::size_t(end - run));
}

bool XMLWriter::write(Shipping& root, CadIO& out, bool declaration) {
  out_ = &out;
  buffer_.clear();
  afterOpenTag_ = false;
  failed_ = false;
  if (declaration) buffer_ += kDeclaration;
  bool ok = writeElement(root, 0) && !failed_;
  if (ok && !buffer_.empty()) ok = out.write(buffer_.data(), buffer_.size());
  buffer_.clear();
  out_ = nullptr;
  return ok;
}

void XMLWriter::startLine() {
  if (afterOpenTag_) buffer_ += '\n';
  buffer_.append(std::size_t(depth_), '\t');
}

void XMLWriter::appendEscaped(const CadString& text) {
  appendXMLEscaped(buffer_, text.c_str(), text.size());
}

bool XMLWriter::flushIfFull() {
  if (buffer_.size() < kFlushSize) return true;
  if (!out_->write(buffer_.data(), buffer_.size())) return false;
  buffer_.clear();
  return true;
}

bool XMLWriter::writeElement(Shipping& node, int depth) {
  if (depth >= kMaxDepth) return false;  // the outermost element is the first level
  const XMLShipping* xml = xmlShipping(&node);
  if (!xml) return false;
  const CadString& tag = xml->tagName();
  depth_ = depth;

  if (ShippingUnit* unit = shippingUnit(&node)) {
    if (!unit->toText(text_)) return false;
    startLine();
    buffer_ += '<';
    buffer_ += tag.str();
    buffer_ += '>';
    appendEscaped(text_);
    buffer_ += "</";
    buffer_ += tag.str();
    buffer_ += ">\n";
    afterOpenTag_ = false;
    return flushIfFull();
  }

  ShippingContainer* container = shippingContainer(&node);
  if (!container) return false;
  std::string attributes;
  std::vector<std::unique_ptr<Shipping>> elements;
  const std::size_t n = container->count();
  for (std::size_t i = 0; i < n; ++i) {
    auto c = container->child(i);
    if (!c || !c->isPresent()) continue;
    ShippingUnit* unit = shippingUnit(c.get());
    if (unit && unit->isAttribute()) {
      const XMLShipping* attributeXml = xmlShipping(unit);
      if (!attributeXml || !unit->toText(text_)) return false;
      attributes += ' ';
      attributes += attributeXml->tagName().str();
      attributes += "=\"";
      appendXMLEscaped(attributes, text_.c_str(), text_.size());
      attributes += '"';
    } else {
      elements.push_back(std::move(c));
    }
  }

  depth_ = depth;
  startLine();
  buffer_ += '<';
  buffer_ += tag.str();
  buffer_ += attributes;
  if (elements.empty()) {
    buffer_ += "/>\n";
    afterOpenTag_ = false;
    return flushIfFull();
  }
  buffer_ += '>';
  afterOpenTag_ = true;
  for (auto& element : elements)
    if (!writeElement(*element, depth + 1)) return false;
  depth_ = depth;
  buffer_.append(std::size_t(depth), '\t');
  buffer_ += "</";
  buffer_ += tag.str();
  buffer_ += ">\n";
  afterOpenTag_ = false;
  return flushIfFull();
}

}  // namespace lunvik
