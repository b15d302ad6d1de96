// A stand-in host with the add-on linked into the test program and loaded.
#pragma once

#include <gtest/gtest.h>

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
class LoadedHost : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = std::make_unique<standin::Host>();
    std::string error;
    ASSERT_TRUE(host_->load(linkedAddon(), error)) << error;
  }
  void TearDown() override { host_.reset(); }

  standin::Host& host() { return *host_; }

  std::unique_ptr<standin::Host> host_;
};

}  // namespace testing_support
