#pragma once
// The folders the file dialogs last chose from, kept in the program's
// settings, so the next dialog (in this run or the next) opens there.

#include <QString>

namespace nelmora {

enum class FileKind { picture, pen };

// The folder of the last file chosen for `kind`; `fallback` when none was or
// when that folder is gone.
QString lastFolder(FileKind kind, const QString& fallback = {});
// Remembers the folder holding `chosenFile`; an empty name (a cancel) changes nothing.
void rememberFolder(FileKind kind, const QString& chosenFile);

}  // namespace nelmora
