#pragma once
// The program's settings store (QSettings under the short name: on Linux
// ~/.config/nelmora/nelmora.conf). Every reader and writer opens it here, so
// tests that point QSettings::setPath elsewhere catch them all.

#include <QSettings>
#include <memory>

namespace nelmora {

std::unique_ptr<QSettings> programSettings();

// Forgets every setting (nelmora --reset-settings).
void resetProgramSettings();

}  // namespace nelmora
