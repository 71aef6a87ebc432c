#pragma once
// The name filters the open and save dialogs offer, and the test a dropped
// file's name must pass.

#include <QString>
#include <QStringList>

namespace nelmora {

// "画像ファイル (...)" with every extension first, then one entry per format,
// among them "Bitmap File(*.bmp)".
QStringList pictureFileFilters();

// True when the name ends in an extension of a format the program reads, in
// any letter case.
bool hasPictureExtension(const QString& fileName);

}  // namespace nelmora
