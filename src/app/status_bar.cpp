#include "app/status_bar.h"

#include <QFile>
#include <QLabel>
#include <QStringList>

#include "app/document.h"
#include "doc/canvas_stroke.h"
#include "pentools/pen_library.h"
#include "platform/shift_jis_text.h"

namespace nelmora {

namespace {

QLabel* addLabel(QStatusBar* bar, const QString& toolTip)
{
    auto* label = new QLabel(bar);
    label->setToolTip(toolTip);
    bar->addWidget(label);
    return label;
}

QString penName(int pen) { return QStringLiteral("ペン%1").arg(pen); }

constexpr int kPointerIntervalMs = 100;

}  // namespace

StatusBar::StatusBar(Document& document, QWidget* parent)
    : QStatusBar(parent),
      document_(document),
      pointer_(addLabel(this, QStringLiteral("ポインタの位置 (画像のピクセル)"))),
      magnification_(addLabel(this, QStringLiteral("表示倍率"))),
      penFile_(addLabel(this, QStringLiteral("最後に読み込んだか保存したペンファイル"))),
      editedPen_(addLabel(this, QStringLiteral("ペンセットとペンクリエータが編集するペン"))),
      drawModes_(addLabel(this, QStringLiteral("各ペンの描画"))),
      showPointerPaced_(kPointerIntervalMs, [this] { showPendingPointer(); })
{
    setObjectName(QStringLiteral("STATUSBAR"));
    setSizeGripEnabled(false);
    // Room for any position, so the other fields do not shift as the pointer
    // moves; a fixed size also spares the bar a new layout at every position.
    pointer_->setFixedSize(pointer_->fontMetrics().horizontalAdvance(QStringLiteral("-00000, -00000")),
                           pointer_->sizeHint().height());
    setMagnification(100);
    showPenFile();
    showEditedPen(document.editedPen());
    showDrawModes();
    connect(&document, &Document::penFileChanged, this, &StatusBar::showPenFile);
    connect(&document, &Document::editedPenChanged, this, &StatusBar::showEditedPen);
    connect(&document, &Document::penChanged, this, &StatusBar::showDrawModes);
    connect(&document, &Document::pensReplaced, this, &StatusBar::showDrawModes);
}

void StatusBar::showPointer(QPoint imagePixel)
{
    pointerAt_ = imagePixel;
    showPointerPaced_.request();
}

void StatusBar::showPendingPointer()
{
    pointer_->setText(QStringLiteral("%1, %2").arg(pointerAt_.x()).arg(pointerAt_.y()));
}

void StatusBar::clearPointer()
{
    showPointerPaced_.cancel();
    pointer_->clear();
}

void StatusBar::showBusy(bool busy)
{
    if (busy)
        showMessage(QStringLiteral("描画中… Escで中止"));
    else
        clearMessage();
}

void StatusBar::setMagnification(int percent) { magnification_->setText(QStringLiteral("%1%").arg(percent)); }

void StatusBar::showPenFile()
{
    const PenFileName& file = document_.workspace().penFileName();
    penFile_->setText(QString::fromStdString(nameText(file.name)));
    // The folder as the file system spells it, for the one who wonders where it went.
    penFile_->setToolTip(file.name.empty() ? QString() : QFile::decodeName(QByteArray::fromStdString(joinPath(file.folder, file.name))));
}

void StatusBar::showEditedPen(int pen) { editedPen_->setText(QStringLiteral("編集: ") + penName(pen)); }

void StatusBar::showDrawModes()
{
    QStringList modes;
    for (int pen = 0; pen < kPenCount; ++pen) {
        const int32_t mode = document_.workspace().pen(pen).drawMode;
        const NameList& names = drawModeLabels();
        const QString name = names.contains(mode) ? fromShiftJis(names.entry(mode)).trimmed()
                                                  : QString::number(mode);
        modes << penName(pen) + QLatin1Char(' ') + name;
    }
    drawModes_->setText(QStringLiteral("描画: ") + modes.join(QStringLiteral(", ")));
}

}  // namespace nelmora
