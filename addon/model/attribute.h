// Attribute wrappers: links to the host's attributes (pens, layers, fills, line types,
// materials, ...) and the text and arrow settings inside element records.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/element_records.h"
#include "runtime/cad_string.h"
#include "runtime/containers.h"

namespace lunvik {

class Specification;

// Identifies one host attribute: index (16 bits used), type code and catalogue.
class AttributeLink {
 public:
  AttributeLink() = default;
  AttributeLink(int32_t index, int32_t type, Specification* catalogue = nullptr);
  int32_t index() const { return index_; }
  int32_t type() const { return type_; }
  Specification* catalogue() const { return catalogue_; }
  // Type and index both non-zero.
  bool isValid() const { return type_ != 0 && index_ != 0; }
  friend bool operator==(const AttributeLink& a, const AttributeLink& b) {
    return a.index_ == b.index_ && a.type_ == b.type_;
  }

 private:
  int32_t index_ = 0;
  int32_t type_ = 0;
  Specification* catalogue_ = nullptr;
};

// The base of the attribute wrappers: a link and the host record of the attribute, loaded
// when first needed.
class Attribute {
 public:
  explicit Attribute(const AttributeLink& link);
  Attribute(const Attribute& other);
  virtual ~Attribute();

  virtual std::unique_ptr<Attribute> clone() const = 0;
  // The record's index is non-zero and the link is valid.
  virtual bool isValid() const;
  virtual const AttributeLink& link() const { return link_; }
  virtual int32_t index() const { return link_.index(); }
  // The 16-bit flags of the record's header.
  virtual int16_t flags() const;
  // The record's name.
  virtual CadString name() const;
  // Copies the link and reloads the record.
  virtual void setLink(const AttributeLink& link);
  virtual void setFlags(int16_t flags);
  // Whole characters that fit in 31 bytes.
  virtual void setName(const CadString& name);
  // A new copy of the host record.
  virtual std::unique_ptr<platform::AttributeRecord> hostRecord() const;
  virtual const platform::AttributeHeader& header() const;
  virtual platform::AttributeHeader& header();
  // Reads the record from the host; false when the host has no such attribute.
  virtual bool load() const;
  int32_t typeCode() const { return link_.type(); }

 protected:
  AttributeLink link_;
  mutable platform::AttributeRecord record_{};
  mutable bool loaded_ = false;
};

#define LUNVIK_ATTRIBUTE(Class, Code)                                                       \
  class Class : public Attribute {                                                         \
   public:                                                                                 \
    explicit Class(int32_t index, Specification* catalogue = nullptr)                      \
        : Attribute(AttributeLink(index, Code, catalogue)) {}                              \
    std::unique_ptr<Attribute> clone() const override { return std::make_unique<Class>(*this); } \
  };

LUNVIK_ATTRIBUTE(Pen, platform::kAttrPen)
LUNVIK_ATTRIBUTE(LineStyle, platform::kAttrLineType)
LUNVIK_ATTRIBUTE(Fill, platform::kAttrFill)
LUNVIK_ATTRIBUTE(Composite, platform::kAttrComposite)
LUNVIK_ATTRIBUTE(Material, platform::kAttrMaterial)
LUNVIK_ATTRIBUTE(CityAttribute, platform::kAttrCity)
LUNVIK_ATTRIBUTE(ZoneSpec, platform::kAttrZoneCategory)
LUNVIK_ATTRIBUTE(Font, platform::kAttrFont)

#undef LUNVIK_ATTRIBUTE

// A layer: visibility and lock state through flag bits 0 and 1.
class Layer : public Attribute {
 public:
  explicit Layer(int32_t index, Specification* catalogue = nullptr)
      : Attribute(AttributeLink(index, platform::kAttrLayer, catalogue)) {}
  std::unique_ptr<Attribute> clone() const override { return std::make_unique<Layer>(*this); }
  bool load() const override;
  // Flag bit 0: the layer is hidden.
  bool isHidden() const { return (flags() & platform::kLayerHidden) != 0; }
  // Flag bit 1: the layer is locked.
  bool isLocked() const { return (flags() & platform::kLayerLocked) != 0; }
  void setHidden(bool on);
  void setLocked(bool on);
};

// The text settings inside an element record: font, style bits and size.
class TextStyle {
 public:
  TextStyle(int16_t font = 0, int16_t style = 0, double size = 0) : font_(font), style_(style), size_(size) {}
  int16_t font() const { return font_; }
  int16_t style() const { return style_; }
  double size() const { return size_; }

 private:
  int16_t font_;
  int16_t style_;
  double size_;
};

// The arrow settings inside an element record.
class ArrowStyle {
 public:
  ArrowStyle(int16_t type = 0, double size = 0) : type_(type), size_(size) {}
  int16_t type() const { return type_; }
  double size() const { return size_; }

 private:
  int16_t type_;
  double size_;
};

// The project's attribute catalogue: attributes read from the host, cached by link.
class Specification {
 public:
  // The layer of that index (cached), or null when the host has none.
  const Layer* layer(int32_t index);
  // Forgets every cached attribute.
  void releaseCaches() { layers_.clear(); }

 private:
  Map<int32_t, Layer> layers_;
};

}  // namespace lunvik
