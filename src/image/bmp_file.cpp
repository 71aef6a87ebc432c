#include "image/bmp_file.h"

#include <algorithm>
#include <cstring>

#include "image/file_io.h"

namespace nelmora {

namespace {

uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

uint32_t readU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void putU16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void putU32(uint8_t* p, uint32_t v)
{
    putU16(p, v);
    putU16(p + 2, v >> 16);
}

// What the header promises, checked so that a file is either read whole or refused.
struct BmpLayout {
    int32_t width;
    int32_t height;  // always positive
    bool topDown;
    size_t rowSize;
    uint64_t fileSize;  // header plus every row
};

bool parseHeader(const uint8_t* header, BmpLayout& layout)
{
    if (header[0] != 'B' || header[1] != 'M') return false;
    if (readU16(header + 28) != 24) return false;
    const int64_t width = int32_t(readU32(header + 18));
    const int64_t storedHeight = int32_t(readU32(header + 22));
    const int64_t height = storedHeight < 0 ? -storedHeight : storedHeight;
    // Refuses zero and negative widths and pixel counts no image can hold.
    if (!isValidImageSize(width, height)) return false;
    layout.width = int32_t(width);
    layout.height = int32_t(height);
    layout.topDown = storedHeight < 0;
    layout.rowSize = size_t(bmpRowSize(width));
    layout.fileSize = kBmpHeaderSize + uint64_t(layout.rowSize) * uint64_t(height);
    return true;
}

void convertRow(const uint8_t* row, uint32_t* pixels, int32_t width)
{
    for (int32_t x = 0; x < width; ++x, row += 3)
        pixels[x] = uint32_t(row[2]) << 16 | uint32_t(row[1]) << 8 | row[0];
}

// Creates the image and fills it from `nextRows(count)`, which returns the
// bytes of the next `count` stored rows, or null when they are missing.
template <class NextRows>
Image* decodeRows(const BmpLayout& layout, size_t chunkRows, NextRows nextRows)
{
    ImagePtr image(createImage(layout.width, layout.height, layout.width / 2, layout.height / 2, 0));
    if (!image) return nullptr;
    for (int32_t done = 0; done < layout.height;) {
        const size_t count = std::min<size_t>(chunkRows, size_t(layout.height - done));
        const uint8_t* rows = nextRows(count);
        if (!rows) return nullptr;
        for (size_t i = 0; i < count; ++i, ++done) {
            const int32_t y = layout.topDown ? done : layout.height - 1 - done;
            convertRow(rows + i * layout.rowSize, image->pixels + size_t(y) * size_t(image->stride), layout.width);
        }
    }
    return image.release();
}

// Rows are read and written in chunks of about this many bytes.
constexpr size_t kChunkBytes = size_t(1) << 20;

size_t rowsPerChunk(size_t rowSize, int32_t height)
{
    return std::min<size_t>(size_t(height), std::max<size_t>(1, kChunkBytes / rowSize));
}

}  // namespace

Image* decodeBmp(const uint8_t* data, size_t size)
{
    BmpLayout layout{};
    if (!data || size < kBmpHeaderSize || !parseHeader(data, layout)) return nullptr;
    // Checked before allocating, so a tiny file cannot ask for a huge image.
    if (size < layout.fileSize) return nullptr;
    const uint8_t* next = data + kBmpHeaderSize;
    return decodeRows(layout, size_t(layout.height), [&](size_t count) {
        const uint8_t* rows = next;
        next += count * layout.rowSize;
        return rows;
    });
}

Image* readBmp(const std::string& path)
{
    InputFile file;
    if (!file.open(path)) return nullptr;
    uint8_t header[kBmpHeaderSize];
    BmpLayout layout{};
    if (file.read(header, sizeof header) != int64_t(sizeof header) || !parseHeader(header, layout)) return nullptr;
    if (file.size() < 0 || uint64_t(file.size()) < layout.fileSize) return nullptr;
    std::vector<uint8_t> buffer;
    const size_t chunkRows = rowsPerChunk(layout.rowSize, layout.height);
    buffer.resize(chunkRows * layout.rowSize);
    return decodeRows(layout, chunkRows, [&](size_t count) -> const uint8_t* {
        const size_t bytes = count * layout.rowSize;
        return file.read(buffer.data(), bytes) == int64_t(bytes) ? buffer.data() : nullptr;
    });
}

bool encodeBmp(const Image& image, const ByteSink& sink)
{
    if (!isValidImageSize(image.width, image.height) || !image.pixels) return false;
    const size_t rowSize = size_t(bmpRowSize(image.width));
    const uint64_t fileSize = kBmpHeaderSize + uint64_t(rowSize) * uint64_t(image.height);

    uint8_t header[kBmpHeaderSize] = {'B', 'M'};
    putU32(header + 2, uint32_t(fileSize));
    putU32(header + 10, kBmpHeaderSize);
    putU32(header + 14, 40);
    putU32(header + 18, uint32_t(image.width));
    putU32(header + 22, uint32_t(image.height));
    putU16(header + 26, 1);
    putU16(header + 28, 24);
    if (!sink(header, sizeof header)) return false;

    // Padding bytes stay zero: each row overwrites only its pixel bytes.
    const size_t chunkRows = rowsPerChunk(rowSize, image.height);
    std::vector<uint8_t> buffer(chunkRows * rowSize, 0);
    size_t filled = 0;
    for (int32_t y = image.height - 1; y >= 0; --y) {
        const uint32_t* pixels = image.pixels + size_t(y) * size_t(image.stride);
        uint8_t* out = buffer.data() + filled * rowSize;
        for (int32_t x = 0; x < image.width; ++x, out += 3) {
            out[0] = uint8_t(pixels[x]);
            out[1] = uint8_t(pixels[x] >> 8);
            out[2] = uint8_t(pixels[x] >> 16);
        }
        if (++filled == chunkRows || y == 0) {
            if (!sink(buffer.data(), filled * rowSize)) return false;
            filled = 0;
        }
    }
    return true;
}

std::vector<uint8_t> encodeBmp(const Image& image)
{
    std::vector<uint8_t> bytes;
    if (isValidImageSize(image.width, image.height))
        bytes.reserve(kBmpHeaderSize + size_t(bmpRowSize(image.width)) * size_t(image.height));
    const bool done = encodeBmp(image, [&](const uint8_t* data, size_t size) {
        bytes.insert(bytes.end(), data, data + size);
        return true;
    });
    if (!done) bytes.clear();
    return bytes;
}

bool writeBmp(const Image& image, const std::string& path, std::string* error)
{
    if (!isValidImageSize(image.width, image.height) || !image.pixels) {
        if (error) *error = path + ": the picture has no pixels";
        return false;
    }
    AtomicFileWriter writer;
    if (!writer.open(path, error)) return false;
    const bool written = encodeBmp(image, [&](const uint8_t* data, size_t size) {
        return writer.write(data, size, error);
    });
    return written && writer.commit(error);
}

}  // namespace nelmora
