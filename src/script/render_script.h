#pragma once
// The event script: one command per line, replayed on the document the way
// the canvas and the tool windows change it. The render tool runs it, the
// program records its sessions in it and replays them.
//
//   down X Y | move X Y | up X Y | pick X Y      mouse input on the canvas
//   down X Y P A | move X Y P A | up X Y P A     a tablet pen: pressure P and pen angle A
//                                                set (drawing values 13 and 14) first
//   value I V                                    drawing value I (1..33) = V
//   pen P FIELD V                                FIELD: drawMode lineColor endFlag blendIndex
//   slot P I A SA B SB BASE JITTER               slot I (0..19) of pen P
//   shape P TYPE MSIZE ALPH1 ALPH2 ALPH3 FLAT ROT RAND1 RAND2 RAND3
//   regen P                                      rebuild pen P's map from its shape settings
//   fill white|checker|black | fill A B          A where ((x >> 3) + (y >> 3)) is odd, B where even
//   undo | redo                                  as Edit > Undo and Redo
//   repaint                                      Edit > Repaint the last stroke
//   new W H COLOR                                File > New
//   image FILE                                   File > Open; FILE (the rest of the line) is
//                                                relative to the script's folder
//   pens HEX                                     both pens from the bytes of a pen file
//   random STATE                                 the painting generator's state
//
// Blank lines and lines starting with '#' are skipped. Numbers are decimal or
// 0x-hex, optionally negative; mouse coordinates lie in -32768..65535, the
// range mouse messages can carry.

#include <array>
#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "doc/canvas_stroke.h"
#include "doc/workspace.h"

namespace nelmora {

enum class ScriptOp {
    down, move, up, pick, value, pen, slot, shape, regen, fill, undo, redo, repaint, newImage, image, pens, random,
    cancel
};

struct ScriptCommand {
    ScriptOp op;
    int64_t line;                   // 1-based, for messages
    std::array<int32_t, 11> args;   // as many as the command takes
    std::string text;               // image: the file name; pens: the pen file's bytes
    std::optional<PenReading> reading;  // down, move, up: a tablet's pressure and pen angle
};

// The longest line read; a pens line is the longest a recording writes.
inline constexpr size_t kMaxScriptLine = 64 * 1024;

// Checks one line (without its line break) into `command`. Returns what is
// wrong, or an empty string; `isCommand` is false for blank and comment lines.
std::string parseScriptLine(std::string_view text, ScriptCommand& command, bool& isCommand);

// Reads and checks the whole script. On the first malformed line returns
// false with `error` = "line N: ..." and leaves `commands` incomplete.
bool parseRenderScript(std::istream& in, std::vector<ScriptCommand>& commands, std::string& error);

// The "pen" command's field is a PenField, as a number in args[1].
// Fill patterns of the "fill" command by name, in args[0]; args[2] is 1 for
// the two-color form, whose colors are args[0] and args[1].
enum FillPattern : int32_t { kFillWhite, kFillChecker, kFillBlack };

// How "image" lines reach their files: the script's folder and the reader.
using PictureReader = std::function<ImagePtr(const std::string& path, std::string* error)>;
struct ScriptFiles {
    std::string folder = ".";
    PictureReader readPicture;
};

// Runs a script on a workspace, a line at a time, so a script of any length
// needs no more memory than its longest line.
class ScriptRunner {
public:
    ScriptRunner(Workspace& workspace, CanvasStroke& canvas, ScriptFiles files = {});

    // Reads, checks and runs lines until the end. A malformed line, a file
    // an image line names that cannot be read, or a read error stops the run:
    // false with `error` saying which line and why (the lines before it have
    // run). After every command `afterCommand`, if given, is told how many
    // have run; returning false stops the run there (and run returns true).
    bool run(std::istream& in, std::string& error, const std::function<bool(int64_t)>& afterCommand = {});
    // One checked command; false with `error` when its file cannot be read.
    bool runCommand(const ScriptCommand& command, std::string& error);

private:
    Workspace& workspace_;
    CanvasStroke& canvas_;
    ScriptFiles files_;
};

// Applies parsed commands in order; image lines are read relative to the
// current folder with no reader, so they fail: pen descriptions have none.
void runRenderScript(Workspace& workspace, CanvasStroke& canvas, const std::vector<ScriptCommand>& commands);

// A token for an error message: at most 40 bytes, control bytes escaped.
std::string quotedToken(std::string_view token);

}  // namespace nelmora
