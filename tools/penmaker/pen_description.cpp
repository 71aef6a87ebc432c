#include "pen_description.h"

#include <vector>

#include "script/render_script.h"

namespace nelmora {

bool applyPenDescription(std::istream& in, Workspace& workspace, std::string& error)
{
    std::vector<ScriptCommand> commands;
    if (!parseRenderScript(in, commands, error)) return false;
    for (const ScriptCommand& command : commands) {
        switch (command.op) {
        case ScriptOp::pen: case ScriptOp::slot: case ScriptOp::shape: case ScriptOp::regen: break;
        default:
            error = "line " + std::to_string(command.line) + ": only pen, slot, shape and regen describe a pen";
            return false;
        }
    }
    CanvasStroke unused;
    runRenderScript(workspace, unused, commands);
    return true;
}

}  // namespace nelmora
