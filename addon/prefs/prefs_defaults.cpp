#include "prefs/prefs_defaults.h"

#include <string>

#include "platform/resource_module.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "storage/shipping_text.h"
#include "storage/xml_reader.h"
#include "storage/xml_writer.h"

namespace varnholt {

double defaultNumber(int32_t index, double fallback) {
  const lunvik::CadString text = lunvik::Environment::instance().string(kPrefsDefaultStrings, index);
  double value = fallback;
  if (!lunvik::scanDouble(text.c_str(), text.size(), value)) return fallback;
  return value;
}

lunvik::CadString defaultText(int32_t list, int32_t index, const char* fallback) {
  lunvik::CadString text = lunvik::Environment::instance().string(list, index);
  return text.empty() ? lunvik::CadString(fallback) : text;
}

bool translateFieldKey(lunvik::CadString& key, const PrefsField* fields, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (fields[i].legacyKey && key == fields[i].legacyKey) {
      key = fields[i].tag;
      return true;
    }
  }
  return false;
}

std::unique_ptr<lunvik::DataFile> userDefaultFile(int32_t nameIndex, const char* fallbackName) {
  lunvik::Addon* addon = lunvik::theAddon();
  if (!addon) return nullptr;
  std::unique_ptr<lunvik::CadString> folder = addon->preferencesFolder();
  if (!folder || folder->empty()) return nullptr;
  lunvik::CadString path = *folder;
  const char last = path[path.size() - 1];
  if (last != '\\' && last != '/') path += '\\';
  path += defaultText(kPrefsDefaultStrings, nameIndex, fallbackName);
  path += ".xml";
  return std::make_unique<lunvik::DataFile>(path, kDefaultFileType, kDefaultFileCreator);
}

bool writeDocument(lunvik::Shipping& package, lunvik::DataFile& file) {
  if (!file.openForWriting()) return false;
  lunvik::XMLWriter writer;
  const bool written = writer.write(package, file, true);
  const bool closed = file.close();
  return written && closed;
}

bool readDocument(lunvik::Shipping& package, lunvik::DataFile& file) {
  std::string text;
  const bool gotText = file.readAll(text);
  // Whatever part of the text reads stays in package, even when the file breaks off.
  const bool read = lunvik::XMLReader().read(package, text.data(), text.size());
  return gotText && read;
}

void readDefaultDocument(lunvik::Shipping& package, int32_t nameIndex, const char* fallbackName,
                         int32_t resourceId) {
  std::unique_ptr<lunvik::DataFile> file = userDefaultFile(nameIndex, fallbackName);
  if (!file) return;
  // The user's file replaces the embedded defaults even when it is damaged.
  if (file->exists()) {
    readDocument(package, *file);
    return;
  }
  auto document = lunvik::Environment::instance().resource(platform::kResourceFile, resourceId);
  if (!document || document->empty()) return;
  lunvik::XMLReader().read(package, reinterpret_cast<const char*>(document->data()), document->size());
}

}  // namespace varnholt
