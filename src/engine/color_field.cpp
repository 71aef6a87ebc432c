#include "engine/color_field.h"

#include <cmath>

#include "engine/color.h"
#include "image/tables.h"

namespace nelmora {

namespace {

constexpr int32_t kCentreX = 100;
constexpr int32_t kCentreY = 190;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0;
// Markers may land in the top area but never in the undrawn rows below 290.
constexpr int32_t kDrawnRows = kFieldTop + kFieldSize;

// The color may come from anywhere (a pick, a square click giving 0x10000),
// so every marker dot is checked against the drawn area.
void plot(Image& image, int32_t column, int32_t row, uint32_t color)
{
    if (column >= 0 && row >= 0 && column < kColorFieldImageWidth && row < kDrawnRows)
        image.at(column, row) = color;
}

int32_t hueOfTurn(double a) { return int32_t(a * 65536) & 0xFFFF; }

// Needle, circle and ring of a wheel; `radiusValue` is S (mode 16) or B (mode 17).
void drawWheelMarkers(Image& image, int32_t h, int32_t radiusValue, uint32_t color)
{
    const double theta = double(h) * 2 * kPi / 65536;
    const double sinTheta = std::sin(theta);
    const double cosTheta = std::cos(theta);
    for (int k = 0; k < 30; ++k)
        plot(image, int32_t(sinTheta * k * 100 / 30 + 100), int32_t(kCentreY - cosTheta * k * 100 / 30), color);
    for (int k = 0; k < 90; ++k) {
        const double phi = 2 * k * kPi / 90;
        plot(image, int32_t(std::sin(phi) * radiusValue * 100 / 65536 + 100),
             int32_t(kCentreY - std::cos(phi) * radiusValue * 100 / 65536), color);
    }
    const double ringX = sinTheta * radiusValue * 100 / 65536 + 100;
    const double ringY = kCentreY - cosTheta * radiusValue * 100 / 65536;
    for (int k = 0; k < 10; ++k) {
        const double phi = 2 * k * kPi / 10;
        plot(image, int32_t(2 * std::sin(phi) + ringX), int32_t(ringY - 2 * std::cos(phi)), color);
    }
}

void renderWheel(Image& image, bool brightnessWheel, int32_t h, int32_t s, int32_t b)
{
    for (int32_t i = 0; i < kFieldSize; ++i) {
        uint32_t* row = &image.at(0, kFieldTop + i);
        for (int32_t j = 0; j < kFieldSize; ++j) {
            const WheelPoint p = wheelPoint(j, kFieldTop + i);
            if (p.r >= 1)
                row[j] = kWhite;
            else if (p.r >= 0.98)
                row[j] = hsbToRgb(p.hue, 0xFFFF, 0xFFFF);
            else if (brightnessWheel)
                row[j] = hsbToRgb(p.hue, s, int32_t(p.r * 65536));
            else
                row[j] = hsbToRgb(p.hue, int32_t(p.r * 65536), b);
        }
    }
    if (brightnessWheel)
        drawWheelMarkers(image, h, b, kWhite);
    else
        drawWheelMarkers(image, h, s, kBlack);
}

void renderSquare(Image& image, int32_t h, int32_t s, int32_t b)
{
    for (int32_t i = 0; i < kFieldSize; ++i) {
        uint32_t* row = &image.at(0, kFieldTop + i);
        for (int32_t j = 0; j < kFieldSize; ++j)
            row[j] = hsbToRgb(h, j * 65536 / 200, (199 - i) * 65536 / 200);
    }
    // 64-bit products: S and B are not range-checked where they are written.
    const int32_t column = int32_t(int64_t{s} * 200 / 65536);
    const int32_t y = int32_t((int64_t{200} * 65535 - int64_t{b} * 200) / 65536 + kFieldTop);
    for (int k = 0; k < 60; ++k) plot(image, column, k * 200 / 60 + kFieldTop, kBlack);
    for (int k = 0; k < 60; ++k) plot(image, k * 200 / 60, y, kBlack);
    for (int k = 0; k < 10; ++k) {
        const double phi = 2 * k * kPi / 10;
        plot(image, int32_t(2 * std::sin(phi) + column), int32_t(y - 2 * std::cos(phi)), kBlack);
    }
}

}  // namespace

WheelPoint wheelPoint(int32_t x, int32_t y)
{
    const double dx = double(x) - kCentreX;
    const double dy = double(y) - kCentreY;
    const double r = std::sqrt(dx * dx * 4 / 200 / 200 + dy * dy * 4 / 200 / 200);
    // dy is +0.0 on the centre row, so the centre itself gives atan2(0, 0) = 0.
    const double a = std::atan2(dx, -dy + 0.0) / kPi / 2;
    return {r, hueOfTurn(a)};
}

void renderColorField(Image& image, int32_t mode, int32_t h, int32_t s, int32_t b)
{
    if (image.width < kColorFieldImageWidth || image.height < kFieldTop + kFieldSize) return;
    for (int32_t y = 0; y < kFieldTop; ++y)
        for (int32_t x = 0; x < kColorFieldImageWidth; ++x) image.at(x, y) = kWhite;
    if (mode == kSaturationBrightnessSquare)
        renderSquare(image, h, s, b);
    else
        renderWheel(image, mode == kHueBrightnessWheel, h, s, b);
}

}  // namespace nelmora
