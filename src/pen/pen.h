#pragma once
// The programmable brush: an 8-bit coverage map plus twenty parameter slots
// that compute each dab's parameters from the drawing values.

#include <array>
#include <cstdint>
#include <memory>

namespace nelmora {

inline constexpr int kSlotCount = 20;
inline constexpr int kPenCount = 2;
inline constexpr int kShapeSize = 80;
inline constexpr int32_t kShapeCenter = 10240;  // 40.0 in 24.8 fixed point

// The twenty slot outputs of one dab, in slot order "色相1" ... "EX  3".
using SlotValues = std::array<int32_t, kSlotCount>;

// Slot (destination) indices.
namespace slot {
enum : int {
    hue1, saturation1, brightness1, hue2, saturation2, brightness2,
    thickness, interval, angle, strength, motion, motionAngle, pressure, penAngle,
    type, placement, placementAngle, ex1, ex2, ex3,
};
}

struct PenParam {
    int32_t sourceA;
    int32_t scaleA;  // Fixed16; only bits 8-31 take part
    int32_t sourceB;
    int32_t scaleB;
    int32_t base;
    int32_t jitter;
};

struct ShapeMap {
    uint8_t* coverage;  // height rows of stride bytes
    int32_t width;
    int32_t height;
    int32_t stride;
    int32_t centerX;  // 24.8 map pixels
    int32_t centerY;
};

struct Pen {
    ShapeMap* shape;
    PenParam* params;  // kSlotCount slots
    int32_t blendIndex;
    int32_t lastX;
    int32_t lastDX;
    int32_t lastDY;
    int32_t lastY;
    int32_t dabX;
    int32_t dabY;
    int32_t carry;
    int32_t reserved;
    int32_t drawMode;   // 0 off, 1 live, 2 delayed
    int32_t lineColor;  // 0 one color, 1 two colors
    int32_t endFlag;
    SlotValues lastOutputs;
};

// The ten parameters from which the pen creator regenerates a pen's map.
struct ShapeSettings {
    int32_t type;
    int32_t msize;
    int32_t alph1;
    int32_t alph2;
    int32_t alph3;
    int32_t flat;
    int32_t rot;
    int32_t rand1;
    int32_t rand2;
    int32_t rand3;
};
inline constexpr int kShapeSettingCount = 10;
// Field k (0..9) in the order above, for sliders and files that address them by number.
int32_t& shapeSetting(ShapeSettings& settings, int k);
inline int32_t shapeSetting(const ShapeSettings& settings, int k)
{
    return shapeSetting(const_cast<ShapeSettings&>(settings), k);
}

// Return null when memory runs out, leaving nothing allocated.
Pen* createPen(int32_t shapeWidth, int32_t shapeHeight, int32_t centerX, int32_t centerY);
int freePen(Pen* pen);
ShapeMap* createShapeMap(int32_t width, int32_t height, int32_t centerX, int32_t centerY);
int freeShapeMap(ShapeMap* map);

// Pen 0 (live, disc) and pen 1 (off, cone) as the program starts with them.
// Returns false, with both entries null, when memory runs out.
bool makeDefaultPens(Pen* pens[kPenCount]);

struct PenDeleter {
    void operator()(Pen* pen) const { freePen(pen); }
};
using PenPtr = std::unique_ptr<Pen, PenDeleter>;

}  // namespace nelmora
