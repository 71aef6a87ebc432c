#include "engine/stroke_engine.h"

namespace nelmora {

// Placeholder bodies until the painting engine lands; the canvas's stroke
// sequencing already calls these with their final signatures.
void beginStroke(Image*, Pen*, DrawingValues&, int32_t, int32_t) {}
void continueStroke(Image*, Pen*, DrawingValues&, int32_t, int32_t) {}
void endStroke(Image*, Pen*, DrawingValues&, int32_t, int32_t) {}

}  // namespace nelmora
