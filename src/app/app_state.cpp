#include "app/app_state.h"

#include "image/tables.h"

namespace nelmora {

bool initApplicationState(AppState& state, int32_t imageWidth, int32_t imageHeight)
{
    if (!buildTables()) return false;
    for (int n = 0; n < kShapeSettingsBlockCount; ++n) state.shapeSettingsTable[size_t(n)] = &state.shapeSettingsBlocks[size_t(n)];
    if (!makeDefaultPens(state.pens.data())) return false;
    state.currentImage = createImage(imageWidth, imageHeight, 0, 0, 0xFFFFFF);
    if (!state.currentImage) return false;
    resetDrawingValues(state.drawingValues);
    state.lineOptionTargets = makeLineOptionTargets(state.drawingValues);
    aimActiveColor(state.activeColorTargets, state.drawingValues, 0);
    return true;
}

void shutdownApplicationState(AppState& state)
{
    for (Pen*& pen : state.pens) {
        freePen(pen);
        pen = nullptr;
    }
    freeTables();
    freeImage(state.currentImage);
    state.currentImage = nullptr;
}

bool replaceCurrentImage(AppState& state, Image* image)
{
    if (!image) return false;
    freeImage(state.currentImage);
    state.currentImage = image;
    return true;
}

void fillImage(Image& image, uint32_t a, uint32_t b)
{
    for (int32_t y = 0; y < image.height; ++y) {
        uint32_t* row = image.pixels + size_t(y) * image.stride;
        for (int32_t x = 0; x < image.width; ++x) row[x] = (((x >> 3) + (y >> 3)) & 1) ? a : b;
    }
}

}  // namespace nelmora
