#include "platform/shared_image.h"

namespace nelmora {

std::shared_ptr<Image> acquireSharedImage(std::weak_ptr<Image>& slot, int32_t width, int32_t height)
{
    if (std::shared_ptr<Image> existing = slot.lock()) return existing;
    Image* created = createImage(width, height, 0, 0, 0xFFFFFF);
    if (!created) return nullptr;
    std::shared_ptr<Image> owned(created, ImageDeleter{});
    slot = owned;
    return owned;
}

}  // namespace nelmora
