#pragma once
// The magnifier without Qt: the zoom levels the View menu offers, and the
// mapping between view positions (the canvas widget's pixels) and picture
// pixels at a level. The engine always gets whole picture pixels, so the same
// drag over the same picture pixels paints the same at every level.

#include <array>
#include <cstdint>

namespace nelmora {

// Percentages, smallest first; 100 is where the program starts.
inline constexpr std::array<int, 8> kZoomLevels{25, 50, 100, 200, 300, 400, 800, 1600};
inline constexpr int kDefaultZoom = 100;

// The level after or before `percent` in kZoomLevels (clamped at the ends).
int nextZoom(int percent);
int previousZoom(int percent);

// The picture pixel under view position v (any real value, also outside the
// picture): floor(v / scale).
int32_t pictureCoordinate(double view, int percent);
// The first view pixel showing picture coordinate p, and one past the last
// view pixel showing picture coordinate p - 1: floor and ceiling of p x scale.
int64_t viewStart(int64_t picture, int percent);
int64_t viewEnd(int64_t picture, int percent);
// How many view pixels a picture `length` pixels long takes.
inline int64_t viewLength(int64_t length, int percent) { return viewEnd(length, percent); }

// The reduction the view paints from below 100 %: 2 at 50 %, 4 at 25 %, else 1.
int reductionAt(int percent);

}  // namespace nelmora
