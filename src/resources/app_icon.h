#pragma once
// "MYICON2": the main frame's 32 x 32, 16-color icon.

#include <QIcon>

namespace nelmora {

QIcon appIcon();

}  // namespace nelmora
