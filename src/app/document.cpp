#include "app/document.h"

#include <QDir>
#include <QFile>

#include "picture/picture_files.h"

namespace nelmora {

Document::Document(std::unique_ptr<Workspace> workspace, QObject* parent)
    : QObject(parent), workspace_(std::move(workspace))
{
    workspace_->addListener([this](const Change& change) { relay(change); });
    recorder_ = std::make_unique<Recorder>(*workspace_, [this](const Image& image) { return keepPicture(image); });
}

Document::~Document() = default;

std::string Document::keepPicture(const Image& image)
{
    if (!keptPictures_) keptPictures_ = std::make_unique<QTemporaryDir>();
    if (!keptPictures_->isValid()) return {};
    const QString name = QStringLiteral("picture-%1.png").arg(recorder_->keptPictures().size() + 1);
    const std::string path = QFile::encodeName(QDir(keptPictures_->path()).filePath(name)).toStdString();
    return writePicture(image, path) ? path : std::string();
}

void Document::selectPen(int pen)
{
    if (pen < 0 || pen >= kPenCount || pen == editedPen_) return;
    editedPen_ = pen;
    emit editedPenChanged(pen);
}

void Document::relay(const Change& change)
{
    switch (change.kind) {
    case Change::drawingValue: emit drawingValueChanged(change.index); break;
    case Change::penField:
    case Change::slot: emit penChanged(change.pen); break;
    case Change::shapeSettings:
    case Change::shapeMap: emit shapeChanged(change.pen); break;
    case Change::pens: emit pensReplaced(); break;
    case Change::image: emit imageReplaced(); break;
    case Change::pixels: emit pixelsChanged(); break;
    case Change::history: emit historyChanged(); break;
    case Change::penFile: emit penFileChanged(); break;
    case Change::random: break;
    }
}

}  // namespace nelmora
