#pragma once
// Qt's own Japanese texts for its standard dialogs and buttons ("はい",
// "いいえ", the file dialog), from Debian's qt6-translations-l10n. Our own
// texts are written in the code and are not touched.

class QTranslator;

namespace nelmora {

// Loads qtbase_ja.qm from Qt's translations folder and installs it on the
// application; null (and the dialogs stay English) when it is not there.
// The translator belongs to the application.
QTranslator* installQtJapanese();

}  // namespace nelmora
