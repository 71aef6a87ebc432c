#pragma once
// The "ﾀﾌﾞﾚｯﾄ" tool window: what the last tablet event over the canvas said —
// pressure, pen angle, device and pointer — so a painter sees at a glance
// whether the tablet reaches the program. It shows, it edits nothing.

#include "platform/tool_window.h"

class QLabel;
class QProgressBar;

namespace nelmora {

struct TabletReport;

class TabletTesterWindow : public ToolWindow {
    Q_OBJECT
public:
    TabletTesterWindow();

    void showReport(const TabletReport& report);

    QString pressureText() const;
    QString angleText() const;
    QString deviceText() const;

private:
    QProgressBar* pressureBar_;
    QLabel* pressure_;
    QLabel* angle_;
    QLabel* device_;
    QLabel* pointer_;
};

}  // namespace nelmora
