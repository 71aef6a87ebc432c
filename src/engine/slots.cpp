#include "engine/slots.h"

#include "engine/random.h"
#include "engine/wrap_int.h"
#include "pen/slot_table.h"

namespace nelmora {

namespace {

inline int32_t readSource(const DrawingValues& sources, int32_t index)
{
    return (index >= 0 && index < kDrawingValueCount) ? sources[size_t(index)] : 0;
}

}  // namespace

void evaluateSlots(const DrawingValues& sources, const PenParam* params, RandomState* jitter, SlotValues& out)
{
    for (int i = 0; i < kSlotCount; ++i) {
        const PenParam& p = params[i];
        int32_t value = p.base;
        if (jitter) value = wrapAdd(value, wrapMul(drawRandom(*jitter) - 0x4000, p.jitter) >> 14);
        value = wrapAdd(value, wrapMul(p.scaleA >> 8, readSource(sources, p.sourceA)) >> 8);
        value = wrapAdd(value, wrapMul(p.scaleB >> 8, readSource(sources, p.sourceB)) >> 8);
        out[size_t(i)] = value;
    }
}

bool isWrappingSlot(int i) { return i >= 0 && i < kSlotCount && slotTable[size_t(i)].angle; }

void interpolateSlots(const SlotValues& end, const SlotValues& previous, const SlotValues& increment, int32_t w,
                      SlotValues& out)
{
    const int32_t rest = 256 - w;
    for (int i = 0; i < kSlotCount; ++i) {
        const int32_t e = end[size_t(i)];
        const int32_t q = previous[size_t(i)];
        const int32_t r = increment[size_t(i)];
        if (isWrappingSlot(i)) {
            const int32_t ahead = wrapSub(e, q);
            if (ahead > 0x8000) {
                out[size_t(i)] = wrapAdd(wrapAdd(wrapMul(w, e), wrapMul(wrapAdd(q, 0x10000), rest)) >> 8, r) & 0xFFFF;
                continue;
            }
            if (wrapSub(q, e) > 0x8000) {
                out[size_t(i)] = wrapAdd(wrapAdd(wrapMul(w, wrapAdd(e, 0x10000)), wrapMul(q, rest)) >> 8, r) & 0xFFFF;
                continue;
            }
        }
        out[size_t(i)] = wrapAdd(wrapAdd(wrapMul(w, e), wrapMul(q, rest)) >> 8, r);
    }
}

}  // namespace nelmora
