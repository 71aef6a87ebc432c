#include "platform/tool_window.h"

#include <QCloseEvent>

namespace nelmora {

ToolWindow::ToolWindow(const QString& title, QSize clientSize, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(title);
    setFixedSize(clientSize);
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
