#include "storage/legacy_module_data.h"

#include <string>
#include <vector>

#include "storage/text_database.h"
#include "storage/xml_reader.h"
#include "storage/xml_writer.h"

namespace lunvik {

namespace {

// Reads 32-bit numbers in the block's byte order.
class Reader {
 public:
  Reader(const unsigned char* data, std::size_t size, bool bigEndian) : data_(data), size_(size), big_(bigEndian) {}

  bool u32(std::size_t offset, uint32_t& value) const {
    if (offset > size_ || size_ - offset < 4) return false;
    const unsigned char* p = data_ + offset;
    value = big_ ? (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3])
                 : (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | uint32_t(p[0]);
    return true;
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
  bool big_;
};

void appendElement(std::string& xml, const CadString& tag, bool open) {
  xml += open ? "<" : "</";
  xml += tag.str();
  xml += ">";
}

// Turns a package's table into the package's XML text; false when the table cannot be used.
bool tableToXML(const TextDatabase& table, const Package& package, std::string& xml) {
  const TextRecord* header = table.header();
  if (!header) return false;
  std::vector<CadString> keys;
  for (const auto& field : header->fields()) {
    CadString key = field->text();
    keys.push_back(package.translateLegacyKey(key) ? key : CadString());
  }
  CadString listTag = package.tagName();
  bool hasList = package.translateLegacyKey(listTag);
  CadString entryTag = listTag;
  if (hasList && !package.translateLegacyKey(entryTag)) return false;

  appendElement(xml, package.tagName(), true);
  if (hasList) appendElement(xml, listTag, true);
  for (const auto& record : table.records()) {
    // A record wider than the header holds values no key names. A narrower one leaves its
    // last fields empty, as empty cells do.
    if (record->count() > keys.size()) return false;
    if (hasList) appendElement(xml, entryTag, true);
    for (std::size_t i = 0; i < keys.size() && i < record->count(); ++i) {
      const CadString& value = record->field(i)->text();
      // An empty cell leaves the field as cleared, which is what an empty text would give, and
      // fields that take no empty text (numbers, flags) still read.
      if (keys[i].empty() || value.empty()) continue;
      appendElement(xml, keys[i], true);
      appendXMLEscaped(xml, value.c_str(), value.size());
      appendElement(xml, keys[i], false);
    }
    if (hasList) appendElement(xml, entryTag, false);
  }
  if (hasList) appendElement(xml, listTag, false);
  appendElement(xml, package.tagName(), false);
  return true;
}

// Reads one package's block; false when it does not read.
bool importBlock(const unsigned char* block, std::size_t length, const Reader& reader, std::size_t offset,
                 Package& package) {
  uint32_t version = 0, time = 0, declared = 0;
  if (!reader.u32(offset, version) || !reader.u32(offset + 4, time) || !reader.u32(offset + 8, declared)) return false;
  if (version != 1 || declared != length || length < 13) return false;
  TextDatabase table;
  if (!table.parse(reinterpret_cast<const char*>(block) + 12, length - 12, true, "\r\n", "\t")) return false;
  std::string xml;
  if (!tableToXML(table, package, xml)) return false;
  XMLReader xmlReader;
  return xmlReader.read(package, xml.data(), xml.size());
}

}  // namespace

bool isLegacyModuleData(const char* data, std::size_t size) {
  return data && size >= 2 && ((data[0] == 'I' && data[1] == 'I') || (data[0] == 'M' && data[1] == 'M'));
}

bool importLegacyModuleData(const char* text, std::size_t size, PackageList& list, uint32_t& time) {
  if (!isLegacyModuleData(text, size) || size < 12) return false;
  const auto* data = reinterpret_cast<const unsigned char*>(text);
  Reader reader(data, size, text[0] == 'M');
  std::size_t count = data[3];
  uint32_t stamp = 0, total = 0;
  reader.u32(4, stamp);
  reader.u32(8, total);
  // Nothing is read past the data or past the length the block declares.
  std::size_t limit = std::min<std::size_t>(size, total);
  std::size_t offset = 12 + 8 * count;
  if (offset > limit) return false;
  for (std::size_t i = 0; i < count; ++i) {
    uint32_t code = 0, length = 0;
    if (!reader.u32(12 + 8 * i, code) || !reader.u32(16 + 8 * i, length)) return false;
    if (length > limit - offset) return false;
    if (Package* package = list.packages().get(code)) {
      Reader blockReader(data, offset + length, text[0] == 'M');
      // A block that does not read stops the import: its package is named and nothing of it
      // passes as read.
      list.setReading(package->tagName());
      if (!importBlock(data + offset, length, blockReader, offset, *package)) return false;
      list.setReading(CadString());
    }
    offset += length;
  }
  time = stamp;
  return true;
}

}  // namespace lunvik
