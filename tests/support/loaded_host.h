// A stand-in host with the add-on linked into the test program and loaded.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/core/host.h"
#include "platform/addon_exports.h"

namespace testing_support {

// The add-on's exports as linked into this program.
inline std::unique_ptr<standin::AddonModule> linkedAddon() {
  return std::make_unique<standin::AddonModule>(&GetExportedFuncAddrs, &SetImportedFuncAddrs);
}

// A test fixture whose host has the add-on loaded before each test.
// The user's application-data folder is a fresh temporary folder, removed afterwards.
class LoadedHost : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trestlar-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    appData_ = pattern;
    host_ = std::make_unique<standin::Host>();
    host_->setApplicationDataFolder(appData_);
    std::string error;
    ASSERT_TRUE(host_->load(linkedAddon(), error)) << error;
  }
  void TearDown() override {
    host_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(appData_, ignored);
  }

  standin::Host& host() { return *host_; }
  // The application-data folder of this test.
  const std::string& appData() const { return appData_; }

  std::unique_ptr<standin::Host> host_;
  std::string appData_;
};

}  // namespace testing_support
