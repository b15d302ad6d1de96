#include "profiles/blob_script.h"

#include <cctype>
#include <cstring>

namespace varnholt {

using lunvik::CadString;

const char* const kBlobStart = "!LUNVIK_BLOB_START";
const char* const kBlobEnd = "!LUNVIK_BLOB_END";

namespace {

// The first block: from its start marker to past its end marker and the line end after it.
bool blockBounds(const std::string& text, std::size_t& from, std::size_t& to) {
  from = text.find(kBlobStart);
  if (from == std::string::npos) return false;
  std::size_t end = text.find(kBlobEnd, from);
  if (end == std::string::npos) return false;
  to = end + std::strlen(kBlobEnd);
  if (to < text.size() && text[to] == '\r') ++to;
  if (to < text.size() && text[to] == '\n') ++to;
  return true;
}

bool space(char c) { return c == ' ' || c == '\t'; }
bool wordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Replaces in code (the part of a line before its comment) every match of word (lower case)
// that stands as the rules ask by replacement.
std::string replaceWord(const std::string& code, const char* word, const char* replacement, bool followed,
                        bool wordAfter, const char* unlessFollowedBy) {
  std::string lower = code;
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  const std::size_t n = std::strlen(word);
  std::string out;
  std::size_t at = 0;
  for (std::size_t i = 0; i < code.size();) {
    std::size_t hit = lower.find(word, i);
    if (hit == std::string::npos) break;
    const std::size_t after = hit + n;
    bool ok = hit == 0 || space(code[hit - 1]);
    if (ok && followed) ok = after == code.size() || space(code[after]);
    if (ok && wordAfter) ok = after == code.size() || !wordChar(code[after]);
    if (ok && unlessFollowedBy) ok = code.compare(after, std::strlen(unlessFollowedBy), unlessFollowedBy) != 0;
    if (ok) {
      out += code.substr(at, hit - at);
      out += replacement;
      at = after;
    }
    i = after;
  }
  return out + code.substr(at);
}

}  // namespace

CadString firstBlobBlock(const CadString& script) {
  std::size_t from = 0, to = 0;
  if (!blockBounds(script.str(), from, to)) return CadString();
  return CadString(script.str().substr(from, to - from));
}

CadString withoutFirstBlobBlock(const CadString& script) {
  std::string text = script.str();
  std::size_t from = 0, to = 0;
  if (blockBounds(text, from, to)) text.erase(from, to - from);
  return CadString(text);
}

CadString withoutBlobBlocks(const CadString& script) {
  std::string text = script.str();
  std::size_t from = 0, to = 0;
  while (blockBounds(text, from, to)) text.erase(from, to - from);
  return CadString(text);
}

CadString blobBlockLine(const CadString& script) {
  const std::string& text = script.str();
  std::size_t from = text.find(kBlobStart);
  if (from == std::string::npos) return CadString();
  std::size_t end = text.find(kBlobEnd, from);
  if (end == std::string::npos) return CadString();
  std::size_t at = from + std::strlen(kBlobStart);
  while (at < end) {
    std::size_t stop = text.find('\n', at);
    if (stop == std::string::npos || stop > end) stop = end;
    std::string line = text.substr(at, stop - at);
    std::size_t a = line.find_first_not_of(" \t\r\n");
    if (a != std::string::npos) {
      std::size_t b = line.find_last_not_of(" \t\r\n");
      return CadString(line.substr(a, b - a + 1));
    }
    at = stop + 1;
  }
  return CadString();
}

bool blankScript(const CadString& script) { return script.str().find_first_not_of(" \t\r\n") == std::string::npos; }

CadString rewriteObjectCode(const CadString& code) {
  const std::string& text = code.str();
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t stop = text.find('\n', at);
    const bool last = stop == std::string::npos;
    std::string line = text.substr(at, last ? std::string::npos : stop - at);
    at = last ? text.size() : stop + 1;
    std::string ending;
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
      ending = "\r";
    }
    std::size_t bang = line.find('!');
    std::string head = line.substr(0, bang), comment = bang == std::string::npos ? std::string() : line.substr(bang);
    head = replaceWord(head, "end", "goto 0", true, false, nullptr);
    head = replaceWord(head, "exit", "goto 0", true, false, nullptr);
    head = replaceWord(head, "ntr()", "ntr() - lunvikNtr", false, false, " - lunvikNtr");
    head = replaceWord(head, "top", "ntr() - lunvikNtr", false, true, nullptr);
    out += head + comment + ending;
    if (!last) out += '\n';
  }
  return CadString(out);
}

CadString blobEpilogue() { return CadString(std::string(kBlobStart) + "\ngoto 0\n" + kBlobEnd + "\n"); }

}  // namespace varnholt
