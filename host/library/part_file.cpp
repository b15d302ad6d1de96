#include "host/library/part_file.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/parameter_records.h"

namespace standin {

namespace {

const char* const kHeader = "trestlar-library-part 1";

struct KindName {
  int32_t code;
  const char* name;
};

const KindName kKinds[] = {
    {platform::kParamInteger, "integer"},     {platform::kParamLength, "length"},
    {platform::kParamAngle, "angle"},         {platform::kParamReal, "real"},
    {platform::kParamLightSwitch, "switch"},  {platform::kParamColour, "colour"},
    {platform::kParamIntensity, "intensity"}, {platform::kParamLineStyle, "linetype"},
    {platform::kParamMaterial, "material"},   {platform::kParamFill, "fill"},
    {platform::kParamPen, "pen"},             {platform::kParamString, "string"},
    {platform::kParamBoolean, "boolean"},     {platform::kParamSeparator, "separator"},
    {platform::kParamTitle, "title"},
};

// A line split into words; a quoted word ("...") keeps its spaces and takes \" \\ \n \t.
struct Word {
  std::string text;
  bool quoted = false;
};

bool splitWords(const std::string& line, std::vector<Word>& words, std::string& problem) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    Word w;
    if (line[i] == '"') {
      w.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < line.size()) {
          char e = line[i++];
          c = e == 'n' ? '\n' : e == 't' ? '\t' : e;
        }
        w.text += c;
      }
      if (!closed) {
        problem = "unterminated text";
        return false;
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') w.text += line[i++];
    }
    words.push_back(std::move(w));
  }
  return true;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\', out += c;
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else out += c;
  }
  return out + "\"";
}

bool toNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end && *end == '\0' && std::isfinite(value);
}

bool toInteger(const std::string& text, long& value) {
  double d = 0;
  if (!toNumber(text, d) || d != std::floor(d) || std::fabs(d) > 2147483647.0) return false;
  value = long(d);
  return true;
}

// The shortest text that reads back as the same double.
std::string numberText(double value) {
  char buffer[40];
  for (int precision : {15, 17}) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  return buffer;
}

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string toBase64(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t n = uint32_t(uint8_t(bytes[i])) << 16;
    if (i + 1 < bytes.size()) n |= uint32_t(uint8_t(bytes[i + 1])) << 8;
    if (i + 2 < bytes.size()) n |= uint32_t(uint8_t(bytes[i + 2]));
    out += kBase64[(n >> 18) & 63];
    out += kBase64[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kBase64[n & 63] : '=';
    if ((i / 3 + 1) % 19 == 0 && i + 3 < bytes.size()) out += '\n';
  }
  return out;
}

bool fromBase64(const std::string& text, std::string& bytes) {
  std::string clean;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) clean += c;
  if (clean.size() % 4 != 0) return false;
  std::string out;
  for (std::size_t i = 0; i < clean.size(); i += 4) {
    uint32_t n = 0;
    int pad = 0;
    for (int k = 0; k < 4; ++k) {
      char c = clean[i + std::size_t(k)];
      int v = 0;
      if (c == '=') {
        if (i + 4 != clean.size() || k < 2) return false;
        ++pad;
      } else {
        if (pad) return false;
        const char* at = std::char_traits<char>::find(kBase64, 64, c);
        if (!at) return false;
        v = int(at - kBase64);
      }
      n = (n << 6) | uint32_t(v);
    }
    out += char((n >> 16) & 255);
    if (pad < 2) out += char((n >> 8) & 255);
    if (pad < 1) out += char(n & 255);
  }
  bytes = std::move(out);
  return true;
}

// True when data, written line by line and read back, gives data again.
// True when the lines of data, each ending with its line end (a line feed, or CR LF with
// crlf), read back as written: no other carriage return or control character, no line that
// would end the section.
bool writableAsLines(uint32_t code, const std::string& data, bool crlf) {
  if (data.empty()) return !crlf;
  if (data.back() != '\n') return false;
  std::string endLine = "end " + codeText(code);
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t stop = data.find('\n', start);
    std::size_t end = stop;
    if (crlf) {
      if (stop == start || data[stop - 1] != '\r') return false;
      --end;
    }
    std::string line = data.substr(start, end - start);
    if (line == endLine) return false;
    for (char c : line) {
      auto u = static_cast<unsigned char>(c);
      if (u == '\r' || u == 0 || (u < 0x20 && u != '\t')) return false;
    }
    start = stop + 1;
  }
  return true;
}

bool writableAsText(uint32_t code, const std::string& data) { return writableAsLines(code, data, false); }

// Reads a parameter line's words (after "parameter").
bool readParameter(const std::vector<Word>& w, PartParameter& p, std::string& problem) {
  if (w.size() < 3 || w[1].quoted || w[2].quoted) {
    problem = "a parameter needs a name and a kind";
    return false;
  }
  p.name = w[1].text;
  if (p.name.empty() || p.name.size() > 31) {
    problem = "parameter name \"" + p.name + "\" must have 1 to 31 characters";
    return false;
  }
  std::string kind = w[2].text;
  std::size_t bracket = kind.find('[');
  if (bracket != std::string::npos) {
    long rows = 0, columns = 0;
    std::string dims = kind.substr(bracket + 1);
    std::size_t comma = dims.find(',');
    if (dims.empty() || dims.back() != ']' || comma == std::string::npos ||
        !toInteger(dims.substr(0, comma), rows) || !toInteger(dims.substr(comma + 1, dims.size() - comma - 2), columns) ||
        rows < 1 || columns < 1 || rows * columns > 100000) {
      problem = "parameter " + p.name + ": bad array shape " + kind;
      return false;
    }
    p.isArray = true;
    p.rows = int32_t(rows);
    p.columns = int32_t(columns);
    kind = kind.substr(0, bracket);
  }
  p.typeID = parameterKindCode(kind);
  if (p.typeID == 0) {
    problem = "parameter " + p.name + ": unknown kind " + kind;
    return false;
  }
  std::size_t at = 3;
  if (at < w.size() && w[at].quoted) p.description = w[at++].text;
  if (at + 1 < w.size() && !w[at].quoted && w[at].text == "flags") {
    long flags = 0;
    if (!toInteger(w[at + 1].text, flags)) {
      problem = "parameter " + p.name + ": bad flags " + w[at + 1].text;
      return false;
    }
    p.flags = int32_t(flags);
    at += 2;
  }
  std::size_t wanted = p.typeID == platform::kParamSeparator || p.typeID == platform::kParamTitle ? 0 : p.valueCount();
  if (w.size() - at != wanted) {
    problem = "parameter " + p.name + " needs " + std::to_string(wanted) + " value(s), has " +
              std::to_string(w.size() - at);
    return false;
  }
  for (; at < w.size(); ++at) {
    if (p.isText()) {
      if (!w[at].quoted) {
        problem = "parameter " + p.name + ": a text value must be quoted";
        return false;
      }
      p.texts.push_back(w[at].text);
    } else {
      double v = 0;
      if (w[at].quoted || !toNumber(w[at].text, v)) {
        problem = "parameter " + p.name + ": \"" + w[at].text + "\" is not a number";
        return false;
      }
      p.numbers.push_back(v);
    }
  }
  return true;
}

std::string parameterLine(const PartParameter& p) {
  std::string line = "parameter " + p.name + " " + parameterKindName(p.typeID);
  if (p.isArray) line += "[" + std::to_string(p.rows) + "," + std::to_string(p.columns) + "]";
  line += " " + quoted(p.description);
  if (p.flags) line += " flags " + std::to_string(p.flags);
  if (p.typeID == platform::kParamSeparator || p.typeID == platform::kParamTitle) return line;
  std::size_t n = p.valueCount();
  for (std::size_t i = 0; i < n; ++i) {
    if (p.isText()) line += " " + quoted(i < p.texts.size() ? p.texts[i] : std::string());
    else line += " " + numberText(i < p.numbers.size() ? p.numbers[i] : 0.0);
  }
  return line;
}

// Splits text into lines (LF or CR LF ends).
std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t stop = text.find('\n', start);
    if (stop == std::string::npos) stop = text.size();
    std::string line = text.substr(start, stop - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = stop + 1;
  }
  return lines;
}

bool isBlankOrComment(const std::string& line) {
  std::size_t i = line.find_first_not_of(" \t");
  return i == std::string::npos || line[i] == '#';
}

}  // namespace

bool PartParameter::isText() const { return typeID == platform::kParamString; }

std::size_t PartParameter::valueCount() const { return isArray ? std::size_t(rows) * std::size_t(columns) : 1; }

const PartParameter* LibraryPart::parameter(const std::string& wanted) const {
  std::string key = lowerText(wanted);
  for (const PartParameter& p : parameters)
    if (lowerText(p.name) == key) return &p;
  return nullptr;
}

const PartSection* LibraryPart::section(uint32_t code) const {
  for (const PartSection& s : sections)
    if (s.code == code) return &s;
  return nullptr;
}

void LibraryPart::setSection(uint32_t code, std::string data) {
  for (PartSection& s : sections)
    if (s.code == code) {
      s.data = std::move(data);
      return;
    }
  sections.push_back({code, std::move(data)});
}

std::string parameterKindName(int32_t typeID) {
  for (const KindName& k : kKinds)
    if (k.code == typeID) return k.name;
  return std::string();
}

int32_t parameterKindCode(const std::string& name) {
  for (const KindName& k : kKinds)
    if (name == k.name) return k.code;
  return 0;
}

std::string lowerText(std::string text) {
  // ASCII only: names and file names may hold UTF-8, whose bytes must pass unchanged.
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return text;
}

std::string codeText(uint32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) text += char((code >> shift) & 0xFF);
  return text;
}

bool codeFromText(const std::string& text, uint32_t& code) {
  if (text.size() != 4) return false;
  code = 0;
  for (char c : text) code = (code << 8) | uint8_t(c);
  return true;
}

bool readParameterLines(const std::string& text, std::vector<PartParameter>& parameters, double& sizeA,
                        double& sizeB, std::string& problem) {
  std::vector<PartParameter> out;
  double a = sizeA, b = sizeB;
  int number = 0;
  for (const std::string& line : splitLines(text)) {
    ++number;
    if (isBlankOrComment(line)) continue;
    std::vector<Word> w;
    std::string why;
    bool ok = splitWords(line, w, why);
    if (ok && !w.empty() && w[0].text == "size") {
      ok = w.size() == 3 && toNumber(w[1].text, a) && toNumber(w[2].text, b);
      if (!ok) why = "size needs two numbers";
    } else if (ok && !w.empty() && w[0].text == "parameter") {
      PartParameter p;
      ok = readParameter(w, p, why);
      if (ok) out.push_back(std::move(p));
    } else if (ok) {
      ok = false;
      why = "not a parameter line";
    }
    if (!ok) {
      problem = "line " + std::to_string(number) + ": " + why;
      return false;
    }
  }
  parameters = std::move(out);
  sizeA = a;
  sizeB = b;
  return true;
}

std::string writeParameterLines(const std::vector<PartParameter>& parameters, double sizeA, double sizeB) {
  std::string text = "size " + numberText(sizeA) + " " + numberText(sizeB) + "\n";
  for (const PartParameter& p : parameters) text += parameterLine(p) + "\n";
  return text;
}

bool readPartText(const std::string& text, LibraryPart& part, std::string& problem) {
  std::vector<std::string> lines = splitLines(text);
  std::size_t i = 0;
  while (i < lines.size() && isBlankOrComment(lines[i])) ++i;
  if (i >= lines.size() || lines[i] != kHeader) {
    problem = "line " + std::to_string(i + 1) + ": not a library part (the first line must be \"" + kHeader + "\")";
    return false;
  }
  LibraryPart out;
  out.path = part.path;
  bool haveName = false, haveType = false;
  auto fail = [&](std::size_t line, const std::string& why) {
    problem = "line " + std::to_string(line + 1) + ": " + why;
    return false;
  };
  for (++i; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (isBlankOrComment(line)) continue;
    std::vector<Word> w;
    std::string why;
    if (!splitWords(line, w, why)) return fail(i, why);
    const std::string& key = w[0].text;
    if (key == "name" && w.size() == 2 && w[1].quoted) {
      out.name = w[1].text;
      if (out.name.empty() || out.name.size() > 255) return fail(i, "a part's name must have 1 to 255 characters");
      haveName = true;
    } else if (key == "type" && w.size() == 2) {
      long type = 0;
      if (!toInteger(w[1].text, type) || type < 1 || type > 99) return fail(i, "bad part type " + w[1].text);
      out.typeID = int32_t(type);
      haveType = true;
    } else if ((key == "id" || key == "parent") && w.size() == 2 && w[1].quoted) {
      if (w[1].text.size() > 127) return fail(i, "an identifier has at most 127 characters");
      (key == "id" ? out.ownId : out.parentId) = w[1].text;
    } else if (key == "options" && w.size() == 3) {
      long f1 = 0, f2 = 0;
      if (!toInteger(w[1].text, f1) || !toInteger(w[2].text, f2) || f1 < 0 || f1 > 255 || f2 < 0 || f2 > 255)
        return fail(i, "options needs two numbers from 0 to 255");
      out.optionFlag1 = uint8_t(f1);
      out.optionFlag2 = uint8_t(f2);
    } else if (key == "value1040" && w.size() == 2) {
      long v = 0;
      if (!toInteger(w[1].text, v) || v < -32768 || v > 32767) return fail(i, "value1040 needs a 16-bit number");
      out.value1040 = int16_t(v);
    } else if (key == "size" && w.size() == 3) {
      if (!toNumber(w[1].text, out.sizeA) || !toNumber(w[2].text, out.sizeB)) return fail(i, "size needs two numbers");
    } else if (key == "parameter") {
      PartParameter p;
      if (!readParameter(w, p, why)) return fail(i, why);
      out.parameters.push_back(std::move(p));
    } else if (key == "section" &&
               (w.size() == 2 || (w.size() == 3 && (w[2].text == "base64" || w[2].text == "crlf")))) {
      uint32_t code = 0;
      if (!codeFromText(w[1].text, code) || w[1].text == "PARD")
        return fail(i, "bad section code \"" + w[1].text + "\"");
      if (out.section(code)) return fail(i, "section " + w[1].text + " appears twice");
      bool base64 = w.size() == 3 && w[2].text == "base64";
      const char* lineEnd = w.size() == 3 && w[2].text == "crlf" ? "\r\n" : "\n";
      std::string endLine = "end " + w[1].text;
      std::string data;
      std::size_t start = i;
      for (++i; i < lines.size() && lines[i] != endLine; ++i) data += lines[i] + lineEnd;
      if (i >= lines.size()) return fail(start, "section " + w[1].text + " has no \"" + endLine + "\"");
      if (base64 && !fromBase64(data, data)) return fail(start, "section " + w[1].text + " is not valid base64");
      out.sections.push_back({code, std::move(data)});
    } else {
      return fail(i, "unknown line \"" + line + "\"");
    }
  }
  if (!haveName) return fail(lines.size() - 1, "the part has no name");
  if (!haveType) return fail(lines.size() - 1, "the part has no type");
  part = std::move(out);
  return true;
}

std::string writePartText(const LibraryPart& part) {
  std::ostringstream out;
  out << kHeader << "\n";
  out << "name " << quoted(part.name) << "\n";
  out << "type " << part.typeID << "\n";
  if (!part.ownId.empty()) out << "id " << quoted(part.ownId) << "\n";
  if (!part.parentId.empty()) out << "parent " << quoted(part.parentId) << "\n";
  out << "options " << int(part.optionFlag1) << " " << int(part.optionFlag2) << "\n";
  out << "value1040 " << part.value1040 << "\n";
  out << writeParameterLines(part.parameters, part.sizeA, part.sizeB);
  for (const PartSection& s : part.sections) {
    std::string code = codeText(s.code);
    if (writableAsText(s.code, s.data)) {
      out << "section " << code << "\n" << s.data;
    } else if (writableAsLines(s.code, s.data, true)) {
      // Lines ended by CR LF (as GDL scripts written on Windows are): written one a line.
      out << "section " << code << " crlf\n";
      for (std::size_t start = 0; start < s.data.size();) {
        std::size_t stop = s.data.find("\r\n", start);
        out << s.data.substr(start, stop - start) << "\n";
        start = stop + 2;
      }
    } else {
      out << "section " << code << " base64\n" << toBase64(s.data);
      if (!s.data.empty()) out << "\n";
    }
    out << "end " << code << "\n";
  }
  return out.str();
}

}  // namespace standin
