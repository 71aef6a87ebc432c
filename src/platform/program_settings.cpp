#include "platform/program_settings.h"

#include "platform/app_identity.h"

namespace nelmora {

std::unique_ptr<QSettings> programSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(kAppShortName),
                                       QString::fromLatin1(kAppShortName));
}

void resetProgramSettings()
{
    const auto settings = programSettings();
    settings->clear();
    settings->sync();
}

}  // namespace nelmora
