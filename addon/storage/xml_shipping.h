// The shipping model: every persistent object describes itself as a tree of named containers
// and typed leaf values. XMLWriter turns such a tree into XML text and XMLReader fills one
// from XML text; no other class writes or parses XML.
//
// Every concrete shippable class derives from one of XMLShippingUnit, XMLShippingAssembly or
// XMLShippingArray (XMLShippingMap for maps), so it is both a Shipping (content and read life
// cycle) and an XMLShipping (its element name). A class that combines Shipping and
// XMLShipping some other way is still written and read, found by run-time casts.
#pragma once

#include <cstddef>
#include <memory>

#include "runtime/cad_string.h"

namespace lunvik {

// Base of everything shippable: the present flag and the hooks of a read.
class Shipping {
 public:
  // The XML class a shipping derives from, recorded by that class's constructors so that the
  // writer and reader tell units, records, lists and maps apart without run-time type casts.
  enum class XMLRole : unsigned char { none, unit, assembly, array, map };

  Shipping() = default;
  // Copies the present flag; the role is the copy's own.
  Shipping(const Shipping& other) : present_(other.present_) {}
  Shipping& operator=(const Shipping& other) {
    present_ = other.present_;
    return *this;
  }
  virtual ~Shipping();

  // Marks the object present (written) or absent (left out by the writer).
  virtual void setPresent(bool present);
  // Empties the content by calling reset.
  virtual void clear();
  // Sets the content to its empty state (numbers 0, strings empty, flags false, lists emptied).
  virtual void reset() = 0;
  // Called when the object's element has been read completely; false fails the read.
  virtual bool complete();
  // Only present objects are written.
  virtual bool isPresent() const;

  // The XML class this shipping derives from (none when it derives from none of them).
  XMLRole xmlRole() const { return xmlRole_; }

 protected:
  void setXMLRole(XMLRole role) { xmlRole_ = role; }

 private:
  bool present_ = true;
  XMLRole xmlRole_ = XMLRole::none;
};

// Second base of every shippable class: the name of its XML element.
class XMLShipping {
 public:
  XMLShipping() = default;
  XMLShipping(const XMLShipping&) = default;
  XMLShipping& operator=(const XMLShipping&) = default;
  virtual ~XMLShipping();

  // The element name.
  virtual const CadString& tagName() const = 0;
};

// A leaf value with a text form.
class ShippingUnit : public Shipping {
 public:
  // Puts the value's text form into out; false when it has none.
  virtual bool toText(CadString& out) = 0;
  // Takes the value from its text form; false fails the read.
  virtual bool fromText(const CadString& text) = 0;
  // True when the value is written as an attribute of its container's element.
  virtual bool isAttribute() const;
  // Chooses attribute or child-element form.
  virtual void setAttribute(bool attribute);
  // The address of the value.
  virtual void* valueAddress() = 0;
  // Copies the value from value, which points to an object of the unit's value type.
  virtual void setValue(const void* value) = 0;

 private:
  bool attribute_ = false;
};

// A leaf value of the XML world.
class XMLShippingUnit : public ShippingUnit, public XMLShipping {
 public:
  XMLShippingUnit() { setXMLRole(XMLRole::unit); }
  XMLShippingUnit(const XMLShippingUnit& other) : ShippingUnit(other), XMLShipping(other) {
    setXMLRole(XMLRole::unit);
  }
  XMLShippingUnit& operator=(const XMLShippingUnit&) = default;
};

// A node with children. The wrappers that child, childByName and newChild answer belong to
// the caller; deleting a wrapper never deletes the object it wraps.
class ShippingContainer : public Shipping {
 public:
  // Resets the children, last child first.
  void reset() override;
  // The number of children (some may answer null from child).
  virtual std::size_t count() const = 0;
  // True for a list of like elements, false for a record of fixed children.
  virtual bool isArray() const = 0;
  // A new wrapper for child index, or null.
  virtual std::unique_ptr<Shipping> child(std::size_t index) = 0;
  // A new wrapper for the child whose element is named tag, or null.
  virtual std::unique_ptr<Shipping> childByName(const CadString& tag) = 0;
  // For arrays: appends a new element and answers a wrapper for it; null for records.
  virtual std::unique_ptr<Shipping> newChild(const CadString& tag) = 0;
};

// A record with a fixed, ordered set of children.
class ShippingAssembly : public ShippingContainer {
 public:
  bool isArray() const override;
  std::unique_ptr<Shipping> newChild(const CadString& tag) override;
};

// A record of the XML world. Subclasses answer count and child (a proxy unit or proxy
// container over one field per index); childByName compares tag with the children's tags.
class XMLShippingAssembly : public ShippingAssembly, public XMLShipping {
 public:
  XMLShippingAssembly() { setXMLRole(XMLRole::assembly); }
  XMLShippingAssembly(const XMLShippingAssembly& other)
      : ShippingAssembly(other), XMLShipping(other) {
    setXMLRole(XMLRole::assembly);
  }
  XMLShippingAssembly& operator=(const XMLShippingAssembly& other) {
    ShippingAssembly::operator=(other);
    return *this;
  }

  // The child whose tag equals tag. The child after the last match is tried first, so reading
  // fields in their written order makes one wrapper per field; then the others in order. Tags
  // within one record are unique, so the answer is the same as a search from the first child.
  std::unique_ptr<Shipping> childByName(const CadString& tag) override;

 private:
  std::size_t lookupStart_ = 0;
};

// A list of like elements.
class ShippingArray : public ShippingContainer {
 public:
  bool isArray() const override;
};

// A list of the XML world. newChild appends a default element whatever the tag.
class XMLShippingArray : public ShippingArray, public XMLShipping {
 public:
  XMLShippingArray() { setXMLRole(XMLRole::array); }
  XMLShippingArray(const XMLShippingArray& other) : ShippingArray(other), XMLShipping(other) {
    setXMLRole(XMLRole::array);
  }
  XMLShippingArray& operator=(const XMLShippingArray&) = default;

  // The first element whose tag equals tag (a linear search; readers use newChild).
  std::unique_ptr<Shipping> childByName(const CadString& tag) override;
};

// Casts for shippings that derive from no XML base but combine Shipping and XMLShipping
// some other way.
XMLShipping* xmlShippingByCast(Shipping* object);
XMLShippingUnit* xmlUnitByCast(Shipping* object);
XMLShippingAssembly* xmlAssemblyByCast(Shipping* object);
XMLShippingArray* xmlArrayByCast(Shipping* object);
ShippingContainer* shippingContainerByCast(Shipping* object);
ShippingUnit* shippingUnitByCast(Shipping* object);
bool sameTagNoCase(const char* a, std::size_t length, const CadString& b);

// The XML side of a shippable object, or null when it has none.
inline XMLShipping* xmlShipping(Shipping* object) {
  if (!object) return nullptr;
  switch (object->xmlRole()) {
    case Shipping::XMLRole::unit: return static_cast<XMLShippingUnit*>(object);
    case Shipping::XMLRole::assembly: return static_cast<XMLShippingAssembly*>(object);
    case Shipping::XMLRole::array:
    case Shipping::XMLRole::map: return static_cast<XMLShippingArray*>(object);
    case Shipping::XMLRole::none: break;
  }
  return xmlShippingByCast(object);
}
inline const XMLShipping* xmlShipping(const Shipping* object) {
  return xmlShipping(const_cast<Shipping*>(object));
}

// The object as a unit of the XML world, or null.
inline XMLShippingUnit* xmlUnit(Shipping* object) {
  if (!object) return nullptr;
  if (object->xmlRole() == Shipping::XMLRole::unit) return static_cast<XMLShippingUnit*>(object);
  return object->xmlRole() == Shipping::XMLRole::none ? xmlUnitByCast(object) : nullptr;
}

// The object as a unit (of any unit class), or null.
inline ShippingUnit* shippingUnit(Shipping* object) {
  if (!object) return nullptr;
  if (object->xmlRole() == Shipping::XMLRole::unit) return static_cast<XMLShippingUnit*>(object);
  return object->xmlRole() == Shipping::XMLRole::none ? shippingUnitByCast(object) : nullptr;
}

// The object as a record of the XML world, or null.
inline XMLShippingAssembly* xmlAssembly(Shipping* object) {
  if (!object) return nullptr;
  if (object->xmlRole() == Shipping::XMLRole::assembly)
    return static_cast<XMLShippingAssembly*>(object);
  return object->xmlRole() == Shipping::XMLRole::none ? xmlAssemblyByCast(object) : nullptr;
}

// The object as a list of the XML world (maps are lists too), or null.
inline XMLShippingArray* xmlArray(Shipping* object) {
  if (!object) return nullptr;
  const Shipping::XMLRole role = object->xmlRole();
  if (role == Shipping::XMLRole::array || role == Shipping::XMLRole::map)
    return static_cast<XMLShippingArray*>(object);
  return role == Shipping::XMLRole::none ? xmlArrayByCast(object) : nullptr;
}

// The object as a container (record or list), or null.
inline ShippingContainer* shippingContainer(Shipping* object) {
  if (!object) return nullptr;
  switch (object->xmlRole()) {
    case Shipping::XMLRole::unit: return nullptr;
    case Shipping::XMLRole::assembly: return static_cast<XMLShippingAssembly*>(object);
    case Shipping::XMLRole::array:
    case Shipping::XMLRole::map: return static_cast<XMLShippingArray*>(object);
    case Shipping::XMLRole::none: break;
  }
  return shippingContainerByCast(object);
}

// True when the element names a and b are equal: the same bytes, or equal under the host's
// text comparison (whole strings, case type 1).
inline bool sameTag(const char* a, std::size_t length, const CadString& b) {
  // Names are short: a loop is cheaper than a call, and the same bytes never need the host.
  if (length == b.size()) {
    const char* c = b.c_str();
    std::size_t i = 0;
    while (i < length && a[i] == c[i]) ++i;
    if (i == length) return true;
  }
  return sameTagNoCase(a, length, b);
}
inline bool sameTag(const CadString& a, const CadString& b) {
  return sameTag(a.c_str(), a.size(), b);
}

}  // namespace lunvik
