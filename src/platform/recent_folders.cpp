#include "platform/recent_folders.h"

#include <QDir>
#include <QFileInfo>

#include "platform/program_settings.h"

namespace nelmora {

namespace {

QString keyOf(FileKind kind)
{
    return kind == FileKind::picture ? QStringLiteral("folders/pictures") : QStringLiteral("folders/pens");
}

}  // namespace

QString lastFolder(FileKind kind, const QString& fallback)
{
    const QString folder = programSettings()->value(keyOf(kind)).toString();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : fallback;
}

void rememberFolder(FileKind kind, const QString& chosenFile)
{
    if (chosenFile.isEmpty()) return;
    programSettings()->setValue(keyOf(kind), QFileInfo(chosenFile).absolutePath());
}

}  // namespace nelmora
