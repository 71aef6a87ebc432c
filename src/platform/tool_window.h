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
};

}  // namespace nelmora
