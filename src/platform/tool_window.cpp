#include "platform/tool_window.h"

namespace nelmora {

ToolWindow::ToolWindow(const QString& title, QSize clientSize, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(title);
    setFixedSize(clientSize);
}

void ToolWindow::setClientHeight(int height) { setFixedSize(width(), height); }

}  // namespace nelmora
