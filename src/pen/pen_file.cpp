#include "pen/pen_file.h"

#include <cstring>

#include "image/file_io.h"

namespace nelmora {

namespace {

// The shape region holds a whole 80 × 80 map, the width × stride bytes of the
// maps every pen has.
constexpr size_t kShapeBytes = size_t(kShapeSize) * size_t(kShapeSize);
constexpr size_t kReferenceBytes = 8;  // the in-memory shape and slot pointers
static_assert(16 + kShapeBytes + kSlotCount * 24 + 136 + kShapeSettingCount * 4 == kPenBlockSize);

constexpr int32_t PenParam::*kParamFields[] = {
    &PenParam::sourceA, &PenParam::scaleA, &PenParam::sourceB,
    &PenParam::scaleB,  &PenParam::base,   &PenParam::jitter,
};
constexpr int32_t Pen::*kRecordFields[] = {
    &Pen::blendIndex, &Pen::lastX, &Pen::lastDX,   &Pen::lastDY,    &Pen::lastY,   &Pen::dabX,
    &Pen::dabY,       &Pen::carry, &Pen::reserved, &Pen::drawMode, &Pen::lineColor, &Pen::endFlag,
};

int32_t getI32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

struct BlockWriter {
    uint8_t* at;
    void word(const int32_t& value)
    {
        const auto v = uint32_t(value);
        for (int i = 0; i < 4; ++i) *at++ = uint8_t(v >> (8 * i));
    }
    void bytes(const uint8_t* data, size_t count)
    {
        std::memcpy(at, data, count);
        at += count;
    }
    // Written as zero: the pointers mean nothing outside this process.
    void skip(size_t count)
    {
        std::memset(at, 0, count);
        at += count;
    }
};

struct BlockReader {
    const uint8_t* at;
    void word(int32_t& value)
    {
        value = getI32(at);
        at += 4;
    }
    void bytes(uint8_t* data, size_t count)
    {
        std::memcpy(data, at, count);
        at += count;
    }
    void skip(size_t count) { at += count; }
};

// One block in file order, for either direction.
template <class Io>
void transferBlock(Io& io, Pen& pen, ShapeSettings& settings)
{
    ShapeMap& map = *pen.shape;
    io.word(map.width);
    io.word(map.height);
    io.word(map.centerX);
    io.word(map.centerY);
    io.bytes(map.coverage, kShapeBytes);
    for (int i = 0; i < kSlotCount; ++i)
        for (auto field : kParamFields) io.word(pen.params[i].*field);
    io.skip(kReferenceBytes);
    for (auto field : kRecordFields) io.word(pen.*field);
    for (int32_t& output : pen.lastOutputs) io.word(output);
    for (int k = 0; k < kShapeSettingCount; ++k) io.word(shapeSetting(settings, k));
}

bool complete(const PenTable& pens, const ShapeSettingsTable& table)
{
    for (int n = 0; n < kPenCount; ++n) {
        const Pen* pen = pens[size_t(n)];
        if (!pen || !pen->shape || !pen->shape->coverage || !pen->params || !table[size_t(n)]) return false;
    }
    return true;
}

// The stored size must address only bytes inside the pen's own map.
bool shapeFits(const uint8_t* block, const ShapeMap& map)
{
    const int64_t width = getI32(block);
    const int64_t height = getI32(block + 4);
    const int64_t stride = map.stride;
    const auto capacity = int64_t(kShapeBytes);
    return stride > 0 && width > 0 && height > 0 && width * stride <= capacity && height * stride <= capacity;
}

}  // namespace

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    if (folder.back() == kPathSeparator) return folder + name;
    return folder + kPathSeparator + name;
}

std::vector<uint8_t> encodePenFile(const PenTable& pens, const ShapeSettingsTable& table)
{
    if (!complete(pens, table)) return {};
    std::vector<uint8_t> bytes(kPenFileSize);
    BlockWriter writer{bytes.data()};
    for (int n = 0; n < kPenCount; ++n) transferBlock(writer, *pens[size_t(n)], *table[size_t(n)]);
    return bytes;
}

bool decodePenFile(const uint8_t* data, size_t size, const PenTable& pens, const ShapeSettingsTable& table)
{
    if (!data || size < kPenFileSize || !complete(pens, table)) return false;
    // Both blocks are checked before either pen changes.
    for (int n = 0; n < kPenCount; ++n)
        if (!shapeFits(data + size_t(n) * kPenBlockSize, *pens[size_t(n)]->shape)) return false;
    BlockReader reader{data};
    // The stride is not stored: each map keeps its own.
    for (int n = 0; n < kPenCount; ++n) transferBlock(reader, *pens[size_t(n)], *table[size_t(n)]);
    return true;
}

bool savePenFile(const PenTable& pens, const ShapeSettingsTable& table, const std::string& folder,
                 const std::string& name, std::string* error)
{
    const std::string path = joinPath(folder, name);
    const std::vector<uint8_t> bytes = encodePenFile(pens, table);
    if (bytes.empty()) {
        if (error) *error = path + ": there are no pens to save";
        return false;
    }
    return writeFileAtomically(path, bytes, error);
}

bool loadPenFile(const PenTable& pens, const ShapeSettingsTable& table, const std::string& folder,
                 const std::string& name, std::string* error)
{
    const std::string path = joinPath(folder, name);
    std::vector<uint8_t> bytes;
    if (!readFileHead(path, kPenFileSize, bytes, error)) return false;
    if (bytes.size() < kPenFileSize) {
        if (error) *error = path + ": too short for a pen file";
        return false;
    }
    if (!decodePenFile(bytes.data(), bytes.size(), pens, table)) {
        if (error) *error = path + ": not a pen file the pens can hold";
        return false;
    }
    return true;
}

}  // namespace nelmora
