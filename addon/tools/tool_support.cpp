#include "tools/tool_support.h"

#include "model/drawing.h"
#include "runtime/addon.h"
#include "runtime/environment.h"
#include "runtime/host_interface.h"

namespace varnholt {

namespace {

constexpr int32_t kUndoStrings = 32526;

}  // namespace

CommandStep::CommandStep(int32_t undoNameItem) {
  if (lunvik::Addon* addon = lunvik::theAddon()) id_ = addon->openUndoStep(productText(kUndoStrings, undoNameItem));
}

CommandStep::~CommandStep() {
  if (lunvik::Addon* addon = lunvik::theAddon()) addon->closeUndoStep(id_);
}

void bringToFront(lunvik::Drawing& drawing) {
  platform::DatabaseRecord id = drawing.identity();
  lunvik::host().call(&platform::HostFunctionTable::HostAutomate, platform::fourcc("CHWD"), &id, nullptr, nullptr);
}

lunvik::CadString productText(int32_t list, int32_t item) { return lunvik::Environment::instance().string(list, item); }

}  // namespace varnholt
