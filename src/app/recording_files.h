#pragma once
// File > Save recording and File > Replay recording: the session's event
// script on disk, with the pictures it opened beside it.

#include <QString>

class QWidget;

namespace nelmora {

class CanvasStroke;
class Recorder;
class Workspace;

// Writes the script to `path` and each opened picture beside it as
// STEM-N.png, named so by the script's image lines. Returns what went
// wrong, empty on success.
QString saveRecording(const Recorder& recording, const QString& path);

// Puts the workspace back to its start-up state and runs the script at
// `path` on it through `canvas`, showing progress over `owner` with a
// cancel button. Returns what went wrong (the lines before it have run),
// empty on success or when cancelled.
QString replayRecording(Workspace& workspace, CanvasStroke& canvas, const QString& path, QWidget* owner);

}  // namespace nelmora
