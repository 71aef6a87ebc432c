#pragma once
// The interface fonts. The windows ask for "ＭＳ 明朝" and "ＭＳ Ｐゴシック" by
// name; the IPA fonts stand in for them.

#include <QFont>

namespace nelmora {

extern const char* const kMinchoFace;
extern const char* const kGothicFace;

// Maps the two face names onto installed Japanese fonts; call once at start-up.
void installFontSubstitutions();

// The fixed-pitch Mincho face at a pixel height, as the sliders and items draw text.
QFont minchoFont(int pixelHeight);
// The proportional Gothic face of dialogs, in points.
QFont gothicFont(int pointSize);

}  // namespace nelmora
