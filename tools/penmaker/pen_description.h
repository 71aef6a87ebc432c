#pragma once
// A pen description: the pen-defining commands of the render tool's script
// (pen, slot, shape, regen), applied to the program's start-up pens. The
// starter pen library is built from such descriptions.

#include <istream>
#include <string>

#include "doc/workspace.h"

namespace nelmora {

// Applies the description to `workspace`, which holds the start-up pens. Mouse,
// fill, pick and value commands are refused: they define no pen. On failure
// returns false with `error` = "line N: ..." and leaves the pens unchanged.
bool applyPenDescription(std::istream& in, Workspace& workspace, std::string& error);

}  // namespace nelmora
