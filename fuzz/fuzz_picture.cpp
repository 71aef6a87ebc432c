// Any bytes given to the picture reader either yield a sound 24-bit image
// within the pixel limit, or are refused with a reason; our own plain BMP
// layout is left to the core's codec exactly.
#include <cstdlib>
#include <cstring>
#include <string>

#include "image/bmp_file.h"
#include "picture/picture_files.h"

using namespace nelmora;

namespace {

// Small enough that a lying header cannot run the fuzzer out of memory,
// large enough for every seed.
constexpr int64_t kFuzzMaxPixels = int64_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string error;
    ImagePtr image(decodePicture(data, size, &error, kFuzzMaxPixels));
    const bool plainBmp = isPlainBmpHeader(data, size);
    if (plainBmp) {
        ImagePtr ours(decodeBmp(data, size));
        if (bool(ours) != bool(image)) std::abort();
        if (ours && (ours->width != image->width || ours->height != image->height ||
                     std::memcmp(ours->pixels, image->pixels, size_t(ours->width) * size_t(ours->height) * 4) != 0))
            std::abort();
    }
    if (!image) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (image->width <= 0 || image->height <= 0 || image->stride != image->width ||
        int64_t(image->width) * image->height > (plainBmp ? kMaxImagePixels : kFuzzMaxPixels) ||
        image->centerX != image->width / 2 || image->centerY != image->height / 2)
        std::abort();
    for (size_t i = 0; i < size_t(image->width) * size_t(image->height); ++i)
        if (image->pixels[i] >> 24) std::abort();
    return 0;
}
