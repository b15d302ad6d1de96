// Helpers of the preference tests: the written text of a package, reading text into one, and
// a loaded host whose add-on has a preferences folder of its own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "runtime/addon.h"
#include "storage/data_buffer.h"
#include "storage/data_file.h"
#include "storage/xml_reader.h"
#include "storage/xml_writer.h"
#include "support/loaded_host.h"

namespace prefs_test {

// The text the writer makes of object (module-data form unless a declaration is asked for).
inline std::string written(lunvik::Shipping& object, bool declaration = false) {
  lunvik::DataBufferOut out;
  EXPECT_TRUE(lunvik::XMLWriter().write(object, out, declaration));
  return out.bytes();
}

// Reads text into object.
inline bool readText(lunvik::Shipping& object, const std::string& text) {
  return lunvik::XMLReader().read(object, text.data(), text.size());
}

// A loaded host; usePreferencesFolder gives the user an application-data folder in a fresh
// temporary folder, removed after the test.
class PrefsHost : public testing_support::LoadedHost {
 protected:
  void TearDown() override {
    LoadedHost::TearDown();
    std::error_code ignored;
    if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
  }

  // Sets the application-data folder and answers the add-on's preferences folder, created.
  std::string usePreferencesFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "trestlar-prefs-XXXXXX").string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "no temporary folder";
    root_ = pattern;
    host().setApplicationDataFolder(root_ + "/");
    std::unique_ptr<lunvik::CadString> folder = lunvik::theAddon()->preferencesFolder();
    if (!folder) {
      ADD_FAILURE() << "no preferences folder";
      return std::string();
    }
    std::string native = folder->str();
    for (char& c : native)
      if (c == '\\') c = '/';
    std::filesystem::create_directories(native);
    return native;
  }

  // Writes text as the file at path through the host.
  static void writeFile(const lunvik::CadString& path, const std::string& text) {
    lunvik::DataFile file(path);
    ASSERT_TRUE(file.openForWriting());
    ASSERT_TRUE(file.writeText(text));
    ASSERT_TRUE(file.close());
  }

 private:
  std::string root_;
};

}  // namespace prefs_test
