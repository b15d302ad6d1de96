// The session-script verb of the host's polygon tools: draw KIND X Y ... draws a hatch or slab from
// the coordinates it is given.
#pragma once

#include <string>

#include "cli/script.h"

namespace trestlar {

// draw hatch|slab X Y [arc=ANGLE] X Y ... [hole X Y ...] [view=NAME] [as=NAME]
bool verbDraw(ScriptRun& run, const ScriptLine& line, std::string& error);

}  // namespace trestlar
