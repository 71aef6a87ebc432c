#pragma once
// Makers of picture files for the tests: Qt's own writers for the common
// formats, and hand-built BMP variants whose pixels are known byte by byte.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"

namespace nelmora::picture_testing {

inline std::vector<uint8_t> encodeWithQt(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image)) return {};
    return {bytes.begin(), bytes.end()};
}

// A w × h image whose neighbouring pixels all differ.
inline ImagePtr patterned(int32_t w, int32_t h)
{
    ImagePtr image(createImage(w, h, w / 2, h / 2, 0));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) image->at(x, y) = uint32_t(y * 7919 + x * 104729) & 0xFFFFFF;
    return image;
}

inline void putLe(std::vector<uint8_t>& b, size_t at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) b[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// The fields of a BMP that the variants differ in; rows are given as stored.
struct BmpVariant {
    uint32_t infoSize = 40;
    uint16_t bits = 24;
    uint32_t compression = 0;
    int32_t width = 1;
    int32_t height = 1;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint32_t> masks;    // red, green, blue[, alpha] for bit fields
    std::vector<uint8_t> rows;
    size_t gap = 0;  // junk bytes between the headers and the pixels
};

inline std::vector<uint8_t> makeBmp(const BmpVariant& v)
{
    // A 40-byte header keeps its bit masks after it; longer headers hold them.
    const size_t maskBytes = (v.infoSize == 40 && v.compression == 3) ? 12 : 0;
    const size_t offset = 14 + v.infoSize + maskBytes + v.palette.size() * 4 + v.gap;
    std::vector<uint8_t> b(offset, 0);
    b[0] = 'B';
    b[1] = 'M';
    putLe(b, 2, uint32_t(offset + v.rows.size()), 4);
    putLe(b, 10, uint32_t(offset), 4);
    putLe(b, 14, v.infoSize, 4);
    putLe(b, 18, uint32_t(v.width), 4);
    putLe(b, 22, uint32_t(v.height), 4);
    putLe(b, 26, 1, 2);
    putLe(b, 28, v.bits, 2);
    putLe(b, 30, v.compression, 4);
    putLe(b, 34, uint32_t(v.rows.size()), 4);
    putLe(b, 38, 2835, 4);
    putLe(b, 42, 2835, 4);
    putLe(b, 46, uint32_t(v.palette.size()), 4);
    size_t at = 14 + 40;
    if (v.infoSize >= 108) {
        for (size_t i = 0; i < v.masks.size(); ++i) putLe(b, 54 + 4 * i, v.masks[i], 4);
        putLe(b, 70, 0x73524742, 4);  // 'sRGB'
        if (v.infoSize >= 124) putLe(b, 122, 4, 4);  // rendering intent
        at = 14 + v.infoSize;
    } else if (maskBytes) {
        for (size_t i = 0; i < 3; ++i) putLe(b, at + 4 * i, v.masks[i], 4);
        at += maskBytes;
    }
    for (uint32_t color : v.palette) {
        putLe(b, at, color, 4);  // blue, green, red, zero
        at += 4;
    }
    for (size_t i = 0; i < v.gap; ++i) b[at + i] = uint8_t(0xC3 + i);
    b.insert(b.end(), v.rows.begin(), v.rows.end());
    return b;
}

// CRC-32 as PNG chunks carry it.
inline uint32_t pngCrc(const uint8_t* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// A real 1 x 1 PNG whose header then claims width × height.
inline std::vector<uint8_t> pngClaiming(uint32_t width, uint32_t height)
{
    QImage one(1, 1, QImage::Format_RGB32);
    one.fill(Qt::red);
    std::vector<uint8_t> png = encodeWithQt(one, "png");
    auto putBe = [&png](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) png[at + size_t(i)] = uint8_t(v >> (24 - 8 * i));
    };
    // Signature (8), IHDR length (4), "IHDR" (4), then width and height.
    putBe(16, width);
    putBe(20, height);
    putBe(29, pngCrc(png.data() + 12, 17));
    return png;
}

}  // namespace nelmora::picture_testing
