// Any bytes given to the BMP reader either yield a sound image that survives
// a write and a second read unchanged, or are refused; the file reader agrees
// with the reader over memory.
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "fuzz_checks.h"
#include "image/bmp_file.h"

using namespace nelmora;

namespace {

// One in-memory file, rewritten for every input, read back through its path.
Image* readThroughFile(const uint8_t* data, size_t size)
{
    static const int fd = memfd_create("fuzz_bmp", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size)) std::abort();
    return readBmp("/proc/self/fd/" + std::to_string(fd));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ImagePtr image(decodeBmp(data, size));
    ImagePtr fromFile(readThroughFile(data, size));
    if (!image) {
        if (fromFile) std::abort();
        return 0;
    }
    if (!fromFile || !samePixels(*image, *fromFile)) std::abort();
    if (image->width <= 0 || image->height <= 0 || image->stride != image->width ||
        image->centerX != image->width / 2 || image->centerY != image->height / 2)
        std::abort();
    for (size_t i = 0; i < size_t(image->width) * size_t(image->height); ++i)
        if (image->pixels[i] >> 24) std::abort();

    const std::vector<uint8_t> bytes = encodeBmp(*image);
    if (bytes.size() != kBmpHeaderSize + size_t(bmpRowSize(image->width)) * size_t(image->height)) std::abort();
    ImagePtr again(decodeBmp(bytes.data(), bytes.size()));
    if (!again || !samePixels(*image, *again)) std::abort();
    return 0;
}
