#include "app/new_image_dialog.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/new_image_request.h"
#include "doc/workspace.h"
#include "platform/dialogs.h"
#include "platform/ui_font.h"

namespace nelmora {

namespace {
constexpr int kTextLimit = 255;

QString refusalText(const NewImageRequest& request)
{
    if (!request.sizeAccepted)
        return QStringLiteral("幅 %1 × 高さ %2 の画像は作れません。\n"
                              "幅と高さは 1 以上、幅 × 高さは %3 画素以下にしてください。")
            .arg(request.width)
            .arg(request.height)
            .arg(kMaxImagePixels);
    return QStringLiteral("メモリが足りないため、幅 %1 × 高さ %2 の画像を作れません。")
        .arg(request.width)
        .arg(request.height);
}
}  // namespace

NewImageDialog::NewImageDialog(Workspace& workspace, QWidget* owner)
    : QDialog(owner), workspace_(workspace)
{
    setObjectName(QStringLiteral("MYDIALOG_NEW"));
    setWindowTitle(QStringLiteral("新規作成"));
    setFont(gothicFont(9));

    // The base units of dialog-unit arithmetic: the average width of the
    // Latin letters and the line height of the dialog font.
    const QFontMetrics metrics(font());
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = qMax(1, (letters / 26 + 1) / 2);
    baseHeight_ = qMax(1, metrics.height());

    auto label = [this](const char* text, int y) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setGeometry(dialogRect(23, y, 22, 9));
    };
    const Image& image = workspace_.image();

    label("幅 :", 9);
    widthEdit_ = new QLineEdit(QString::number(image.width), this);
    widthEdit_->setObjectName(QStringLiteral("widthEdit"));
    widthEdit_->setMaxLength(kTextLimit);
    widthEdit_->setGeometry(dialogRect(47, 7, 54, 12));

    label("高さ :", 27);
    heightEdit_ = new QLineEdit(QString::number(image.height), this);
    heightEdit_->setObjectName(QStringLiteral("heightEdit"));
    heightEdit_->setMaxLength(kTextLimit);
    heightEdit_->setGeometry(dialogRect(47, 25, 54, 12));

    label("背景 :", 49);
    backgroundBox_ = new QComboBox(this);
    backgroundBox_->setObjectName(QStringLiteral("backgroundBox"));
    backgroundBox_->setEditable(true);
    // Typed text picks from the list; it never becomes an entry of its own.
    backgroundBox_->setInsertPolicy(QComboBox::NoInsert);
    for (const BackgroundColor& entry : backgroundColors)
        backgroundBox_->addItem(QString::fromStdString(backgroundEntryText(entry)));
    backgroundBox_->setCurrentIndex(0);
    backgroundBox_->setMaxVisibleItems(int(backgroundColors.size()));
    const QRect boxRect = dialogRect(47, 47, 55, 12);
    backgroundBox_->setGeometry(boxRect.x(), boxRect.y(), boxRect.width(),
                                qMax(boxRect.height(), backgroundBox_->sizeHint().height()));

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    okButton_->setGeometry(dialogRect(18, 74, 50, 14));
    connect(okButton_, &QPushButton::clicked, this, &NewImageDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setGeometry(dialogRect(74, 74, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &NewImageDialog::reject);

    setFixedSize(dialogRect(0, 0, 131, 95).size());
    widthEdit_->setFocus();
}

QRect NewImageDialog::dialogRect(int x, int y, int width, int height) const
{
    auto h = [this](int units) { return (units * baseWidth_ + 2) / 4; };
    auto v = [this](int units) { return (units * baseHeight_ + 4) / 8; };
    return {h(x), v(y), h(width), v(height)};
}

int NewImageDialog::backgroundSelection() const
{
    const int index = backgroundBox_->currentIndex();
    if (index >= 0 && backgroundBox_->itemText(index) == backgroundBox_->currentText()) return index;
    return backgroundBox_->findText(backgroundBox_->currentText(), Qt::MatchExactly);
}

void NewImageDialog::accept()
{
    const NewImageRequest request = makeNewImageRequest(widthEdit_->text().toStdString(),
                                                        heightEdit_->text().toStdString(), backgroundSelection());
    // The new image is made before the old one goes, so a refusal leaves a
    // current image that the canvas still matches.
    if (!request.sizeAccepted || !workspace_.newImage(request.width, request.height, request.fill)) {
        dialogs().showWarning(this, windowTitle(), refusalText(request));
        widthEdit_->setFocus();
        widthEdit_->selectAll();
        return;
    }
    QDialog::accept();
}

}  // namespace nelmora
