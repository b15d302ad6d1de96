#include "storage/xml_reader.h"

#include <cstring>
#include <memory>
#include <string>

#include "storage/xml_shipping_map.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lunvik {

namespace {

// Character classes, one table lookup per byte.
enum : unsigned char { kSpace = 1, kNameStop = 2 };

struct CharClasses {
  unsigned char of[256] = {};
  constexpr CharClasses() {
    for (unsigned char c : {' ', '\t', '\n', '\r'}) of[c] = kSpace | kNameStop;
    for (unsigned char c : {'>', '/', '"'}) of[c] = kNameStop;
  }
};
constexpr CharClasses kClasses;

inline bool isSpace(char c) { return kClasses.of[static_cast<unsigned char>(c)] & kSpace; }
// White space or a character that ends a tag name.
inline bool endsName(char c) { return kClasses.of[static_cast<unsigned char>(c)] & kNameStop; }

// An object being read, with its roles found once.
struct Node {
  Shipping* object = nullptr;
  const XMLShipping* xml = nullptr;
  ShippingUnit* unit = nullptr;
  ShippingContainer* container = nullptr;
  XMLShippingMap* map = nullptr;  // set when the container is a map
  const CadString* tag = nullptr;
  bool isArray = false;
};

bool describe(Shipping* object, Node& node) {
  if (!object) return false;
  node.object = object;
  node.xml = xmlShipping(object);
  if (!node.xml) return false;
  node.tag = &node.xml->tagName();
  node.unit = shippingUnit(object);
  if (node.unit) return true;
  node.container = shippingContainer(object);
  if (!node.container) return false;
  node.map = xmlMap(object);
  node.isArray = node.container->isArray();
  return true;
}

enum class MarkupKind { start, empty, end, ignored, characterData };

// One piece of markup: a tag, or something to pass over.
struct Markup {
  MarkupKind kind = MarkupKind::ignored;
  const char* name = nullptr;
  std::size_t nameLength = 0;
  const char* attributes = nullptr;  // start and empty-element tags: the text after the name
  const char* attributesEnd = nullptr;
  const char* data = nullptr;  // character data
  std::size_t dataLength = 0;
};

// The first c in [from, end), or null. The runs between tags are mostly a few bytes, where a
// library call costs more than the search: 16 bytes are compared at once while 16 remain.
inline const char* findByte(const char* from, const char* end, char c) {
#ifdef __SSE2__
  const __m128i wanted = _mm_set1_epi8(c);
  while (end - from >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted));
    if (hits) return from + __builtin_ctz(unsigned(hits));
    from += 16;
  }
#endif
  for (; from < end; ++from)
    if (*from == c) return from;
  return nullptr;
}

// The position of pattern in [from, end), or null.
const char* find(const char* from, const char* end, const char* pattern, std::size_t length) {
  while (from < end) {
    const char* p =
        static_cast<const char*>(std::memchr(from, pattern[0], std::size_t(end - from)));
    if (!p || std::size_t(end - p) < length) return nullptr;
    if (std::memcmp(p, pattern, length) == 0) return p;
    from = p + 1;
  }
  return nullptr;
}

bool startsWith(const char* p, const char* end, const char* prefix, std::size_t length) {
  return std::size_t(end - p) >= length && std::memcmp(p, prefix, length) == 0;
}

// The entity references decoded in text, each with its closing semicolon.
struct Entity {
  const char* name;
  std::size_t length;
  char character;
};
constexpr Entity kEntities[] = {
    {"amp;", 4, '&'}, {"apos;", 5, '\''}, {"gt;", 3, '>'}, {"lt;", 3, '<'}, {"quot;", 5, '"'},
};

class Parser {
 public:
  Parser(const char* text, std::size_t size) : p_(text), end_(text + size) {}

  bool readRoot(Shipping& root) {
    Node node;
    if (!describe(&root, node)) return false;
    return readContent(node, 0);
  }

 private:
  bool readContent(const Node& node, int depth);
  bool readChild(const Node& parent, const Markup& markup, int depth);
  bool readAttributes(const Node& target, const char* p, const char* end);
  bool readAttribute(const Node& target, const char* name, std::size_t nameLength,
                     const char* value, const char* valueEnd);
  bool parseMarkup(Markup& markup);
  bool skipElement();
  void appendDecoded(const char* from, const char* to);
  const CadString& nameText(const char* name, std::size_t length) {
    std::string& text = name_.str();
    text.clear();
    text.append(name, length);
    return name_;
  }

  const char* p_;
  const char* end_;
  CadString text_;  // the text of the unit being read
  CadString name_;  // the tag looked up
};

bool Parser::readContent(const Node& node, int depth) {
  // Units collect their text and character data; at the top level nothing is text.
  const bool collect = node.unit && depth > 0;
  if (collect) text_.clear();
  for (;;) {
    const char* lt = findByte(p_, end_, '<');
    if (!lt) {
      p_ = end_;
      return depth == 0;
    }
    if (collect) appendDecoded(p_, lt);
    p_ = lt;
    Markup markup;
    if (!parseMarkup(markup)) return false;
    switch (markup.kind) {
      case MarkupKind::ignored: break;
      case MarkupKind::characterData:
        if (collect) text_.str().append(markup.data, markup.dataLength);
        break;
      case MarkupKind::end:
        // The top level was opened by no tag, so an end tag there is out of place.
        if (depth == 0) return false;
        if (!sameTag(markup.name, markup.nameLength, *node.tag)) return false;
        if (collect && !node.unit->fromText(text_)) return false;
        return node.object->complete();
      case MarkupKind::start:
      case MarkupKind::empty:
        if (!readChild(node, markup, depth)) return false;
        break;
    }
  }
}

bool Parser::readChild(const Node& parent, const Markup& markup, int depth) {
  Node target;
  std::unique_ptr<Shipping> holder;
  if (depth == 0 && sameTag(markup.name, markup.nameLength, *parent.tag)) {
    target = parent;
  } else if (parent.container) {
    const CadString& tag = nameText(markup.name, markup.nameLength);
    holder = parent.isArray ? parent.container->newChild(tag) : parent.container->childByName(tag);
    if (!describe(holder.get(), target)) holder.reset();
  }
  if (!target.object) return markup.kind == MarkupKind::empty || skipElement();

  if (target.container) target.container->reset();
  if (!readAttributes(target, markup.attributes, markup.attributesEnd)) return false;
  if (markup.kind == MarkupKind::empty) {
    if (!target.object->complete()) return false;
  } else {
    if (depth + 1 > XMLReader::kMaxDepth) return false;
    if (!readContent(target, depth + 1)) return false;
  }
  if (parent.map && holder && target.object != parent.object) {
    auto* pair = dynamic_cast<XMLShippingPair*>(holder.get());
    if (!pair || !parent.map->insert(*pair)) return false;
  }
  return true;
}

bool Parser::readAttributes(const Node& target, const char* p, const char* end) {
  for (;;) {
    while (p < end && isSpace(*p)) ++p;
    if (p == end) return true;
    const char* name = p;
    while (p < end && !isSpace(*p) && *p != '=') ++p;
    const std::size_t nameLength = std::size_t(p - name);
    while (p < end && isSpace(*p)) ++p;
    if (nameLength == 0 || p == end || *p != '=') return false;
    ++p;
    while (p < end && isSpace(*p)) ++p;
    if (p == end || *p != '"') return false;
    const char* value = ++p;
    const char* close = findByte(p, end, '"');
    if (!close) return false;
    if (!readAttribute(target, name, nameLength, value, close)) return false;
    p = close + 1;
  }
}

// An attribute reads as a child element of the same name holding the value as its text.
bool Parser::readAttribute(const Node& target, const char* name, std::size_t nameLength,
                           const char* value, const char* valueEnd) {
  if (!target.container) return true;
  const CadString& tag = nameText(name, nameLength);
  std::unique_ptr<Shipping> holder =
      target.isArray ? target.container->newChild(tag) : target.container->childByName(tag);
  Node child;
  if (!describe(holder.get(), child)) return true;
  if (child.container) child.container->reset();
  if (!sameTag(name, nameLength, *child.tag)) return false;
  if (child.unit) {
    text_.clear();
    appendDecoded(value, valueEnd);
    if (!child.unit->fromText(text_)) return false;
  }
  if (!child.object->complete()) return false;
  if (target.map) {
    auto* pair = dynamic_cast<XMLShippingPair*>(holder.get());
    if (!pair || !target.map->insert(*pair)) return false;
  }
  return true;
}

bool Parser::parseMarkup(Markup& markup) {
  const char* p = p_ + 1;  // after "<"
  const char first = p < end_ ? *p : '\0';
  if (first == '?') {
    const char* close = find(p + 1, end_, "?>", 2);
    if (!close) return false;
    markup.kind = MarkupKind::ignored;
    p_ = close + 2;
    return true;
  }
  if (first == '!' && startsWith(p, end_, "!--", 3)) {
    const char* close = find(p + 3, end_, "-->", 3);
    if (!close) return false;
    markup.kind = MarkupKind::ignored;
    p_ = close + 3;
    return true;
  }
  if (first == '!' && startsWith(p, end_, "![CDATA[", 8)) {
    const char* data = p + 8;
    const char* close = find(data, end_, "]]>", 3);
    if (!close) return false;
    markup.kind = MarkupKind::characterData;
    markup.data = data;
    markup.dataLength = std::size_t(close - data);
    p_ = close + 3;
    return true;
  }
  if (first == '!') {
    // A declaration such as a document type: passed over, with any bracketed internal part.
    int brackets = 0;
    for (const char* q = p + 1; q < end_; ++q) {
      if (*q == '[')
        ++brackets;
      else if (*q == ']' && brackets > 0)
        --brackets;
      else if (*q == '>' && brackets == 0) {
        markup.kind = MarkupKind::ignored;
        p_ = q + 1;
        return true;
      }
    }
    return false;
  }

  // A start, empty-element or end tag. The name runs to white space, "/", ">" or a quote; the
  // tag ends at the first ">" outside a double-quoted attribute value. One pass over the bytes.
  const char* q = p;
  while (q < end_ && isSpace(*q)) ++q;
  const bool isEnd = q < end_ && *q == '/';
  if (isEnd) {
    ++q;
    while (q < end_ && isSpace(*q)) ++q;
  }
  const char* name = q;
  while (q < end_ && !endsName(*q)) ++q;
  const char* nameEnd = q;
  bool quoted = false;
  for (;; ++q) {
    if (q == end_) return false;
    const char c = *q;
    if (c == '"')
      quoted = !quoted;
    else if (c == '>' && !quoted)
      break;
  }
  const char* close = q;
  p_ = close + 1;
  if (nameEnd == name) return false;
  markup.name = name;
  markup.nameLength = std::size_t(nameEnd - name);
  if (isEnd) {
    for (const char* c = nameEnd; c < close; ++c)
      if (!isSpace(*c)) return false;
    markup.kind = MarkupKind::end;
    return true;
  }
  const char* last = close;
  markup.kind = MarkupKind::start;
  if (last > nameEnd && last[-1] == '/') {
    markup.kind = MarkupKind::empty;
    --last;
  }
  markup.attributes = nameEnd;
  markup.attributesEnd = last;
  return true;
}

bool Parser::skipElement() {
  // Iterative, so elements nested to any depth are skipped without recursion.
  std::size_t open = 1;
  while (open > 0) {
    const char* lt = findByte(p_, end_, '<');
    if (!lt) return false;
    p_ = lt;
    Markup markup;
    if (!parseMarkup(markup)) return false;
    if (markup.kind == MarkupKind::start)
      ++open;
    else if (markup.kind == MarkupKind::end)
      --open;
  }
  return true;
}

void Parser::appendDecoded(const char* from, const char* to) {
  std::string& out = text_.str();
  while (from < to) {
    const char* amp = findByte(from, to, '&');
    if (!amp) {
      out.append(from, std::size_t(to - from));
      return;
    }
    out.append(from, std::size_t(amp - from));
    const char* p = amp + 1;
    const Entity* match = nullptr;
    for (const Entity& entity : kEntities)
      if (startsWith(p, to, entity.name, entity.length)) {
        match = &entity;
        break;
      }
    if (match) {
      out += match->character;
      from = p + match->length;
    } else {
      // Any other reference is kept as it stands.
      out += '&';
      from = p;
    }
  }
}

}  // namespace

bool XMLReader::read(Shipping& root, CadIO& in) {
  const char* data = nullptr;
  std::size_t size = 0;
  if (in.takeRest(data, size)) return read(root, data, size);
  std::string text;
  if (!in.readAll(text)) return false;
  return read(root, text.data(), text.size());
}

bool XMLReader::read(Shipping& root, const char* text, std::size_t size) {
  if (!text) size = 0;
  static const char kEmpty[] = "";
  Parser parser(text ? text : kEmpty, size);
  return parser.readRoot(root);
}

}  // namespace lunvik
