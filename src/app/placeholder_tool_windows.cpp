// Stand-ins for the tool windows that are not built yet: each factory makes
// an empty, hidden window of the right title and size, so the main frame can
// show, hide and own all five from the start. A real window replaces its
// block here when it lands.

#include <QSize>
#include <QString>

#include "app/app_state.h"
#include "app/tool_windows.h"
#include "platform/tool_window.h"

namespace nelmora {

// ---- Pen set ---------------------------------------------------------------

QWidget* createPenSetWindow(AppState&, std::function<void(int)>)
{
    return new ToolWindow(QStringLiteral("PenSet"), QSize(650, 350));
}

}  // namespace nelmora
