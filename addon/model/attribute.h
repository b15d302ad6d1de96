// Attribute wrappers: links to the host's attributes (pens, layers, fills, line types,
// materials, ...) and the text and arrow settings inside element records.
#pragma once

#include <cstdint>
#include <memory>

#include "model/memo.h"
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
  // Writes the record (with the memo of the kinds that have one, when it was read) over the
  // host's attribute of its type and index; false, the host's attribute unchanged, on failure.
  virtual bool store();
  // Creates the attribute in the host from the record (and memo): the host picks the index,
  // which the link takes. False, nothing created, on failure (an empty name or one in use).
  virtual bool create();
  // The memo written with the record; null for kinds without one or a memo not read.
  virtual std::unique_ptr<AttributeMemoStore> buildMemo() const { return nullptr; }
  // The code of the last failing host call (0 after a success).
  platform::GSErr lastError() const { return lastError_; }
  int32_t typeCode() const { return link_.type(); }

 protected:
  // Drops the catalogue's copies of this attribute after the host's changed.
  void forgetCached() const;
  // Reads the attribute's memo from the host into store; false when there is none.
  bool fetchMemo(std::unique_ptr<AttributeMemoStore>& store) const;

  AttributeLink link_;
  mutable platform::AttributeRecord record_{};
  mutable bool loaded_ = false;
  platform::GSErr lastError_ = platform::kNoError;
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
LUNVIK_ATTRIBUTE(Material, platform::kAttrMaterial)
LUNVIK_ATTRIBUTE(CityAttribute, platform::kAttrCity)
LUNVIK_ATTRIBUTE(Font, platform::kAttrFont)

#undef LUNVIK_ATTRIBUTE

// An 8 x 8 dot pattern, one byte a row, bit 7 the leftmost dot.
class Pattern {
 public:
  virtual ~Pattern() = default;
  // The dot at (row, column), 0 to 7 each; false outside.
  bool dot(int row, int column) const;
  // Sets or clears one dot; nothing outside the pattern.
  void setDot(int row, int column, bool on);
  // A row's eight dots; 0 outside.
  uint8_t row(int row) const;
  void setRow(int row, uint8_t dots);

 protected:
  // The eight bytes the pattern lives in.
  virtual const uint8_t* patternRows() const = 0;
  virtual uint8_t* patternRows() = 0;
};

// A fill: its kind (pattern, solid, empty), its pattern, spacing and angle (platform::FillBody).
class Fill : public Attribute, public Pattern {
 public:
  explicit Fill(int32_t index, Specification* catalogue = nullptr)
      : Attribute(AttributeLink(index, platform::kAttrFill, catalogue)) {}
  std::unique_ptr<Attribute> clone() const override { return std::make_unique<Fill>(*this); }
  int16_t fillKind() const { return body().kind; }
  void setFillKind(int16_t kind) { body().kind = kind; }
  double spacing() const { return body().spacing; }
  void setSpacing(double spacing) { body().spacing = spacing; }
  double angle() const { return body().angle; }
  void setAngle(double angle) { body().angle = angle; }

 protected:
  const uint8_t* patternRows() const override { return body().pattern; }
  uint8_t* patternRows() override { return body().pattern; }

 private:
  const platform::FillBody& body() const;
  platform::FillBody& body();
};

// A composite: its pattern (platform::CompositeBody) and its skins, outside first, read from
// the host's attribute memo when first asked for.
class Composite : public Attribute, public Pattern, public ConstructionMemo {
 public:
  explicit Composite(int32_t index, Specification* catalogue = nullptr);
  Composite(const Composite& other);
  std::unique_ptr<Attribute> clone() const override { return std::make_unique<Composite>(*this); }
  // The skins (loaded on first use); storing writes them back.
  std::vector<Skin>& skins();
  const std::vector<Skin>& skins() const;
  // The number of skins the record announces.
  int32_t skinCount() const;
  using Attribute::load;
  // Reads the skins from the host (store null) or from store.
  bool load(int32_t mask, MemoStore* store) override;
  std::unique_ptr<AttributeMemoStore> buildMemo() const override;

 protected:
  const uint8_t* patternRows() const override;
  uint8_t* patternRows() override;
};

// A zone category: its stamp parameters, read from the host's attribute memo when first used.
class ZoneSpec : public Attribute, public ParameterMemo {
 public:
  explicit ZoneSpec(int32_t index, Specification* catalogue = nullptr);
  ZoneSpec(const ZoneSpec& other);
  std::unique_ptr<Attribute> clone() const override { return std::make_unique<ZoneSpec>(*this); }
  using Attribute::load;
  // Reads the parameters from the host (store null) or from store.
  bool load(int32_t mask, MemoStore* store) override;
  std::unique_ptr<AttributeMemoStore> buildMemo() const override;
};

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
  // Shows or hides the layer and writes it back to the host (a layer not in the host yet
  // only takes the flag until create()). False, flags unchanged, when the host refuses.
  bool setHidden(bool on);
  // Locks or unlocks the layer and writes it back, as setHidden.
  bool setLocked(bool on);

 private:
  bool setFlag(int16_t bit, bool on);
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
  // Forgets the cached copy of an attribute (after it changed in the host), unless it is keep.
  void forget(int32_t type, int32_t index, const Attribute* keep = nullptr) {
    if (type == platform::kAttrLayer && layers_.get(index) != keep) layers_.erase(index);
  }
  // Forgets every cached attribute.
  void releaseCaches() { layers_.clear(); }

 private:
  Map<int32_t, Layer> layers_;
};

}  // namespace lunvik
