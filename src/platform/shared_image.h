#pragma once
// An off-screen picture shared by every control of one kind: the first
// control creates it, the last one to go frees it.

#include <memory>

#include "image/image.h"

namespace nelmora {

// `slot` is the kind's own weak reference; the result is null when the
// image cannot be created.
std::shared_ptr<Image> acquireSharedImage(std::weak_ptr<Image>& slot, int32_t width, int32_t height);

}  // namespace nelmora
