#pragma once
// Uncompressed 24-bit BMP files: a 14-byte file header, a 40-byte information
// header, then the pixel rows, bottom row first, each padded to 4 bytes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/image.h"

namespace nelmora {

inline constexpr size_t kBmpHeaderSize = 54;

// Bytes of one stored row: width × 3 padded to a multiple of 4.
inline constexpr int64_t bmpRowSize(int64_t width) { return (width * 3 + 3) & ~int64_t{3}; }

// A new image owned by the caller, or null when the file cannot be read whole
// or is not a 24-bit BMP of a size the program can hold.
Image* readBmp(const std::string& path);
// Replaces the file only once the whole picture is on disk; on failure the old
// file stays as it was and `error` names the file and the reason.
bool writeBmp(const Image& image, const std::string& path, std::string* error = nullptr);

// The same over bytes in memory. A top-down file (negative height) is read as
// such; the pixel-data offset field is ignored: rows start at byte 54.
Image* decodeBmp(const uint8_t* data, size_t size);
// Receives the file's bytes in order; false stops the encoding.
using ByteSink = std::function<bool(const uint8_t* data, size_t size)>;
bool encodeBmp(const Image& image, const ByteSink& sink);
// Empty for an image without pixels.
std::vector<uint8_t> encodeBmp(const Image& image);

}  // namespace nelmora
