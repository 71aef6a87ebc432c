#include "app/tablet_tester_window.h"

#include <QFormLayout>
#include <QLabel>
#include <QPointingDevice>
#include <QProgressBar>
#include <utility>

#include "app/canvas_window.h"
#include "app/tool_windows.h"
#include "platform/ui_font.h"

namespace nelmora {

namespace {

constexpr QSize kClientSize(220, 112);
constexpr int kFullTurn = 0x10000;

using PointerType = QPointingDevice::PointerType;
constexpr std::pair<PointerType, const char*> kPointerNames[] = {
    {PointerType::Generic, "ﾏｳｽ"}, {PointerType::Finger, "指"},    {PointerType::Pen, "ﾍﾟﾝ"},
    {PointerType::Eraser, "消しｺﾞﾑ"}, {PointerType::Cursor, "ｶｰｿﾙ"},
};

QString pointerName(PointerType type)
{
    for (const auto& [known, name] : kPointerNames)
        if (type == known) return QString::fromUtf8(name);
    return QStringLiteral("?");
}

}  // namespace

TabletTesterWindow::TabletTesterWindow()
    : ToolWindow(QStringLiteral("ﾀﾌﾞﾚｯﾄ"), kClientSize),
      pressureBar_(new QProgressBar(this)),
      pressure_(new QLabel(this)),
      angle_(new QLabel(this)),
      device_(new QLabel(this)),
      pointer_(new QLabel(this))
{
    setObjectName(QStringLiteral("TABLET"));
    paintWhite(*this);
    setFont(gothicFont(9));
    pressureBar_->setRange(0, 0xFFFF);
    pressureBar_->setTextVisible(false);
    pressureBar_->setMaximumHeight(10);
    auto* form = new QFormLayout(this);
    form->setContentsMargins(6, 6, 6, 6);
    form->setVerticalSpacing(2);
    form->addRow(QStringLiteral("筆圧"), pressureBar_);
    form->addRow(QString(), pressure_);
    form->addRow(QStringLiteral("筆角度"), angle_);
    form->addRow(QStringLiteral("ﾃﾞﾊﾞｲｽ"), device_);
    form->addRow(QStringLiteral("種類"), pointer_);
    device_->setText(QStringLiteral("ﾀﾌﾞﾚｯﾄの入力はまだありません"));
    pressure_->setText(QStringLiteral("-"));
    angle_->setText(QStringLiteral("-"));
    pointer_->setText(QStringLiteral("-"));
}

void TabletTesterWindow::showReport(const TabletReport& report)
{
    pressureBar_->setValue(report.reading.pressure);
    pressure_->setText(QStringLiteral("%1 (%2%)").arg(report.reading.pressure).arg(qRound(report.pressure * 100)));
    const double degrees = report.reading.angle * 360.0 / kFullTurn;
    angle_->setText(report.tilted ? QStringLiteral("%1 (%2°)").arg(report.reading.angle).arg(qRound(degrees))
                                  : QStringLiteral("%1 (傾きなし)").arg(report.reading.angle));
    device_->setText(report.device.isEmpty() ? QStringLiteral("(名前なし)") : report.device);
    pointer_->setText(pointerName(report.pointerType) +
                      (report.touching ? QStringLiteral(", 接触") : QStringLiteral(", 浮遊")));
}

QString TabletTesterWindow::pressureText() const { return pressure_->text(); }
QString TabletTesterWindow::angleText() const { return angle_->text(); }
QString TabletTesterWindow::deviceText() const { return device_->text() + QStringLiteral(" / ") + pointer_->text(); }

ToolWindow* createTabletTesterWindow(const CanvasWindow& canvas)
{
    auto* window = new TabletTesterWindow;
    QObject::connect(&canvas, &CanvasWindow::tabletReported, window, &TabletTesterWindow::showReport);
    return window;
}

}  // namespace nelmora
