#pragma once
// The pen creator's eleven slider rows: the blend mode, then the ten shape
// settings. Their defaults (a right click) are the document's start values.

#include <array>
#include <cstdint>

#include "doc/workspace.h"
#include "pen/pen.h"
#include "pentools/slider_row.h"
#include "text/name_list.h"

namespace nelmora {

inline constexpr int kPenCreatorSliderCount = 11;

// Row 0 edits the pen's blendIndex, row k >= 1 its ShapeSettings field k - 1.
enum PenCreatorRow : int {
    kModeRow, kTypeRow, kMsizeRow, kAlph1Row, kAlph2Row, kAlph3Row,
    kFlatRow, kRotRow, kRand1Row, kRand2Row, kRand3Row,
};

inline constexpr int kPenCreatorSliderLeft = 10;
inline constexpr int kPenCreatorFirstSliderTop = 100;

// The rows in window order. alph2's default lies one above its maximum (see
// kStartShapeSettings).
inline constexpr std::array<SliderRow, kPenCreatorSliderCount> kPenCreatorRows{{
    {"mode ", 0x108000, 0x80F0F0, " ", 0, kStartBlendIndex, 23, 1, 1, 1, 220, 14, 0, 19},
    {"type ", 0x108000, 0x80F0E0, " ", 0, kStartShapeSettings.type, 2, 1, 1, 1, 220, 14, 0, 19},
    {"msize", 0x308000, 0x80F0C0, "%", 0, kStartShapeSettings.msize, 0x10000, 0x10000, 100, 655, 220, 14, 0, 19},
    {"alph1", 0x408000, 0x80F0B0, "%", 0, kStartShapeSettings.alph1, 0xFFFF, 0xFFFF, 100, 655, 220, 14, 0, 15},
    {"alph2", 0x508000, 0x80F0A0, "%", 0, kStartShapeSettings.alph2, 0xFFFF, 0xFFFF, 100, 655, 220, 14, 0, 15},
    {"alph3", 0x608000, 0x80F090, "%", 0, kStartShapeSettings.alph3, 0xFFFF, 0xFFFF, 100, 655, 220, 14, 0, 19},
    {"flat ", 0x708000, 0x80F080, "%", 0, kStartShapeSettings.flat, 0x10000, 0x10000, 100, 655, 220, 14, 0, 15},
    {"rot  ", 0x808000, 0x90F080, "ﾟ", 0, kStartShapeSettings.rot, 0xFFFF, 0x10000, 360, 655, 220, 14, 0, 19},
    {"rand1", 0x807000, 0xA0F080, "%", 0, kStartShapeSettings.rand1, 0x10000, 0x10000, 100, 655, 220, 14, 0, 15},
    {"rand2", 0x806000, 0xB0F080, "%", 0, kStartShapeSettings.rand2, 0x10000, 0x10000, 100, 655, 220, 14, 0, 15},
    {"rand3", 0x805000, 0xC0F080, "%", 0, kStartShapeSettings.rand3, 0x10000, 0x10000, 100, 655, 220, 14, 0, 15},
}};

// The names row 1 shows for shape types 0..2.
NameList shapeTypeNames();

}  // namespace nelmora
