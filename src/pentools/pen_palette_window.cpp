#include "pentools/pen_palette_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardPaths>
#include <QWheelEvent>
#include <algorithm>

#include "app/document.h"
#include "app/tool_windows.h"
#include "pen/pen_file.h"
#include "pentools/palette_item_picture.h"
#include "pentools/pen_library_location.h"
#include "platform/app_identity.h"
#include "platform/dialogs.h"
#include "platform/image_view.h"
#include "platform/invalidate.h"
#include "platform/recent_folders.h"
#include "platform/ui_font.h"

namespace nelmora {

namespace {

const char* const kPenFileFilter = "PenData File(*.pen)";

std::string toLocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString fromLocalPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// Rows of a column that lie wholly inside the client area: y = 10 ... 280.
constexpr int kVisibleRows = (kPaletteClientHeight - kFirstItemY - kItemHeight) / kItemPitch + 1;

}  // namespace

PaletteItemWidget::PaletteItemWidget(QWidget* client, PaletteItem item) : QWidget(client), item_(std::move(item))
{
    setObjectName(QStringLiteral("PPITEM"));
    setFixedSize(kItemWidth, kItemHeight);
    // The picture shows at most ten bytes of the name and no extension.
    setToolTip(QString::fromStdString(nameText(item_.name)));
}

void PaletteItemWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect inner = rect().adjusted(1, 1, -1, -1);  // the client area inside the thin border
    if (Image* image = item_.parent->itemImage()) {
        composePaletteItemPicture(*image, inner.width(), inner.height(), item_.isFolder,
                                  item_.parent->isHighlighted(item_));
        painter.save();
        painter.translate(inner.topLeft());
        paintImage(painter, *image, QRect(0, 0, inner.width(), inner.height()));
        painter.setFont(minchoFont(inner.height() - 1));
        painter.setPen(Qt::black);
        painter.drawText(QRect(1, 1, inner.width() - 1, inner.height() - 1),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(itemText(item_.name)));
        painter.restore();
    }
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PaletteItemWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    // The click re-lists the palette, which retires this widget: only the
    // index is passed on, and the widget is deleted later, not here.
    item_.parent->itemClicked(item_.index);
}

PenPaletteWindow::PenPaletteWindow(Workspace& workspace, std::string penRoot)
    : ToolWindow(QStringLiteral("PenPalette"), QSize(kPaletteClientWidth, kPaletteClientHeight)),
      workspace_(workspace),
      penRoot_(std::move(penRoot)),
      currentFolder_(penRoot_),
      itemImage_(createImage(kItemWidth, kItemHeight, kItemWidth / 2, kItemHeight / 2, 0xFFFFFF))
{
    setObjectName(QStringLiteral("PENPALETTE"));

    // "MYMENU2": two commands straight on the bar.
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    const struct {
        const char* text;
        int id;
    } commands[] = {{"保存(&S)", kPaletteSaveCommand}, {"読込み(&L)", kPaletteLoadCommand}};
    for (const auto& c : commands) {
        QAction* action = menuBar_->addAction(QString::fromUtf8(c.text));
        action->setData(c.id);
        const int id = c.id;
        connect(action, &QAction::triggered, this, [this, id] { command(id); });
    }
    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, kPaletteClientWidth, menuHeight);

    client_ = new QWidget(this);
    client_->setGeometry(0, menuHeight, kPaletteClientWidth, kPaletteClientHeight);
    paintWhite(*client_);
    setClientHeight(menuHeight + kPaletteClientHeight);

    listFolder(currentFolder_);
}

bool PenPaletteWindow::isHighlighted(const PaletteItem& item) const
{
    return item.index == (item.isFolder ? selectedFolderItem_ : selectedPenItem_);
}

void PenPaletteWindow::listFolder(const std::string& folder)
{
    for (PaletteItemWidget* old : items_) {
        old->hide();
        old->deleteLater();  // its own click may be what is running now
    }
    items_.clear();

    const std::vector<LibraryItem> listing = listPenLibrary(penRoot_, folder);
    int folderRows = 0;
    int penRows = 0;
    for (const LibraryItem& entry : listing) {
        const int index = int(items_.size());
        auto* widget = new PaletteItemWidget(client_, {this, index, entry.folder, entry.name, entry.isFolder});
        items_.push_back(widget);
        ++(entry.isFolder ? folderRows : penRows);
    }
    rowCount_ = std::max(folderRows, penRows);
    scrollRows_ = std::clamp(scrollRows_, 0, std::max(0, rowCount_ - kVisibleRows));
    findHighlights();
    placeItems();
    for (PaletteItemWidget* widget : items_) widget->show();
}

void PenPaletteWindow::findHighlights()
{
    selectedPenItem_ = -1;
    selectedFolderItem_ = -1;
    for (PaletteItemWidget* widget : items_) {
        const PaletteItem& item = widget->item();
        if (item.isFolder && item.name == openFolderName_)
            selectedFolderItem_ = item.index;
        else if (!item.isFolder && item.folder == loadedPen_.folder && item.name == loadedPen_.name)
            selectedPenItem_ = item.index;
    }
}

void PenPaletteWindow::openFolder(const std::string& name)
{
    openFolderName_ = name;
    currentFolder_ = penRoot_ + name + kPathSeparator;
    listFolder(currentFolder_);
}

void PenPaletteWindow::placeItems()
{
    int folderRow = 0;
    int penRow = 0;
    for (PaletteItemWidget* widget : items_) {
        const bool isFolder = widget->item().isFolder;
        const int row = isFolder ? folderRow++ : penRow++;
        widget->move(isFolder ? kFolderColumnX : kPenColumnX, kFirstItemY + kItemPitch * (row - scrollRows_));
    }
}

void PenPaletteWindow::wheelEvent(QWheelEvent* event)
{
    const int notches = wheel_.take(event);
    const int rows = std::clamp(scrollRows_ - notches, 0, std::max(0, rowCount_ - kVisibleRows));
    if (rows != scrollRows_) {
        scrollRows_ = rows;
        placeItems();
    }
    event->accept();
}

void PenPaletteWindow::itemClicked(int index)
{
    if (index < 0 || index >= itemCount()) return;
    const PaletteItem clicked = items_[size_t(index)]->item();  // a copy: listing retires the widget
    if (clicked.isFolder) {
        // Its item is found again by name, in case the folder column changed on disk meanwhile.
        openFolder(clicked.name);
    } else if (workspace_.loadPens(clicked.folder, clicked.name)) {
        // Only a pen that was really loaded is highlighted.
        loadedPen_ = {clicked.folder, clicked.name};
        selectedPenItem_ = index;
    }
    invalidateWithChildren(this);
}

void PenPaletteWindow::command(int id)
{
    if (id == kPaletteSaveCommand) save();
    else if (id == kPaletteLoadCommand) load();
}

void PenPaletteWindow::save()
{
    const QString chosen =
        dialogs().saveFileName(this, QString::fromUtf8(kPenFileFilter), lastFolder(FileKind::pen, fromLocalPath(currentFolder_)));
    rememberFolder(FileKind::pen, chosen);
    if (!chosen.isEmpty()) {
        // Saved under exactly the typed name: no ".pen" is added.
        const SplitPath path = splitPath(toLocalPath(chosen));
        std::string error;
        if (!workspace_.savePens(path.folder, path.name, &error)) {
            // The writer's message names the file and the reason.
            const QString reason = error.empty() ? chosen : fromLocalPath(error);
            dialogs().showWarning(this, windowTitle(), QStringLiteral("ペンファイルを保存できませんでした。\n") + reason);
        }
    }
    // Re-listed even when cancelled, so a file saved into the current folder shows.
    listFolder(currentFolder_);
    invalidateWithChildren(this);
}

void PenPaletteWindow::load()
{
    const QString chosen =
        dialogs().openFileName(this, QString::fromUtf8(kPenFileFilter), lastFolder(FileKind::pen, fromLocalPath(currentFolder_)));
    rememberFolder(FileKind::pen, chosen);
    if (chosen.isEmpty()) return;
    const SplitPath path = splitPath(toLocalPath(chosen));
    if (!workspace_.loadPens(path.folder, path.name)) return;
    loadedPen_ = {path.folder, path.name};
    // The listing stays; the highlight moves to the loaded file if it is listed.
    findHighlights();
    invalidateWithChildren(this);
}

ToolWindow* createPenPaletteWindow(Document& document)
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const PenLibraryChoice library = choosePenLibrary(
        {toLocalPath(programFolder), toLocalPath(programFolder + QStringLiteral("/" NELMORA_STARTER_PENS_FROM_PROGRAM)),
         toLocalPath(userData + QStringLiteral("/%1/Pen").arg(QString::fromLatin1(kAppShortName)))});
    if (!library.problem.empty())
        qWarning("nelmora: the pen library cannot be made (%s); the starter pens are shown, and saving them needs another folder",
                 library.problem.c_str());
    return new PenPaletteWindow(document.workspace(), library.root);
}

}  // namespace nelmora
