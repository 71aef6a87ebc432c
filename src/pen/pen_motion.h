#pragma once
// Where a pen's stroke stands: what the engine carries from one point of a
// stroke to the next. A cancelled stroke puts its press's back; pens loaded
// during a stroke keep the stroke's, since a file's belongs to another one.

#include <cstdint>

#include "pen/pen.h"

namespace nelmora {

struct PenMotion {
    int32_t lastX, lastY, lastDX, lastDY, dabX, dabY, carry;
    SlotValues lastOutputs;
};

inline PenMotion penMotion(const Pen& p)
{
    return {p.lastX, p.lastY, p.lastDX, p.lastDY, p.dabX, p.dabY, p.carry, p.lastOutputs};
}

inline void restorePenMotion(Pen& p, const PenMotion& m)
{
    p.lastX = m.lastX, p.lastY = m.lastY, p.lastDX = m.lastDX, p.lastDY = m.lastDY;
    p.dabX = m.dabX, p.dabY = m.dabY, p.carry = m.carry, p.lastOutputs = m.lastOutputs;
}

}  // namespace nelmora
