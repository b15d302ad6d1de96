#include "prefs/prefs_defaults.h"

#include <string>

#include "platform/resource_module.h"
#include "runtime/addon.h"
#include "runtime/alert.h"
#include "runtime/environment.h"
#include "storage/shipping_text.h"
#include "storage/xml_reader.h"
#include "storage/xml_writer.h"

namespace varnholt {

namespace {

// The error list and its message for a default file that does not read.
constexpr int32_t kErrorStrings = 32524;
constexpr int32_t kUnreadableDefaultsError = 25;

}  // namespace

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
  // The old file stays whole until the new one is complete.
  if (!file.openForReplacing()) return false;
  lunvik::XMLWriter writer;
  if (!writer.write(package, file, true)) {
    file.discard();
    return false;
  }
  return file.close();
}

bool readDocument(lunvik::Shipping& package, lunvik::DataFile& file) {
  std::string text;
  const bool gotText = file.readAll(text);
  // Whatever part of the text reads stays in package, even when the file breaks off.
  const bool read = lunvik::XMLReader().read(package, text.data(), text.size());
  return gotText && read;
}

DefaultsSource readDefaultDocument(lunvik::Shipping& package, int32_t nameIndex, const char* fallbackName,
                                   int32_t resourceId) {
  std::unique_ptr<lunvik::DataFile> file = userDefaultFile(nameIndex, fallbackName);
  if (!file) return DefaultsSource::noFolder;
  // The user's file replaces the embedded defaults; an empty one is no list of defaults.
  if (file->exists()) {
    int64_t bytes = 0;
    if (!file->size(bytes) || bytes == 0) return DefaultsSource::damaged;
    return readDocument(package, *file) ? DefaultsSource::userFile : DefaultsSource::damaged;
  }
  auto document = lunvik::Environment::instance().resource(platform::kResourceFile, resourceId);
  if (document && !document->empty())
    lunvik::XMLReader().read(package, reinterpret_cast<const char*>(document->data()), document->size());
  return DefaultsSource::embedded;
}

void reportUnreadableDefaults(int32_t nameIndex, const char* fallbackName) {
  lunvik::CadString text = lunvik::Environment::instance().string(kErrorStrings, kUnreadableDefaultsError);
  if (std::unique_ptr<lunvik::DataFile> file = userDefaultFile(nameIndex, fallbackName)) {
    text += " (";
    text += file->name();
    text += ")";
  }
  lunvik::ErrorAlert().show(text);
}

}  // namespace varnholt
