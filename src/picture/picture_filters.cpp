#include "picture/picture_filters.h"

namespace nelmora {

namespace {

const char* const kExtensions[] = {"bmp", "png", "jpg", "jpeg", "webp", "tif", "tiff"};

}  // namespace

QStringList pictureFileFilters()
{
    return {
        QStringLiteral("画像ファイル (*.bmp *.png *.jpg *.jpeg *.webp *.tif *.tiff)"),
        QStringLiteral("Bitmap File(*.bmp)"),
        QStringLiteral("PNG File(*.png)"),
        QStringLiteral("JPEG File(*.jpg *.jpeg)"),
        QStringLiteral("WebP File(*.webp)"),
        QStringLiteral("TIFF File(*.tif *.tiff)"),
    };
}

bool hasPictureExtension(const QString& fileName)
{
    for (const char* extension : kExtensions)
        if (fileName.endsWith(QLatin1Char('.') + QLatin1String(extension), Qt::CaseInsensitive)) return true;
    return false;
}

}  // namespace nelmora
