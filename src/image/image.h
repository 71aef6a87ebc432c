#pragma once
// The program's one pixel container: 32-bit pixels 0x00RRGGBB, top row first,
// with the rectangle of pixels changed since the image was last shown.

#include <cstdint>
#include <memory>

namespace nelmora {

// right and bottom are exclusive; empty when right <= left or bottom <= top.
struct UpdateRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The empty state: any union with a real rectangle yields that rectangle.
inline constexpr UpdateRect kEmptyUpdate{0xFFFF, 0xFFFF, 0, 0};

struct Image {
    uint32_t* pixels;
    int32_t width;
    int32_t height;
    int32_t stride;  // always equal to width
    int32_t centerX;
    int32_t centerY;
    UpdateRect update;
    // Told the box of a dab before any of its pixels change, so the undo
    // history can copy what is about to be overwritten; null when unwatched.
    void (*beforeWrite)(void* watcher, const UpdateRect& box) = nullptr;
    void* writeWatcher = nullptr;
    // Told at every dab and every few thousand pixels of a large one, so that
    // a long stroke can keep the program answering; it may throw to abandon
    // the stroke, half painted. Null when nobody listens.
    void (*whilePainting)(void* listener) = nullptr;
    void* paintingListener = nullptr;

    uint32_t& at(int32_t x, int32_t y) { return pixels[y * stride + x]; }
    uint32_t at(int32_t x, int32_t y) const { return pixels[y * stride + x]; }
};

// The largest pixel count createImage accepts (1 GiB of pixels); larger
// requests, and non-positive sizes, are refused like a failed allocation.
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 28;

bool isValidImageSize(int64_t width, int64_t height);

// Returns null when the size is refused or memory runs out.
Image* createImage(int32_t width, int32_t height, int32_t centerX, int32_t centerY, uint32_t fill);
// Returns 0 when given null, 1 otherwise.
int freeImage(Image* image);

// Copies a width x height block; the caller guarantees both rectangles lie
// inside their images.
void copyRect(const Image& source, Image& destination, int32_t sourceX, int32_t sourceY,
              int32_t width, int32_t height, int32_t destinationX, int32_t destinationY);

Image& markWholeImage(Image& image);
UpdateRect& clearUpdate(UpdateRect& rect);
void unionUpdate(UpdateRect& target, const UpdateRect& added);
inline void reportPainting(const Image& image)
{
    if (image.whilePainting) image.whilePainting(image.paintingListener);
}
inline bool isEmpty(const UpdateRect& r) { return r.right <= r.left || r.bottom <= r.top; }

struct ImageDeleter {
    void operator()(Image* image) const { freeImage(image); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

}  // namespace nelmora
