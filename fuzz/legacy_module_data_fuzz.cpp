// Feeds arbitrary bytes to the import of earlier versions' module data.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "storage/legacy_module_data.h"
#include "storage/object_store.h"
#include "tests/storage/test_packages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lunvik::ObjectStore store("lunvikPreferenceStore");
  store.add(store_test::PlainPackage());
  store.add(store_test::ListPackage());
  store.add(store_test::MapPackage());
  // Both the direct import and the store's read (which empties itself on failure).
  uint32_t time = 0;
  lunvik::importLegacyModuleData(reinterpret_cast<const char*>(data), size, store.packageList(), time);
  store.read(reinterpret_cast<const char*>(data), size);
  std::string text;
  store.writeText(text);
  return 0;
}
