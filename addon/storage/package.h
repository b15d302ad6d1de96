// Preference packages and the list of them a store keeps.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/cad_string.h"
#include "runtime/containers.h"
#include "storage/xml_shipping.h"

namespace lunvik {

// Base of every preference package: a shippable record with a four-character code and the
// host time it was last touched.
class Package : public XMLShippingAssembly {
 public:
  Package();
  Package(const Package& other) = default;
  Package& operator=(const Package& other) = default;

  // A new copy.
  virtual Package* clone() const = 0;
  // The package's four-character code.
  virtual uint32_t code() const = 0;
  // The host time in seconds when the package was made or last touched.
  virtual uint32_t timestamp() const { return timestamp_; }
  // A copy for the packages that hold a list; null for the others.
  virtual Package* listCopy() const { return nullptr; }
  // Takes in what other (a package of the same code) adds; nothing by default.
  virtual void merge(const Package& other);
  // Sets the timestamp to now.
  virtual void touch();
  // Translates a legacy upper-case key (or, for the package's own tag and its list's tag, the
  // tag of the next level down); false when the key has no translation.
  virtual bool translateLegacyKey(CadString& name) const;

 private:
  uint32_t timestamp_ = 0;
};

// The host's clock in seconds (the system's when there is no host).
uint32_t hostTime();

// The packages of a store by code, in ascending code order; its element name is the store's.
class PackageList : public XMLShippingAssembly {
 public:
  explicit PackageList(const CadString& name) : name_(name) {}

  const CadString& tagName() const override { return name_; }
  std::size_t count() const override { return packages_.size(); }
  // A wrapper for the index-th package in code order.
  std::unique_ptr<Shipping> child(std::size_t index) override;
  // A wrapper for the package whose tag is tag.
  std::unique_ptr<Shipping> childByName(const CadString& tag) override;

  // The packages by code.
  Map<uint32_t, Package>& packages() { return packages_; }
  const Map<uint32_t, Package>& packages() const { return packages_; }

  // The tag of the package being read: set when a reader finds it, empty again once its
  // element was read completely; after a failed read, the package that did not read (empty
  // when the failure lay outside every package).
  const CadString& reading() const { return reading_; }
  void setReading(const CadString& tag) { reading_ = tag; }

 private:
  CadString name_;
  Map<uint32_t, Package> packages_;
  CadString reading_;
};

}  // namespace lunvik
