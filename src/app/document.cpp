#include "app/document.h"

namespace nelmora {

Document::Document(std::unique_ptr<Workspace> workspace, QObject* parent)
    : QObject(parent), workspace_(std::move(workspace))
{
    workspace_->addListener([this](const Change& change) { relay(change); });
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
    }
}

}  // namespace nelmora
