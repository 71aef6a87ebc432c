#pragma once
// The document as the windows see it: the Qt-free Workspace, with a Qt signal
// for every kind of change its named edits report. Windows edit through
// workspace() and repaint when a signal says that what they show changed,
// whoever changed it.

#include <QObject>
#include <QTemporaryDir>
#include <memory>

#include "doc/workspace.h"
#include "script/recorder.h"

namespace nelmora {

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(std::unique_ptr<Workspace> workspace, QObject* parent = nullptr);
    ~Document() override;

    Workspace& workspace() { return *workspace_; }
    const Workspace& workspace() const { return *workspace_; }
    // The session so far as an event script, from start-up or the last replay.
    const Recorder& recording() const { return *recorder_; }

    // The pen the pen set shows and the pen creator edits (0 or 1).
    int editedPen() const { return editedPen_; }
    void selectPen(int pen);

signals:
    void drawingValueChanged(int index);
    // A switch, the blend mode or a slot of the pen.
    void penChanged(int pen);
    // The pen's shape settings or its map.
    void shapeChanged(int pen);
    void pensReplaced();
    // A new picture (New, Open), perhaps of another size.
    void imageReplaced();
    // The whole picture repainted in place (Fill).
    void pixelsChanged();
    void editedPenChanged(int pen);
    // What undo and redo can do changed.
    void historyChanged();
    // Another pen file was loaded or saved (Workspace::penFileName).
    void penFileChanged();

private:
    void relay(const Change& change);
    // Keeps an opened picture for the recording as a PNG file in a folder of
    // the session; empty when it cannot.
    std::string keepPicture(const Image& image);

    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<QTemporaryDir> keptPictures_;  // made at the first Open
    std::unique_ptr<Recorder> recorder_;
    int editedPen_ = 0;
};

}  // namespace nelmora
