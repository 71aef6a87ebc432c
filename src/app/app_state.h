#pragma once
// The application-wide state that every window edits: the current image, the
// two pens with their shape settings, and the drawing values.

#include <array>

#include "image/image.h"
#include "pen/drawing_values.h"
#include "pen/pen.h"

namespace nelmora {

struct AppState {
    Image* currentImage = nullptr;
    std::array<Pen*, kPenCount> pens{};
    std::array<ShapeSettings, kShapeSettingsBlockCount> shapeSettingsBlocks{};
    std::array<ShapeSettings*, kShapeSettingsBlockCount> shapeSettingsTable{};
    DrawingValues drawingValues{};
    LineOptionTargets lineOptionTargets{};
    ActiveColorTargets activeColorTargets{};
};

// The Qt-free part of start-up, in the program's order: tables and scratch
// image, the shape-settings table, the default pens, the first image (white),
// the drawing values and their line-option pointers. False when memory runs out.
bool initApplicationState(AppState& state, int32_t imageWidth = 200, int32_t imageHeight = 200);
// Frees the pens, the tables and the image.
void shutdownApplicationState(AppState& state);

// Frees the current image and takes `image` in its place; a null image is refused.
bool replaceCurrentImage(AppState& state, Image* image);

// Edit > Fill: A where ((x >> 3) + (y >> 3)) is odd, B where even.
void fillImage(Image& image, uint32_t a, uint32_t b);
inline constexpr uint32_t kCheckerDark = 0x404040;
inline constexpr uint32_t kCheckerLight = 0xC0C0C0;

}  // namespace nelmora
