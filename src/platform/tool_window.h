#pragma once
// A floating tool window: top-level, no owner, a caption without a close
// button, and a fixed client size.

#include <QWidget>

namespace nelmora {

class ToolWindow : public QWidget {
    Q_OBJECT
public:
    ToolWindow(const QString& title, QSize clientSize, QWidget* parent = nullptr);

    // Keeps the width; used by windows whose visible rows change.
    void setClientHeight(int height);

signals:
    // The window manager asked to close the window (Alt+F4, a close box it
    // adds): the main frame hides it the way its menu toggle does.
    void hideRequested();

protected:
    // Gives `area` (the window itself or its client widget) the white background of the tool windows.
    static void paintWhite(QWidget& area);
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace nelmora
