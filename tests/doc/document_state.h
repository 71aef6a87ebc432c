#pragma once
// Everything a cancelled stroke must leave as it was, compared whole.

#include <cstdint>
#include <vector>

#include "doc/workspace.h"

namespace nelmora {

struct DocumentState {
    std::vector<uint32_t> pixels;
    uint32_t random;
    DrawingValues values;
    std::vector<uint8_t> pens;
    std::vector<int32_t> penMotion;
    size_t steps, undoable, bytes;
    uint64_t generation;
    bool operator==(const DocumentState&) const = default;
};

inline DocumentState documentStateOf(Workspace& w)
{
    const Image& image = w.image();
    DocumentState d{{image.pixels, image.pixels + size_t(image.width) * size_t(image.height)},
                    w.random().value, w.drawingValues(), w.penFileBytes(), {}, w.history().stepCount(),
                    w.history().undoableCount(), w.history().bytes(), w.history().generation()};
    for (int n = 0; n < kPenCount; ++n) {
        const Pen& p = w.pen(n);
        d.penMotion.insert(d.penMotion.end(), {p.lastX, p.lastY, p.lastDX, p.lastDY, p.dabX, p.dabY, p.carry});
        d.penMotion.insert(d.penMotion.end(), p.lastOutputs.begin(), p.lastOutputs.end());
    }
    return d;
}

// Pen 0 as from a pen file whose thickness slot is the base 0x7FFFFFFF alone:
// every dab covers the picture, 5/256 pixel from the last.
inline void useHugeThickness(Workspace& w) { w.setSlot(0, slot::thickness, {0, 0, 0, 0, 0x7FFFFFFF, 0}); }

}  // namespace nelmora
