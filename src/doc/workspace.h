#pragma once
// The document: the current picture, the two pens with their shape settings,
// the drawing values and the painting random generator. Everything that
// changes them goes through the named edits below, and every edit tells the
// listeners what changed, so whatever shows a value can follow it.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "doc/undo_history.h"
#include "engine/random.h"
#include "image/image.h"
#include "pen/drawing_values.h"
#include "pen/pen.h"
#include "pen/pen_file.h"

namespace nelmora {

// The shape settings and blend mode both pens start with: a round pen, opaque
// to half its radius, fading to the rim, no noise. alph2 lies one above the
// slider's maximum on purpose: the profile clamps it, so it acts as full alpha.
inline constexpr ShapeSettings kStartShapeSettings{0, 0x8000, 0, 0x10000, 0xFFFF, 0x10000, 0, 0, 0, 0};
inline constexpr int32_t kStartBlendIndex = 0;

inline constexpr int32_t kStartImageSize = 200;
inline constexpr uint32_t kStartImageFill = 0xFFFFFF;

// The pen switches and mode a pen-field edit addresses.
enum class PenField { drawMode, lineColor, endFlag, blendIndex };
// A slot's six fields, in record order.
enum class SlotField { sourceA, scaleA, sourceB, scaleB, base, jitter };
inline constexpr int kSlotFieldCount = 6;

int32_t& penField(Pen& pen, PenField field);
int32_t& slotField(PenParam& param, SlotField field);
inline int32_t penFieldValue(const Pen& pen, PenField field) { return penField(const_cast<Pen&>(pen), field); }
inline int32_t slotFieldValue(const PenParam& param, SlotField field)
{
    return slotField(const_cast<PenParam&>(param), field);
}

// What an edit changed. `pen` and `index` are -1 where they do not apply.
struct Change {
    enum Kind {
        drawingValue,   // index: the drawing value
        penField,       // pen, index: the PenField
        slot,           // pen, index: the slot
        shapeSettings,  // pen
        shapeMap,       // pen
        pens,           // both pens replaced from a file
        image,          // a new picture (New, Open), perhaps of another size
        pixels,         // the picture repainted in place (Fill, undo or redo of a pixel step)
        history,        // what undo and redo can do changed
        penFile,        // another pen file was loaded or saved
        random,         // the painting generator set to a state of its own
    };
    Kind kind;
    int pen = -1;
    int index = -1;
};
using ChangeListener = std::function<void(const Change&)>;

// What a tablet pen reports with a point: drawing values 13 (pressure,
// 0..0xFFFF) and 14 (the direction the pen leans, 1/65536 of a turn).
struct PenReading {
    int32_t pressure;
    int32_t angle;
};

// An action that is more than setting a value — the mouse on the canvas, a
// fill, New, Open, undo, a map rebuild: what a recording writes as one line.
struct Action {
    enum Kind { down, move, up, pick, fill, newImage, openImage, undo, redo, regen, repaint, reset, cancel };
    Kind kind;
    int32_t a = 0, b = 0, c = 0;   // positions; fill colors; new size and color; the pen; cancel: 1 when cut short
    const Image* image = nullptr;  // openImage: the picture opened
    std::optional<PenReading> reading;  // down, move, up: the tablet's, set before the stroke call
};

// Told of every action before it runs and again when it is done; the notes
// an action sends meanwhile are its consequences, not edits of their own.
class ActionRecorder {
public:
    virtual ~ActionRecorder() = default;
    virtual void actionStarts(const Action& action) = 0;
    virtual void actionDone() = 0;
};

// A pen file as the file system names it: its folder (ending with a separator) and its name.
struct PenFileName {
    std::string folder;
    std::string name;
};

class Workspace {
public:
    // The start-up recipe: both default pens with the start shape settings and
    // blend mode, a white picture, the drawing values' start values and the
    // random generator at 1. Throws std::bad_alloc when memory runs out.
    explicit Workspace(int32_t imageWidth = kStartImageSize, int32_t imageHeight = kStartImageSize);
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    const Image& image() const { return *image_; }
    const Pen& pen(int index) const { return *pens_[size_t(index)]; }
    const ShapeSettings& shapeSettings(int index) const { return shapeSettings_[size_t(index)]; }
    const DrawingValues& drawingValues() const { return values_; }
    int32_t drawingValue(int index) const { return values_[size_t(index)]; }
    const RandomState& random() const { return random_; }

    void addListener(ChangeListener listener) { listeners_.push_back(std::move(listener)); }
    void setActionRecorder(ActionRecorder* recorder) { recorder_ = recorder; }

    // Tells the recorder of an action for as long as it lives.
    class ActionScope {
    public:
        ActionScope(Workspace& workspace, const Action& action);
        ~ActionScope();
        ActionScope(const ActionScope&) = delete;
        ActionScope& operator=(const ActionScope&) = delete;

    private:
        ActionRecorder* recorder_;
    };

    // --- named edits ---
    // index 1..33; index 0 stays 0.
    void setDrawingValue(int index, int32_t value);
    void setPenField(int pen, PenField field, int32_t value);
    void setSlotField(int pen, int slotIndex, SlotField field, int32_t value);
    void setSlot(int pen, int slotIndex, const PenParam& param);
    void setShapeSetting(int pen, int k, int32_t value);
    void setShapeSettings(int pen, const ShapeSettings& settings);
    // Rebuilds pen `pen`'s map from its shape settings; the noise draws from
    // the painting generator, as the user asked for a new map.
    void regenerateShapeMap(int pen);
    // Both pens and their shape settings from a pen file, all or nothing.
    bool loadPens(const std::string& folder, const std::string& name, std::string* error = nullptr);
    bool loadPens(const uint8_t* data, size_t size);
    bool savePens(const std::string& folder, const std::string& name, std::string* error = nullptr);
    // The file the pens were last loaded from or saved to; empty before the first.
    const PenFileName& penFileName() const { return penFileName_; }
    // Both pens as the bytes of a pen file.
    std::vector<uint8_t> penFileBytes() { return encodePenFile(penTable(), settingsTable()); }
    // A new current picture (New, Open), one undo step; null is refused and
    // the old picture stays.
    bool replaceImage(ImagePtr image);
    // New: a picture of one color; false, with nothing changed, when it cannot be made.
    bool newImage(int32_t width, int32_t height, uint32_t color);
    // Back to the start-up recipe, with no undo history (a replay starts here).
    void reset();
    // A whole-picture pattern, one undo step: A where ((x >> 3) + (y >> 3)) is
    // odd, B where even.
    void fill(uint32_t a, uint32_t b);
    // The pixel's hue, saturation and brightness into color 1; false, with
    // nothing changed, outside the picture.
    bool pickColor(int32_t x, int32_t y);
    // Exchanges color 1 and color 2 (entries 1-3 and 4-6).
    void swapColors();
    void setRandomState(uint32_t state);

    // --- undo: the picture only; the random generator is never rewound ---
    // A stroke is one step from the press to the end of the release handling.
    void beginStep();
    void endStep();
    // Ends a stroke's step unkept, the picture as at beginStep. False when
    // none was under way, or when memory ran out while keeping it (the
    // history is then emptied and part of the change stays).
    bool cancelStep();
    // False, changing nothing, when there is nothing to undo or redo or a
    // stroke is under way.
    bool undo();
    bool redo();
    const UndoHistory& history() const { return history_; }
    void setUndoBudget(size_t bytes);
    // Forgets every step (a picture given at start-up is no step).
    void clearHistory();
    // Within a stroke's step: the pixels the last done step changed put back
    // (see UndoHistory::revertLastStep).
    bool revertLastStep();

    // --- for the stroke sequencing, which paints and moves the working
    // values without notes: nothing that a window shows changes there ---
    Image& strokeImage() { return *image_; }
    Pen& strokePen(int index) { return *pens_[size_t(index)]; }
    DrawingValues& strokeValues() { return values_; }
    RandomState& strokeRandom() { return random_; }

private:
    void notify(const Change& change) const;
    PenTable penTable() const { return {pens_[0].get(), pens_[1].get()}; }
    ShapeSettingsTable settingsTable() { return {&shapeSettings_[0], &shapeSettings_[1]}; }

    void restored(UndoHistory::Restored what);
    void rememberPenFile(const std::string& folder, const std::string& name);
    void startUp();

    ImagePtr image_;
    std::array<PenPtr, kPenCount> pens_;
    std::array<ShapeSettings, kPenCount> shapeSettings_{};
    DrawingValues values_{};
    RandomState random_{};
    UndoHistory history_;
    PenFileName penFileName_;
    std::vector<ChangeListener> listeners_;
    ActionRecorder* recorder_ = nullptr;
};

// The fill patterns of Edit > Fill.
inline constexpr uint32_t kCheckerDark = 0x404040;
inline constexpr uint32_t kCheckerLight = 0xC0C0C0;
void fillImage(Image& image, uint32_t a, uint32_t b);

}  // namespace nelmora
