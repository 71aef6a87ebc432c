#pragma once
// Pictures on disk in any supported format. The plain 24-bit BMP the program
// writes is read and written by the core's own codec, byte for byte as ever;
// every other file goes through Qt's image plug-ins and is turned into the
// program's 24-bit image.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"

namespace nelmora {

enum class PictureFormat { Bmp, Png, Jpeg, WebP, Tiff };

// The format a save writes, chosen by the name's extension in any letter
// case; BMP for any other extension or none.
PictureFormat pictureFormatForPath(const std::string& path);

// True for the layout our codec writes and reads: "BM", a 40-byte information
// header, 24 bits per pixel, no compression, pixels at byte 54. `header` holds
// the file's first `size` bytes.
bool isPlainBmpHeader(const uint8_t* header, size_t size);

// The format is found from the content, never from the name. Pictures with
// more than kMaxImagePixels pixels are refused before their pixels are
// decoded. Transparent pixels are shown over white, deeper or indexed colors
// become 24-bit, and a JPEG's orientation tag is applied. On failure `error`
// names the file and the reason.
ImagePtr readPicture(const std::string& path, std::string* error = nullptr);
// The same over bytes in memory; `error` then holds the reason only. A lower
// `maxPixels` lets the fuzz target explore without gigabyte pictures.
ImagePtr decodePicture(const uint8_t* data, size_t size, std::string* error = nullptr,
                       int64_t maxPixels = kMaxImagePixels);

// Writes in the format the extension names (see pictureFormatForPath). The
// file is replaced only once the whole picture is on disk; on failure the old
// file stays as it was and `error` names the file and the reason.
bool writePicture(const Image& image, const std::string& path, std::string* error = nullptr);
// The file's bytes in the given format; false with the reason in `error`.
bool encodePicture(const Image& image, PictureFormat format, std::vector<uint8_t>& bytes,
                   std::string* error = nullptr);

}  // namespace nelmora
