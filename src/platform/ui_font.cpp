#include "platform/ui_font.h"

#include <QStringList>

namespace nelmora {

const char* const kMinchoFace = "ＭＳ 明朝";
const char* const kGothicFace = "ＭＳ Ｐゴシック";

void installFontSubstitutions()
{
    QFont::insertSubstitutions(QString::fromUtf8(kMinchoFace),
                               {QStringLiteral("IPAMincho"), QStringLiteral("IPAGothic"), QStringLiteral("Monospace")});
    QFont::insertSubstitutions(QString::fromUtf8(kGothicFace),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Sans Serif")});
}

QFont minchoFont(int pixelHeight)
{
    QFont font(QString::fromUtf8(kMinchoFace));
    font.setPixelSize(pixelHeight > 0 ? pixelHeight : 1);
    font.setWeight(QFont::Normal);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter, QFont::PreferQuality);
    return font;
}

QFont gothicFont(int pointSize)
{
    QFont font(QString::fromUtf8(kGothicFace));
    font.setPointSize(pointSize);
    return font;
}

}  // namespace nelmora
