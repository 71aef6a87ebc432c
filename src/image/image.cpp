#include "image/image.h"

#include <algorithm>
#include <new>

namespace nelmora {

bool isValidImageSize(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX &&
           width * height <= kMaxImagePixels;
}

Image* createImage(int32_t width, int32_t height, int32_t centerX, int32_t centerY, uint32_t fill)
{
    if (!isValidImageSize(width, height)) return nullptr;
    auto* image = new (std::nothrow) Image{};
    if (!image) return nullptr;
    const size_t count = size_t(width) * size_t(height);
    image->pixels = new (std::nothrow) uint32_t[count];
    if (!image->pixels) {
        delete image;
        return nullptr;
    }
    image->width = width;
    image->height = height;
    image->stride = width;
    image->centerX = centerX;
    image->centerY = centerY;
    markWholeImage(*image);
    std::fill_n(image->pixels, count, fill);
    return image;
}

int freeImage(Image* image)
{
    if (!image) return 0;
    delete[] image->pixels;
    delete image;
    return 1;
}

void copyRect(const Image& source, Image& destination, int32_t sourceX, int32_t sourceY,
              int32_t width, int32_t height, int32_t destinationX, int32_t destinationY)
{
    for (int32_t i = 0; i < height; ++i) {
        const uint32_t* from = source.pixels + size_t(sourceY + i) * source.stride + sourceX;
        uint32_t* to = destination.pixels + size_t(destinationY + i) * destination.stride + destinationX;
        std::copy_n(from, width, to);
    }
}

Image& markWholeImage(Image& image)
{
    image.update = {0, 0, image.width, image.height};
    return image;
}

UpdateRect& clearUpdate(UpdateRect& rect)
{
    rect = kEmptyUpdate;
    return rect;
}

void unionUpdate(UpdateRect& target, const UpdateRect& added)
{
    target.left = std::min(target.left, added.left);
    target.top = std::min(target.top, added.top);
    target.right = std::max(target.right, added.right);
    target.bottom = std::max(target.bottom, added.bottom);
}

}  // namespace nelmora
