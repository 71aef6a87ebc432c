#include "app/view_scale.h"

#include <algorithm>
#include <cmath>

namespace nelmora {

int nextZoom(int percent)
{
    for (int level : kZoomLevels)
        if (level > percent) return level;
    return kZoomLevels.back();
}

int previousZoom(int percent)
{
    for (auto level = kZoomLevels.rbegin(); level != kZoomLevels.rend(); ++level)
        if (*level < percent) return *level;
    return kZoomLevels.front();
}

int32_t pictureCoordinate(double view, int percent)
{
    const double picture = std::floor(view * 100.0 / percent);
    return int32_t(std::clamp(picture, double(INT32_MIN), double(INT32_MAX)));
}

// Floor and ceiling divisions by 100 that hold for negative values too.
int64_t viewStart(int64_t picture, int percent)
{
    const int64_t scaled = picture * percent;
    return scaled >= 0 ? scaled / 100 : -((-scaled + 99) / 100);
}

int64_t viewEnd(int64_t picture, int percent)
{
    const int64_t scaled = picture * percent;
    return scaled >= 0 ? (scaled + 99) / 100 : -((-scaled) / 100);
}

int reductionAt(int percent) { return percent <= 25 ? 4 : percent <= 50 ? 2 : 1; }

}  // namespace nelmora
