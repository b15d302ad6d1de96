// The store of preference packages, and the add-on's module data read and written through it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/host_types.h"
#include "runtime/cad_string.h"
#include "storage/package.h"

namespace lunvik {

// A named store of packages, one per code, in ascending code order.
class ObjectStore {
 public:
  explicit ObjectStore(const CadString& name);
  virtual ~ObjectStore();
  ObjectStore(const ObjectStore&) = delete;
  ObjectStore& operator=(const ObjectStore&) = delete;

  // The store's name.
  const CadString& name() const { return packages_->tagName(); }
  // The host time when the store was made or last emptied.
  uint32_t timestamp() const { return timestamp_; }

  // Stores a clone of package under its code, replacing the package there; when the very
  // object is stored already it is kept. With notify, publishes (code, 0) through the add-on.
  void add(const Package& package, bool notify = false);
  // Takes package, replacing the package of the same code.
  void add(std::unique_ptr<Package> package, bool notify = false);
  // The package of code, or null.
  Package* get(uint32_t code) const { return packages_->packages().get(code); }
  // Replaces the package list by an empty one of the same name.
  void empty();
  // Clears every package, in code order.
  void resetAll();
  // The number of packages.
  std::size_t count() const { return packages_->packages().size(); }
  // The package list (for the reader and writer).
  PackageList& packageList() { return *packages_; }

  // The packages' elements one after another, without the XML declaration: those of codes in
  // the given order, or all in code order. False when a package does not write.
  bool writeText(std::string& text, const std::vector<uint32_t>* codes = nullptr);
  // The same in a new host memory block owned by the caller; null on failure.
  platform::GSHandle write(const std::vector<uint32_t>* codes = nullptr);
  // Reads packages from size bytes of text (XML or a legacy block). Every package is cleared
  // first; a block that does not read empties the store (unread() then tells so). With notify,
  // publishes the change event of every package. No text empties the store and succeeds.
  bool read(const char* data, std::size_t size, bool notify = false);
  // The same for a host memory block (null: no text).
  bool readHandle(platform::GSHandle block, bool notify = false);
  // Merges other in: packages of a code present here merge, the others are added.
  void merge(const ObjectStore& other);

  // Writes every package as the project's module data. False when nothing could be stored.
  bool save();
  // Reads the project's module data; false when there is none or it does not read.
  bool load(bool notify = false);

  // True when the last read was given text that did not read, or the host failed to hand the
  // module data over (not when there was none).
  bool unread() const { return unread_; }
  // The tag of the package whose element did not read at the last read; empty when the text
  // failed outside every package, or when it read.
  const CadString& unreadPackage() const { return unreadPackage_; }

 private:
  void publishChange(uint32_t code) const;

  uint32_t timestamp_;
  std::unique_ptr<PackageList> packages_;
  bool unread_ = false;
  CadString unreadPackage_;
};

}  // namespace lunvik
