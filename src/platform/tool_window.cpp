#include "platform/tool_window.h"

#include <QCloseEvent>

namespace nelmora {

ToolWindow::ToolWindow(const QString& title, QSize clientSize, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
{
    // The fixed size tells X11 window managers (equal minimum and maximum size
    // hints: openbox then offers neither resize nor maximize); the hint above
    // gives the thin, handle-less border on Windows.
    setWindowTitle(title);
    setFixedSize(clientSize);
    // Painters hover over a tool window while painting in another: its
    // sliders name themselves without a click to activate it first.
    setAttribute(Qt::WA_AlwaysShowToolTips);
}

void ToolWindow::setClientHeight(int height) { setFixedSize(width(), height); }

void ToolWindow::paintWhite(QWidget& area)
{
    area.setAutoFillBackground(true);
    QPalette white = area.palette();
    white.setColor(QPalette::Window, Qt::white);
    area.setPalette(white);
}

void ToolWindow::closeEvent(QCloseEvent* event)
{
    // Only the main frame shows and hides tool windows, so its flag and tick stay right.
    event->ignore();
    emit hideRequested();
}

}  // namespace nelmora
