#include "storage/package.h"

#include <ctime>

#include "runtime/host_interface.h"
#include "storage/xml_shipping_proxies.h"

namespace lunvik {

uint32_t hostTime() {
  if (auto now = host().operation(&platform::HostFunctionTable::TMGetTime)) return now();
  return uint32_t(std::time(nullptr));
}

Package::Package() : timestamp_(hostTime()) {}

void Package::merge(const Package&) {}

void Package::touch() { timestamp_ = hostTime(); }

bool Package::translateLegacyKey(CadString&) const { return true; }

std::unique_ptr<Shipping> PackageList::child(std::size_t index) {
  if (index >= packages_.size()) return nullptr;
  auto it = packages_.begin();
  std::advance(it, std::ptrdiff_t(index));
  return std::make_unique<XMLShippingProxyAssembly>(*it->second);
}

namespace {

// A package handed to the reader; the list forgets it as the package being read once its
// element has been read completely.
class ReadingProxy : public XMLShippingProxyAssembly {
 public:
  ReadingProxy(Package& package, PackageList& list) : XMLShippingProxyAssembly(package), list_(list) {}
  bool complete() override {
    if (!XMLShippingProxyAssembly::complete()) return false;
    list_.setReading(CadString());
    return true;
  }

 private:
  PackageList& list_;
};

}  // namespace

std::unique_ptr<Shipping> PackageList::childByName(const CadString& tag) {
  for (auto& entry : packages_) {
    if (!sameTag(tag, entry.second->tagName())) continue;
    reading_ = entry.second->tagName();
    return std::make_unique<ReadingProxy>(*entry.second, *this);
  }
  return nullptr;
}

}  // namespace lunvik
