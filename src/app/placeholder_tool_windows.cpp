// Stand-ins for the tool windows that are not built yet: each factory makes
// an empty, hidden window of the right title and size, so the main frame can
// show, hide and own all five from the start. A real window replaces its
// block here when it lands.

#include <QSize>
#include <QString>

#include "app/app_state.h"
#include "app/tool_windows.h"
#include "platform/tool_window.h"
#include "pentools/pen_creator_defaults.h"

namespace nelmora {

// ---- Pen palette -----------------------------------------------------------

QWidget* createPenPaletteWindow(AppState&)
{
    return new ToolWindow(QStringLiteral("PenPalette"), QSize(190, 300));
}

// ---- Pen creator -----------------------------------------------------------

QWidget* createPenCreatorWindow(AppState& state)
{
    // The pens' shape settings start from the pen creator's defaults.
    applyPenCreatorDefaults(state);
    return new ToolWindow(QStringLiteral("PenCreator"), QSize(240, 300));
}

void selectPen(QWidget*, int) {}

// ---- Pen set ---------------------------------------------------------------

QWidget* createPenSetWindow(AppState&, std::function<void(int)>)
{
    return new ToolWindow(QStringLiteral("PenSet"), QSize(650, 350));
}

}  // namespace nelmora
