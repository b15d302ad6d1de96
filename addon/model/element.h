// Elements: the base of every element wrapper, the creator lists that pick a wrapper class
// for a host record, and the switch for deferred memo loading.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "geometry/cad_cube.h"
#include "geometry/cad_point.h"
#include "geometry/cad_poly.h"
#include "geometry/transformation.h"
#include "model/attribute.h"
#include "model/element3d.h"
#include "model/element_link.h"
#include "model/memo.h"
#include "platform/element_records.h"

namespace lunvik {

class Drawing;

// One host element read into an object: its link, its copy of the host record, queued
// transformations and, in the kinds that have them, memo parts loaded on demand.
class Element {
 public:
  // From a host record and its link (the memo parts start unloaded).
  Element(const platform::ElementRecord& record, const ElementLink& link);
  // A new element of kind that the host does not hold yet.
  explicit Element(int32_t typeID);
  Element(const Element& other);
  Element& operator=(const Element&) = delete;
  virtual ~Element();

  virtual std::unique_ptr<Element> clone() const = 0;
  virtual int32_t typeID() const { return link_.typeID(); }
  virtual const ElementLink& link() const { return link_; }
  // The ID text, or null for kinds without one.
  virtual std::unique_ptr<CadString> getId() const { return nullptr; }
  // The header's layer equals the layer's index.
  virtual bool isOnLayer(const Layer& layer) const { return header().layer == layer.index(); }
  virtual bool isEditable() const { return true; }
  // The flags of the element's user data (0 without any).
  virtual int32_t userDataFlags() const;
  // Copies the link into the element and its header.
  virtual void setLink(const ElementLink& link);
  // Index 0, zero GUID, no database.
  virtual void clearIdentity();
  virtual void setId(const CadString&) {}
  // Attaches the add-on's user data (a 16-byte record: version 1, platform 0x5757, the data,
  // value); refused for empty data, or unchanged data without force. With mark the element is
  // linked to the add-on. On success the header and link are refreshed.
  virtual bool setUserData(const std::string& data, bool force, bool mark, int32_t value);
  virtual bool removeUserData();
  // Links the element to the add-on or unlinks it.
  virtual bool markUserData(bool on);
  // The add-on's user data and its value; false when the element carries none.
  virtual bool userData(std::string& data, int32_t* value = nullptr) const;

  virtual std::unique_ptr<Pen> getPen(int32_t part) const;
  virtual std::unique_ptr<Fill> getFill(int32_t) const { return nullptr; }
  virtual std::unique_ptr<LineStyle> getLineStyle(int32_t) const { return nullptr; }
  virtual std::unique_ptr<Material> getMaterial(int32_t) const { return nullptr; }
  virtual std::unique_ptr<TextStyle> getTextStyle(int32_t) const { return nullptr; }
  virtual std::unique_ptr<ArrowStyle> getArrowStyle(int32_t) const { return nullptr; }
  // Setters answer the index they were given.
  virtual int32_t setPen(const Pen& pen, int32_t part);
  virtual int32_t setFill(const Fill& fill, int32_t) { return fill.index(); }
  virtual int32_t setLineStyle(const LineStyle& style, int32_t) { return style.index(); }
  virtual int32_t setMaterial(const Material& material, int32_t) { return material.index(); }
  virtual void setTextStyle(const TextStyle&, int32_t) {}
  virtual void setArrowStyle(const ArrowStyle&, int32_t) {}

  virtual CadPoint position() const { return CadPoint(); }
  // The element's level above its storey; absolute adds the storey's elevation.
  virtual double elevation(bool absolute) const;
  virtual double height() const;
  virtual double width() const;
  virtual double depth() const;
  // The plan length of outline(), 0 without one.
  virtual double perimeter() const;
  // The area of outline() with its holes taken out, 0 without one.
  virtual double area() const;
  // A box: the extent of the element's 3D model when it has bodies, else the host's box of
  // the element ('CABO') lifted by elevation(true); for an element the host does not hold
  // (yet), the box of its own geometry (ownBox()). Null when there is none.
  virtual std::unique_ptr<CadCube> boundingBox() const;
  // The element's 3D model, read from the host on first use and kept; null when the element
  // is not in the host.
  virtual const Element3D* model3D() const;
  // The 3D model, handed to the caller (read first when needed); the element keeps none.
  virtual std::unique_ptr<Element3D> takeModel3D();
  // Forgets the kept 3D model.
  virtual void release3D() { model3D_.reset(); }
  virtual std::unique_ptr<CadPoly> outline() const { return nullptr; }
  virtual int32_t transformCount() const { return transforms_ ? int32_t(transforms_->size()) : 0; }
  virtual void setPosition(const CadPoint&) {}
  virtual void setElevation(double, bool) {}
  // Queues a transformation (takes it).
  virtual void addTransformation(std::unique_ptr<Transformation> transformation);
  // Removes and returns the first queued transformation; the queue goes when empty.
  virtual std::unique_ptr<Transformation> takeTransformation();
  virtual void clearTransformations() { transforms_.reset(); }
  // A new host record: the stored record with the header rebuilt from the link.
  virtual std::unique_ptr<platform::ElementRecord> hostRecord() const;
  // Loads the memo parts of mask; nothing in kinds without memo parts.
  virtual bool loadMemo(int32_t mask, MemoStore* store);
  // The memo to write and the mask bits it fills; an empty memo in kinds without parts.
  virtual std::unique_ptr<ElementMemoStore> buildMemo(int32_t& mask) const;
  // True when the kind cannot be stored without a memo.
  virtual bool needsMemo() const { return false; }
  // The stored record's header.
  virtual const platform::ElementHeader& header() const { return record_.header; }
  virtual platform::ElementHeader& header() { return record_.header; }
  // The host's defaults for a new element of this kind.
  virtual platform::GSErr getDefaults(platform::ElementRecord& record) const;

  // The whole stored record.
  const platform::ElementRecord& record() const { return record_; }
  platform::ElementRecord& record() { return record_; }
  // The drawing the element was read from (not owned); null for a new element.
  Drawing* drawing() const { return drawing_; }
  void setDrawing(Drawing* drawing) { drawing_ = drawing; }
  int16_t layerIndex() const { return header().layer; }
  int16_t storey() const { return header().storey; }
  uint32_t modificationStamp() const { return header().modiStamp; }
  uint32_t variation() const { return header().variation; }
  // True when the stored record came from the host's defaults.
  bool defaultsLoaded() const { return defaultsLoaded_; }

 protected:
  // Fills the stored record from the host's defaults for the kind; the host's result.
  platform::GSErr loadDefaultsRecord();
  // Asks the element's drawing for its memo; null when there is none.
  std::unique_ptr<ElementMemoStore> fetchMemo(int32_t mask) const;
  // The host's box of the element, its z measured from the element's elevation; null when
  // the host has none.
  std::unique_ptr<CadCube> hostBox() const;
  // The box of the stored record's geometry, lifted by elevation(true): the outline's.
  virtual std::unique_ptr<CadCube> ownBox() const;
  // The elevation of the element's storey (plan elements), else 0.
  double storeyElevation() const;

  ElementLink link_;
  platform::ElementRecord record_{};
  std::unique_ptr<TransformList> transforms_;
  Drawing* drawing_ = nullptr;
  bool defaultsLoaded_ = false;
  mutable std::unique_ptr<Element3D> model3D_;
};

// Creates the element object of a host record; null when the record is of another kind.
using ElementCreator = std::unique_ptr<Element> (*)(const platform::ElementRecord& record, const ElementLink& link);

// The framework's and the add-on's creator lists: multimaps from kind to creator. Lookup tries
// the add-on's creators for the kind first, then the framework's, and takes the first object.
class ElementCreators {
 public:
  // The process's lists (part of the framework's kind registries).
  static ElementCreators& instance();
  // Fills the framework's list with the element family (when the framework starts).
  void registerFramework();
  // Empties both lists (when the framework stops).
  void clear();
  // Adds an add-on creator for kind (tried before the ones added earlier? no: in order).
  void add(int32_t typeID, ElementCreator creator);
  // Removes an add-on creator.
  void remove(int32_t typeID, ElementCreator creator);
  // The element object for record, or null when no creator answers.
  std::unique_ptr<Element> create(const platform::ElementRecord& record, const ElementLink& link) const;

 private:
  std::multimap<int32_t, ElementCreator> framework_;
  std::unique_ptr<std::multimap<int32_t, ElementCreator>> addon_;
};

// Deferred memo loading: while on (the default), memo parts load when first used; while off,
// every element read loads its whole memo at once.
bool deferMemoLoading();
void setDeferMemoLoading(bool on);

// Turns deferred memo loading off for a scope and back to its old state after.
class WholeMemoScope {
 public:
  WholeMemoScope() : old_(deferMemoLoading()) { setDeferMemoLoading(false); }
  ~WholeMemoScope() { setDeferMemoLoading(old_); }
  WholeMemoScope(const WholeMemoScope&) = delete;
  WholeMemoScope& operator=(const WholeMemoScope&) = delete;

 private:
  bool old_;
};

}  // namespace lunvik

namespace lunvik {

// The host model's registries, kept by the environment.
class ModelRegistry {
 public:
  ElementCreators creators;
  bool deferMemoLoading = true;
};

}  // namespace lunvik
