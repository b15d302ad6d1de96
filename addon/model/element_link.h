// Identifies a host element: kind, variation, host index, GUID and the database it lives in.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/element_records.h"
#include "runtime/cad_string.h"
#include "runtime/containers.h"

namespace lunvik {

// The GUID as text: 8-4-4-4-12 upper-case hex digits; empty for the zero GUID.
CadString guidText(const platform::Guid& guid);
// Parses guidText's form (letter case ignored); the zero GUID for anything else.
platform::Guid guidFromText(const CadString& text);
// The selection-item code of an element kind (0 for kinds without one).
int32_t itemCodeOfKind(int32_t typeID);
// The element kind of a selection-item code, by the same table (0 when none).
int32_t kindOfItemCode(int32_t itemCode);

// The identity of one element; a copyable value, the key by which elements are found again.
class ElementLink {
 public:
  ElementLink() = default;
  ElementLink(int32_t typeID, int32_t index, const platform::Guid& guid,
              const platform::DatabaseRecord& database = platform::DatabaseRecord{});
  // From a kind, index and GUID text (the host's notifications carry the GUID as text).
  ElementLink(int32_t typeID, int32_t index, const CadString& guid);
  // From a host element header (kind, variation, index, GUID and database).
  explicit ElementLink(const platform::ElementHeader& header);
  // From a host selection item; the kind is asked of the host when first needed.
  static ElementLink fromSelectionItem(const platform::SelectionItem& item,
                                       const platform::DatabaseRecord& database);
  ElementLink(const ElementLink&) = default;
  ElementLink& operator=(const ElementLink&) = default;
  virtual ~ElementLink() = default;

  // The element kind; a link built from a selection item asks the host once ('NTOE').
  int32_t typeID() const;
  uint32_t variation() const { return variation_; }
  int32_t proxyType() const { return proxyType_; }
  int32_t itemType() const { return itemType_; }
  int32_t index() const { return index_; }
  const platform::Guid& guidValue() const { return guid_; }
  // The GUID as text (empty for the zero GUID).
  CadString guid() const { return guidText(guid_); }
  int32_t proxyIndex() const { return proxyIndex_; }
  const platform::Guid& proxyGuid() const { return proxyGuid_; }
  int16_t inIndex() const { return inIndex_; }
  int32_t itemFlags() const { return itemFlags_; }
  bool fromSelectionItem() const { return fromSelectionItem_; }
  const platform::DatabaseRecord& database() const { return database_; }
  const platform::DatabaseRecord& proxyDatabase() const { return proxyDatabase_; }
  // True when the link names no element.
  bool isEmpty() const { return typeID_ == 0 && itemType_ == 0 && index_ == 0 && platform::isZero(guid_); }
  // True when the element is known to the host (index or GUID set).
  bool isResolved() const { return index_ != 0 || !platform::isZero(guid_); }

  void setTypeID(int32_t typeID) { typeID_ = typeID; }
  void setVariation(uint32_t variation) { variation_ = variation; }
  void setIndex(int32_t index) { index_ = index; }
  void setGuid(const platform::Guid& guid) { guid_ = guid; }
  void setDatabase(const platform::DatabaseRecord& database) { database_ = database; }
  // Points the link at the element behind a section proxy: the proxy's identity moves to
  // the proxy fields and the link takes the element's.
  void setProxy(const platform::ElementHeader& proxy, const platform::DatabaseRecord& proxyDatabase);
  // Rebuilds kind, variation, index, GUID and database from a header.
  void setFromHeader(const platform::ElementHeader& header);
  // Writes kind, variation, index and GUID into a header.
  void toHeader(platform::ElementHeader& header) const;
  // The 32-byte selection item of the element.
  platform::SelectionItem selectionItem() const;
  // Index 0, zero GUID, no database.
  void clearIdentity();

  friend bool operator==(const ElementLink& a, const ElementLink& b);
  friend bool operator!=(const ElementLink& a, const ElementLink& b) { return !(a == b); }
  // Orders by (kind, index) for the sorted selection cache.
  static bool lessByKindAndIndex(const ElementLink& a, const ElementLink& b);

 private:
  bool fromSelectionItem_ = false;
  mutable int32_t typeID_ = 0;
  uint32_t variation_ = 0;
  int32_t proxyType_ = 0;
  int32_t itemType_ = 0;
  int32_t index_ = 0;
  platform::Guid guid_{};
  int32_t proxyIndex_ = 0;
  platform::Guid proxyGuid_{};
  int16_t inIndex_ = 1;
  int32_t itemFlags_ = 0;
  platform::DatabaseRecord database_{};
  platform::DatabaseRecord proxyDatabase_{};
};

// A link to one body of an element's 3D model.
class Element3DLink : public ElementLink {
 public:
  Element3DLink() = default;
  Element3DLink(const ElementLink& link, int32_t body, int32_t part) : ElementLink(link), body_(body), part_(part) {}
  int32_t body() const { return body_; }
  int32_t part() const { return part_; }

 private:
  int32_t body_ = 0;
  int32_t part_ = 0;
};

// An owned vector of owned links.
class ElemRefList : public Vector<ElementLink> {
 public:
  ElemRefList() = default;
  // A copy of every link.
  std::unique_ptr<ElemRefList> clone() const;
  // The position of a link equal to link, or -1.
  int32_t find(const ElementLink& link) const;
};

bool operator==(const platform::DatabaseRecord& a, const platform::DatabaseRecord& b);
inline bool operator!=(const platform::DatabaseRecord& a, const platform::DatabaseRecord& b) { return !(a == b); }

}  // namespace lunvik
