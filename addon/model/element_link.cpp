#include "model/element_link.h"

#include <cctype>

#include "runtime/host_interface.h"

namespace lunvik {

namespace {

struct KindCode {
  int32_t kind;
  int32_t code;
};

constexpr KindCode kItemCodes[] = {
    {1, 1},   {2, 5},   {3, 6},   {4, 10},  {5, 12},  {6, 13},  {7, 14},  {8, 15},  {9, 17},  {10, 20},
    {11, 26}, {12, 27}, {13, 28}, {14, 30}, {15, 31}, {16, 32}, {17, 33}, {18, 37}, {19, 39}, {21, 43},
    {22, 45}, {23, 47}, {24, 49}, {25, 50}, {26, 52}, {29, 54}, {31, 56},
};

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = char(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

CadString guidText(const platform::Guid& guid) {
  if (platform::isZero(guid)) return CadString();
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
    out += kDigits[guid.bytes[i] >> 4];
    out += kDigits[guid.bytes[i] & 15];
  }
  return CadString(out);
}

platform::Guid guidFromText(const CadString& text) {
  platform::Guid guid{};
  const std::string& s = text.str();
  if (s.size() != 36) return guid;
  int byte = 0;
  for (std::size_t i = 0; i < s.size();) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (s[i] != '-') return platform::Guid{};
      ++i;
      continue;
    }
    int hi = hexValue(s[i]), lo = hexValue(s[i + 1]);
    if (hi < 0 || lo < 0) return platform::Guid{};
    guid.bytes[byte++] = uint8_t(hi * 16 + lo);
    i += 2;
  }
  return guid;
}

int32_t itemCodeOfKind(int32_t typeID) {
  for (const KindCode& k : kItemCodes)
    if (k.kind == typeID) return k.code;
  return 0;
}

int32_t kindOfItemCode(int32_t itemCode) {
  for (const KindCode& k : kItemCodes)
    if (k.code == itemCode) return k.kind;
  return 0;
}

bool operator==(const platform::DatabaseRecord& a, const platform::DatabaseRecord& b) {
  return a.kind == b.kind && a.number == b.number && a.index == b.index;
}

ElementLink::ElementLink(int32_t typeID, int32_t index, const platform::Guid& guid,
                         const platform::DatabaseRecord& database)
    : typeID_(typeID), index_(index), guid_(guid), database_(database) {}

ElementLink::ElementLink(int32_t typeID, int32_t index, const CadString& guid)
    : typeID_(typeID), index_(index), guid_(guidFromText(guid)) {}

ElementLink::ElementLink(const platform::ElementHeader& header) { setFromHeader(header); }

ElementLink ElementLink::fromSelectionItem(const platform::SelectionItem& item,
                                           const platform::DatabaseRecord& database) {
  ElementLink link;
  link.fromSelectionItem_ = true;
  link.itemType_ = item.itemCode;
  link.guid_ = item.guid;
  link.inIndex_ = int16_t(item.inIndex);
  link.itemFlags_ = item.itemFlags;
  link.database_ = database;
  return link;
}

int32_t ElementLink::typeID() const {
  if (typeID_ == 0 && itemType_ != 0) {
    int32_t code = itemType_;
    int32_t kind = 0;
    if (host().call(&platform::HostFunctionTable::HostGoodies, platform::fourcc("NTOE"), &code, &kind, nullptr) ==
        platform::kNoError)
      typeID_ = kind;
  }
  return typeID_;
}

void ElementLink::setProxy(const platform::ElementHeader& proxy, const platform::DatabaseRecord& proxyDatabase) {
  proxyType_ = platform::kSectionProxy;
  proxyIndex_ = proxy.index;
  proxyGuid_ = proxy.guid;
  proxyDatabase_ = proxyDatabase;
}

void ElementLink::setFromHeader(const platform::ElementHeader& header) {
  typeID_ = header.typeID;
  variation_ = header.variation;
  index_ = header.index;
  guid_ = header.guid;
  if (header.databaseKind != 0)
    database_ = platform::DatabaseRecord{header.databaseKind, header.databaseNumber, 0, header.databaseIndex};
  if (itemType_ == 0) itemType_ = itemCodeOfKind(typeID_);
}

void ElementLink::toHeader(platform::ElementHeader& header) const {
  header.typeID = typeID();
  header.variation = variation_;
  header.index = index_;
  header.guid = guid_;
}

platform::SelectionItem ElementLink::selectionItem() const {
  platform::SelectionItem item{};
  item.itemCode = itemType_ != 0 ? itemType_ : itemCodeOfKind(typeID());
  item.guid = guid_;
  item.inIndex = inIndex_;
  item.itemFlags = itemFlags_;
  return item;
}

void ElementLink::clearIdentity() {
  index_ = 0;
  guid_ = platform::Guid{};
  database_ = platform::DatabaseRecord{};
}

bool operator==(const ElementLink& a, const ElementLink& b) {
  if (a.fromSelectionItem_ && b.fromSelectionItem_) {
    if (a.itemType_ != b.itemType_ || a.inIndex_ != b.inIndex_) return false;
  } else if (a.typeID() != b.typeID()) {
    return false;
  }
  return a.proxyType_ == b.proxyType_ && a.index_ == b.index_ && a.guid_ == b.guid_ &&
         a.proxyIndex_ == b.proxyIndex_ && a.proxyGuid_ == b.proxyGuid_ && a.database_ == b.database_ &&
         a.proxyDatabase_ == b.proxyDatabase_;
}

bool ElementLink::lessByKindAndIndex(const ElementLink& a, const ElementLink& b) {
  int32_t ka = a.typeID(), kb = b.typeID();
  if (ka != kb) return ka < kb;
  if (a.index_ != b.index_) return a.index_ < b.index_;
  return std::memcmp(a.guid_.bytes, b.guid_.bytes, 16) < 0;
}

std::unique_ptr<ElemRefList> ElemRefList::clone() const {
  auto copy = std::make_unique<ElemRefList>();
  copy->reserve(size());
  for (std::size_t i = 0; i < size(); ++i) copy->push_back(new ElementLink((*this)[i]));
  return copy;
}

int32_t ElemRefList::find(const ElementLink& link) const {
  for (std::size_t i = 0; i < size(); ++i)
    if ((*this)[i] == link) return int32_t(i);
  return -1;
}

}  // namespace lunvik
