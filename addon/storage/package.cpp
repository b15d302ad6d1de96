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

std::unique_ptr<Shipping> PackageList::childByName(const CadString& tag) {
  for (auto& entry : packages_)
    if (sameTag(tag, entry.second->tagName())) return std::make_unique<XMLShippingProxyAssembly>(*entry.second);
  return nullptr;
}

}  // namespace lunvik
