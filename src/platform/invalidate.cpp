#include "platform/invalidate.h"

#include <QWidget>

namespace nelmora {

void invalidateWithChildren(QWidget* widget)
{
    if (!widget) return;
    widget->update();
    const auto children = widget->findChildren<QWidget*>();
    for (QWidget* child : children) child->update();
}

}  // namespace nelmora
