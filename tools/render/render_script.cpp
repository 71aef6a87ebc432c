#include "render/render_script.h"

#include <sstream>
#include <string_view>


namespace nelmora {

namespace {

constexpr int64_t kMouseMin = -32768, kMouseMax = 65535;

// Decimal or 0x-hex, optionally negative, from -2^31 to 2^32 - 1; values
// above 2^31 - 1 are taken modulo 2^32, so 0xFFFFFFFF reads as -1.
bool parseNumber(std::string_view token, int32_t& out)
{
    bool negative = false;
    if (!token.empty() && token.front() == '-') {
        negative = true;
        token.remove_prefix(1);
    }
    int base = 10;
    if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
        base = 16;
        token.remove_prefix(2);
    }
    if (token.empty()) return false;
    int64_t magnitude = 0;
    for (char c : token) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return false;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFLL) return false;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN) return false;
    out = int32_t(uint32_t(value));
    return true;
}

struct CommandShape {
    std::string_view name;
    ScriptOp op;
    int numbers;  // arguments after the name
};

constexpr CommandShape kCommands[] = {
    {"down", ScriptOp::down, 2},   {"move", ScriptOp::move, 2},   {"up", ScriptOp::up, 2},
    {"pick", ScriptOp::pick, 2},   {"value", ScriptOp::value, 2}, {"pen", ScriptOp::pen, 3},
    {"slot", ScriptOp::slot, 8},   {"shape", ScriptOp::shape, 11}, {"regen", ScriptOp::regen, 1},
    {"fill", ScriptOp::fill, 1},   {"undo", ScriptOp::undo, 0},   {"redo", ScriptOp::redo, 0},
};

constexpr std::string_view kPenFields[] = {"drawMode", "lineColor", "endFlag", "blendIndex"};
constexpr std::string_view kFillPatterns[] = {"white", "checker", "black"};

// The index of `word` in `names`, or -1. Pen field words are in PenField order.
template <size_t N>
int32_t wordIndex(const std::string_view (&names)[N], std::string_view word)
{
    for (size_t i = 0; i < N; ++i)
        if (names[i] == word) return int32_t(i);
    return -1;
}

// Checks one line's words into `command`; returns an empty string or what is wrong.
std::string parseCommand(const std::vector<std::string>& words, ScriptCommand& command)
{
    const CommandShape* shape = nullptr;
    for (const CommandShape& c : kCommands)
        if (c.name == words[0]) shape = &c;
    if (!shape) return "unknown command '" + words[0] + "'";
    if (int(words.size()) - 1 != shape->numbers)
        return "'" + words[0] + "' takes " + std::to_string(shape->numbers) + " arguments";
    command.op = shape->op;
    command.args = {};
    for (int i = 0; i < shape->numbers; ++i) {
        const std::string& word = words[size_t(i) + 1];
        int32_t index = -1;
        if (shape->op == ScriptOp::pen && i == 1) index = wordIndex(kPenFields, word);
        if (shape->op == ScriptOp::fill) index = wordIndex(kFillPatterns, word);
        const bool named = (shape->op == ScriptOp::pen && i == 1) || shape->op == ScriptOp::fill;
        if (named) {
            if (index < 0) return "unknown " + std::string(shape->op == ScriptOp::fill ? "fill" : "pen field") + " '" + word + "'";
            command.args[size_t(i)] = index;
        } else if (!parseNumber(word, command.args[size_t(i)])) {
            return "'" + word + "' is not a number";
        }
    }
    const auto& a = command.args;
    switch (command.op) {
    case ScriptOp::down: case ScriptOp::move: case ScriptOp::up: case ScriptOp::pick:
        if (a[0] < kMouseMin || a[0] > kMouseMax || a[1] < kMouseMin || a[1] > kMouseMax)
            return "mouse position outside -32768..65535";
        break;
    case ScriptOp::value:
        if (a[0] < 1 || a[0] >= kDrawingValueCount) return "drawing value index must be 1..33";
        break;
    case ScriptOp::slot:
        if (a[1] < 0 || a[1] >= kSlotCount) return "slot index must be 0..19";
        [[fallthrough]];
    case ScriptOp::pen: case ScriptOp::shape: case ScriptOp::regen:
        if (a[0] < 0 || a[0] >= kPenCount) return "pen must be 0 or 1";
        break;
    case ScriptOp::fill: case ScriptOp::undo: case ScriptOp::redo: break;
    }
    return {};
}

}  // namespace

bool parseRenderScript(std::istream& in, std::vector<ScriptCommand>& commands, std::string& error)
{
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        std::istringstream fields(text);
        std::vector<std::string> words;
        for (std::string word; fields >> word;) words.push_back(word);
        if (words.empty() || words[0][0] == '#') continue;
        ScriptCommand command{};
        command.line = line;
        const std::string problem = parseCommand(words, command);
        if (!problem.empty()) {
            error = "line " + std::to_string(line) + ": " + problem;
            return false;
        }
        commands.push_back(command);
    }
    return true;
}

void runRenderScript(Workspace& workspace, CanvasStroke& canvas, const std::vector<ScriptCommand>& commands)
{
    // Showing changes is what the canvas does between calls; there is no screen here.
    const auto show = [&workspace] { clearUpdate(workspace.strokeImage().update); };
    for (const ScriptCommand& c : commands) {
        const auto& a = c.args;
        switch (c.op) {
        case ScriptOp::down: canvas.buttonDown(workspace, a[0], a[1]); break;
        case ScriptOp::move:
            if (canvas.mouseMove(workspace, a[0], a[1])) show();
            break;
        case ScriptOp::up: canvas.buttonUp(workspace, a[0], a[1], show); break;
        case ScriptOp::pick: workspace.pickColor(a[0], a[1]); break;
        case ScriptOp::value: workspace.setDrawingValue(a[0], a[1]); break;
        case ScriptOp::pen: workspace.setPenField(a[0], PenField(a[1]), a[2]); break;
        case ScriptOp::slot: workspace.setSlot(a[0], a[1], {a[2], a[3], a[4], a[5], a[6], a[7]}); break;
        case ScriptOp::shape: {
            ShapeSettings settings{};
            for (int k = 0; k < kShapeSettingCount; ++k) shapeSetting(settings, k) = a[size_t(k) + 1];
            workspace.setShapeSettings(a[0], settings);
            break;
        }
        case ScriptOp::regen: workspace.regenerateShapeMap(a[0]); break;
        case ScriptOp::fill: {
            const uint32_t colors[][2] = {{0xFFFFFF, 0xFFFFFF}, {kCheckerDark, kCheckerLight}, {0, 0}};
            workspace.fill(colors[a[0]][0], colors[a[0]][1]);
            break;
        }
        case ScriptOp::undo: workspace.undo(); break;
        case ScriptOp::redo: workspace.redo(); break;
        }
    }
}

}  // namespace nelmora
