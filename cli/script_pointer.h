// The session-script verbs of the pointer: the clicks a command's input requests take
// (point, arc, polygon, escape), and the checks of the pointer after a command.
#pragma once

#include <string>

#include "cli/script.h"

namespace trestlar {

// point X Y [Z]: the next point request, or the end of the next line request.
bool verbPoint(ScriptRun& run, const ScriptLine& line, std::string& error);
// arc X Y [Z] [cw]: the cursor of the next arc request, drawn counter-clockwise unless cw.
bool verbArc(ScriptRun& run, const ScriptLine& line, std::string& error);
// polygon X Y ... | back: the vertices of the next polygon request.
bool verbPolygon(ScriptRun& run, const ScriptLine& line, std::string& error);
// escape: cancels the next input request.
bool verbEscape(ScriptRun& run, const ScriptLine& line, std::string& error);

// After the command of line: a request the script could not answer, or answers no request
// took; false with error (the answers left are dropped).
bool pointerAfterCommand(ScriptRun& run, const ScriptLine& line, std::string& error);
// At the end of a script: answers no command line followed; false with error.
bool pointerAfterScript(ScriptRun& run, std::string& error);

}  // namespace trestlar
