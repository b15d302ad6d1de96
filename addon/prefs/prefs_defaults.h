// What the preference packages share: default values taken from the add-on's string lists,
// legacy key tables, and the default documents (the user's default files in the preferences
// folder and the embedded ones).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/host_types.h"
#include "runtime/cad_string.h"
#include "storage/data_file.h"
#include "storage/xml_shipping.h"
#include "storage/xml_shipping_units.h"

namespace varnholt {

// The string list of preference defaults and default file names.
constexpr int32_t kPrefsDefaultStrings = 32525;
// The string list holding the names of the factory alignment presets (items 17 to 27).
constexpr int32_t kAlignPresetStrings = 32527;
// The host file type and creator of the user's default files.
constexpr uint32_t kDefaultFileType = platform::fourcc("    ");
constexpr uint32_t kDefaultFileCreator = platform::fourcc(" XML");

// The number in string index of list 32525, or fallback when that string holds no number.
double defaultNumber(int32_t index, double fallback);
// The text of string index of list, or fallback when that string is empty.
lunvik::CadString defaultText(int32_t list, int32_t index, const char* fallback);

// A field's element tag and the upper-case key earlier versions stored it under (null: none).
struct PrefsField {
  const char* tag;
  const char* legacyKey;
};

// Replaces a legacy key by the tag of the field stored under it; false when no field of the
// count fields has that key.
bool translateFieldKey(lunvik::CadString& key, const PrefsField* fields, std::size_t count);

// A proxy unit over a field of a record.
template <typename T>
std::unique_ptr<lunvik::Shipping> prefsUnit(T* field, const char* tag) {
  return std::make_unique<lunvik::XMLShippingProxyUnit<T>>(field, tag);
}

// The user's default file of a package: string nameIndex of list 32525 (fallbackName when that
// string is empty) followed by ".xml", in the add-on's preferences folder, with the host file
// type and creator of default files. Null when the add-on has no preferences folder.
std::unique_ptr<lunvik::DataFile> userDefaultFile(int32_t nameIndex, const char* fallbackName);

// Writes package into file as a document (the XML declaration first). False when the file
// cannot be written.
bool writeDocument(lunvik::Shipping& package, lunvik::DataFile& file);

// Reads the document in file into package. False when the file cannot be read or its text
// does not read; package is then partly filled.
bool readDocument(lunvik::Shipping& package, lunvik::DataFile& file);

// Where readDefaultDocument found a package's defaults.
enum class DefaultsSource {
  userFile,  // the user's default file, read completely
  embedded,  // the embedded document (there is no user's file)
  noFolder,  // there is no preferences folder: nothing was read
  damaged,   // the user's file is empty or does not read completely: package is partly filled
};

// Reads a package's defaults into package (a fresh one): the user's default file when it
// exists (then the only source), else the embedded resource FILE resourceId when it holds any
// text.
DefaultsSource readDefaultDocument(lunvik::Shipping& package, int32_t nameIndex, const char* fallbackName,
                                   int32_t resourceId);

// Shows the add-on's error alert for a user's default file that is empty, does not read or
// lists nothing, with the file's name.
void reportUnreadableDefaults(int32_t nameIndex, const char* fallbackName);

}  // namespace varnholt
