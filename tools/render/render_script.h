#pragma once
// The render tool's script: one command per line, replayed on the document
// the way the canvas and the tool windows would change it.
//
//   down X Y | move X Y | up X Y | pick X Y      mouse input on the canvas
//   value I V                                    drawing value I (1..33) = V
//   pen P FIELD V                                FIELD: drawMode lineColor endFlag blendIndex
//   slot P I A SA B SB BASE JITTER               slot I (0..19) of pen P
//   shape P TYPE MSIZE ALPH1 ALPH2 ALPH3 FLAT ROT RAND1 RAND2 RAND3
//   regen P                                      rebuild pen P's map from its shape settings
//   fill white|checker|black
//   undo | redo                                  as Edit > Undo and Redo
//
// Blank lines and lines starting with '#' are skipped. Numbers are decimal or
// 0x-hex, optionally negative; mouse coordinates lie in -32768..65535, the
// range mouse messages can carry.

#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "doc/canvas_stroke.h"
#include "doc/workspace.h"

namespace nelmora {

enum class ScriptOp { down, move, up, pick, value, pen, slot, shape, regen, fill, undo, redo };

struct ScriptCommand {
    ScriptOp op;
    int line;                       // 1-based, for messages
    std::array<int32_t, 11> args;   // as many as the command takes
};

// Reads and checks the whole script. On the first malformed line returns
// false with `error` = "line N: ..." and leaves `commands` incomplete.
bool parseRenderScript(std::istream& in, std::vector<ScriptCommand>& commands, std::string& error);

// The "pen" command's field is a PenField, as a number in args[1].
// Fill patterns of the "fill" command, in args[0].
enum FillPattern : int32_t { kFillWhite, kFillChecker, kFillBlack };

// Applies the commands in order. Mouse commands go through `canvas`.
void runRenderScript(Workspace& workspace, CanvasStroke& canvas, const std::vector<ScriptCommand>& commands);

}  // namespace nelmora
