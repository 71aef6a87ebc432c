#include "resources/app_icon.h"

#include <QPixmap>

#include "resources/app_icon.xpm"

namespace nelmora {

QIcon appIcon() { return QIcon(QPixmap(app_icon_xpm)); }

}  // namespace nelmora
