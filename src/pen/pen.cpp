#include "pen/pen.h"

#include <cmath>
#include <new>

#include "pen/slot_table.h"

namespace nelmora {

int32_t& shapeSetting(ShapeSettings& s, int k)
{
    int32_t ShapeSettings::*const fields[kShapeSettingCount] = {
        &ShapeSettings::type,  &ShapeSettings::msize, &ShapeSettings::alph1, &ShapeSettings::alph2,
        &ShapeSettings::alph3, &ShapeSettings::flat,  &ShapeSettings::rot,   &ShapeSettings::rand1,
        &ShapeSettings::rand2, &ShapeSettings::rand3,
    };
    return s.*fields[k];
}

ShapeMap* createShapeMap(int32_t width, int32_t height, int32_t centerX, int32_t centerY)
{
    if (width <= 0 || height <= 0) return nullptr;
    auto* map = new (std::nothrow) ShapeMap{};
    if (!map) return nullptr;
    map->coverage = new (std::nothrow) uint8_t[size_t(width) * size_t(height)];
    if (!map->coverage) {
        delete map;
        return nullptr;
    }
    map->width = width;
    map->height = height;
    map->stride = width;
    map->centerX = centerX;
    map->centerY = centerY;
    return map;
}

int freeShapeMap(ShapeMap* map)
{
    if (!map) return 0;
    delete[] map->coverage;
    delete map;
    return 1;
}

Pen* createPen(int32_t shapeWidth, int32_t shapeHeight, int32_t centerX, int32_t centerY)
{
    auto* pen = new (std::nothrow) Pen{};
    if (!pen) return nullptr;
    pen->shape = createShapeMap(shapeWidth, shapeHeight, centerX, centerY);
    pen->params = new (std::nothrow) PenParam[kSlotCount]{};
    if (!pen->shape || !pen->params) {
        freePen(pen);
        return nullptr;
    }
    return pen;
}

int freePen(Pen* pen)
{
    if (!pen) return 0;
    freeShapeMap(pen->shape);
    delete[] pen->params;
    delete pen;
    return 1;
}

namespace {

// Radial ramp falling by 7 per pixel to 0 at distance 40; the disc variant
// raises everything above 128 to full coverage.
void fillRadialShape(ShapeMap& map, bool disc)
{
    for (int i = 0; i < map.height; ++i) {
        for (int j = 0; j < map.width; ++j) {
            const double d = std::sqrt(double((i - 40) * (i - 40) + (j - 40) * (j - 40)));
            int v = static_cast<int>((40 - d) * 7);
            if (v < 0) v = 0;
            if (disc && v > 128) v = 255;
            if (v > 255) v = 255;
            map.coverage[i * map.stride + j] = uint8_t(v);
        }
    }
}

// Every slot passes its wired sources through at scale 1.0 (B at scale 0).
void wireSlots(Pen& pen, int penIndex)
{
    for (const SlotInfo& info : slotTable) {
        const SlotWiring& w = info.wiring[size_t(penIndex)];
        pen.params[info.index] = PenParam{w.sourceA, 0x10000, w.sourceB, 0, 0, 0};
    }
}

}  // namespace

bool makeDefaultPens(Pen* pens[kPenCount])
{
    pens[0] = createPen(kShapeSize, kShapeSize, kShapeCenter, kShapeCenter);
    pens[1] = pens[0] ? createPen(kShapeSize, kShapeSize, kShapeCenter, kShapeCenter) : nullptr;
    if (!pens[1]) {
        freePen(pens[0]);
        pens[0] = nullptr;
        return false;
    }
    Pen& p0 = *pens[0];
    Pen& p1 = *pens[1];
    wireSlots(p0, 0);
    fillRadialShape(*p0.shape, true);
    fillRadialShape(*p1.shape, false);
    wireSlots(p1, 1);
    p0.drawMode = 1;
    p0.lineColor = 0;
    p0.endFlag = 0;
    p0.blendIndex = 0;
    p1.drawMode = 0;
    p1.lineColor = 0;
    p1.endFlag = 0;
    p1.blendIndex = 0;
    return true;
}

}  // namespace nelmora
