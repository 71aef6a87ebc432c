#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenuBar>
#include <QMimeData>

#include "app/canvas_view.h"
#include "app/canvas_window.h"
#include "app/view_scale.h"
#include "app/document.h"
#include "app/new_image_dialog.h"
#include "app/recording_files.h"
#include "app/status_bar.h"
#include "app/tool_windows.h"
#include "app/window_settings.h"
#include "picture/picture_files.h"
#include "picture/picture_filters.h"
#include "platform/dialogs.h"
#include "platform/invalidate.h"
#include "platform/recent_folders.h"
#include "platform/tool_window.h"
#include "platform/ui_font.h"
#include "resources/app_icon.h"

namespace nelmora {

namespace {

// One string with ";;" between the entries, as Qt's file dialog takes them;
// its own dialog matches the patterns in any letter case.
QString fileFilters() { return pictureFileFilters().join(QStringLiteral(";;")); }

// The first dragged local file named like a picture; empty when there is none.
QString draggedPicture(const QMimeData* data)
{
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && hasPictureExtension(url.toLocalFile())) return url.toLocalFile();
    return {};
}

}  // namespace

MainFrame::MainFrame(StrokeOps strokeOps, size_t undoBudget)
{
    setWindowTitle(QStringLiteral("Nelmora v-.02"));
    setWindowIcon(appIcon());
    resize(400, 300);
    setAcceptDrops(true);

    // The client area: stock gray, the canvas at its top-left corner and never
    // stretched with the frame; scroll bars when the picture does not fit.
    view_ = new CanvasView(this);
    setCentralWidget(view_);
    buildMenu();

    try {
        document_ = std::make_unique<Document>(std::make_unique<Workspace>());
    } catch (const std::bad_alloc&) {
        return;
    }
    document_->workspace().setUndoBudget(undoBudget);
    connect(document_.get(), &Document::historyChanged, this, &MainFrame::updateUndoActions);
    updateUndoActions();
    canvas_ = new CanvasWindow(*document_, view_, strokeOps);
    view_->setCanvas(canvas_);
    canvas_->setFocusPolicy(Qt::StrongFocus);
    canvas_->setFocus();
    connect(view_, &CanvasView::zoomChanged, this, &MainFrame::showZoom);
    // Below the view, which keeps its top-left corner and so the canvas's place.
    statusBar_ = new StatusBar(*document_, this);
    setStatusBar(statusBar_);
    statusBar_->setMagnification(view_->zoom());
    connect(view_, &CanvasView::zoomChanged, statusBar_, &StatusBar::setMagnification);
    connect(canvas_, &CanvasWindow::pointerMoved, statusBar_, &StatusBar::showPointer);
    connect(canvas_, &CanvasWindow::pointerLeft, statusBar_, &StatusBar::clearPointer);
    connect(canvas_, &CanvasWindow::busyChanged, statusBar_, &StatusBar::showBusy);

    toolWindows_[kPenPaletteTool] = createPenPaletteWindow(*document_);
    toolWindows_[kColorCreatorTool] = createColorCreatorWindow(*document_);
    toolWindows_[kLineOptionTool] = createLineOptionWindow(*document_);
    toolWindows_[kPenCreatorTool] = createPenCreatorWindow(*document_);
    toolWindows_[kPenSetTool] = createPenSetWindow(*document_);
    toolWindows_[kTabletTesterTool] = createTabletTesterWindow(*canvas_);
    for (int k = 0; k < kToolCount; ++k)
        if (ToolWindow* w = toolWindows_[size_t(k)])
            connect(w, &ToolWindow::hideRequested, this, [this, k] {
                if (toolVisible(k)) toggleTool(k);
            });
    applyVisibility();
}

MainFrame::~MainFrame()
{
    // The windows go before the document they show.
    destroyToolWindows();
    delete canvas_;
}

void MainFrame::buildMenu()
{
    QMenuBar* bar = menuBar();
    auto item = [](QMenu* menu, const char* label) { return menu->addAction(QString::fromUtf8(label)); };
    auto greyed = [&item](QMenu* menu, const char* label) { item(menu, label)->setEnabled(false); };
    auto ticked = [](QAction* a, bool on) {
        a->setCheckable(true);
        a->setChecked(on);
        return a;
    };

    QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    actions_.newImage = item(file, "新規作成(&N)");
    actions_.open = item(file, "開く(&O)");
    actions_.save = item(file, "保存(&S)");
    file->addSeparator();
    actions_.saveRecording = item(file, "記録を保存(&R)…");
    actions_.replayRecording = item(file, "記録を再生(&P)…");
    file->addSeparator();
    actions_.exit = item(file, "終了(&Q)");
    connect(actions_.newImage, &QAction::triggered, this, &MainFrame::newImage);
    connect(actions_.open, &QAction::triggered, this, &MainFrame::openImage);
    connect(actions_.save, &QAction::triggered, this, &MainFrame::saveImage);
    connect(actions_.saveRecording, &QAction::triggered, this, &MainFrame::saveRecording);
    connect(actions_.replayRecording, &QAction::triggered, this, &MainFrame::replayRecording);
    connect(actions_.exit, &QAction::triggered, this, &MainFrame::close);

    QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
    actions_.undo = item(edit, "元に戻す(&U)");
    actions_.undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actions_.redo = item(edit, "やり直し(&R)");
    actions_.redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(actions_.undo, &QAction::triggered, this, [this] {
        if (started()) document_->workspace().undo();
    });
    connect(actions_.redo, &QAction::triggered, this, [this] {
        if (started()) document_->workspace().redo();
    });
    actions_.undo->setEnabled(false);
    actions_.redo->setEnabled(false);
    // Painting the same gesture with pen after pen: does nothing unless the
    // last step is the last stroke.
    actions_.repaintLastStroke = item(edit, "最後の線を描き直す(&L)");
    actions_.repaintLastStroke->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(actions_.repaintLastStroke, &QAction::triggered, this, [this] {
        if (started()) canvas_->repaintLastStroke();
    });
    edit->addSeparator();
    QMenu* fillMenu = edit->addMenu(QStringLiteral("塗りつぶし(&P)"));
    actions_.fillWhite = item(fillMenu, "白(&W)");
    actions_.fillChecker = item(fillMenu, "市松(&C)");
    actions_.fillBlack = item(fillMenu, "黒(&B)");
    connect(actions_.fillWhite, &QAction::triggered, this, [this] { fill(0xFFFFFF, 0xFFFFFF); });
    connect(actions_.fillChecker, &QAction::triggered, this, [this] { fill(kCheckerDark, kCheckerLight); });
    connect(actions_.fillBlack, &QAction::triggered, this, [this] { fill(0x000000, 0x000000); });

    // View and Selection are present but not working yet: greyed, no actions.
    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    actions_.redraw = item(view, "再描画(&R)");
    connect(actions_.redraw, &QAction::triggered, this, [this] {
        if (canvas_) canvas_->redraw();
    });
    view->addSeparator();
    QMenu* loupe = view->addMenu(QStringLiteral("ルーペ(&R)"));
    for (size_t k = 0; k < kZoomLevels.size(); ++k) {
        const int percent = kZoomLevels[k];
        // The separators stand where they always have: after 50 % and after 100 %.
        if (percent == 100 || percent == 200) loupe->addSeparator();
        QAction* level = ticked(item(loupe, (std::to_string(percent) + "%").c_str()), percent == kDefaultZoom);
        actions_.zoom[k] = level;
        connect(level, &QAction::triggered, this, [this, percent] { view_->zoomTo(percent); });
    }
    // Ctrl + "+" and "-" step through the levels about the middle of the view; Ctrl + 0 is 100 %.
    auto shortcut = [this](QKeySequence keys, auto slot) {
        auto* a = new QAction(this);
        a->setShortcut(keys);
        addAction(a);
        connect(a, &QAction::triggered, view_, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { view_->zoomIn(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { view_->zoomIn(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { view_->zoomOut(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { view_->zoomTo(kDefaultZoom); });

    QMenu* window = bar->addMenu(QStringLiteral("ウィンドウ(&W)"));
    QMenu* tool = window->addMenu(QStringLiteral("ﾂｰﾙ(&T)"));
    greyed(tool, "ﾂｰﾙﾊﾞｰ(&T)");
    greyed(tool, "ﾂｰﾙｵﾌﾟｼｮﾝ(&O)");
    QMenu* color = window->addMenu(QStringLiteral("ｶﾗｰ(&C)"));
    greyed(color, "ﾊﾟﾚｯﾄ(&P)");
    actions_.toggleTool[kColorCreatorTool] = item(color, "ｶﾗｰｸﾘｴｰﾀ(&C)");
    QMenu* pen = window->addMenu(QStringLiteral("ﾍﾟﾝ(&P)"));
    actions_.toggleTool[kPenPaletteTool] = item(pen, "ﾍﾟﾝﾊﾟﾚｯﾄ(&P)");
    actions_.toggleTool[kLineOptionTool] = item(pen, "ﾗｲﾝｵﾌﾟｼｮﾝ(&L)");
    actions_.toggleTool[kPenSetTool] = item(pen, "ﾍﾟﾝｾｯﾄｵﾌﾟｼｮﾝ(&S)");
    actions_.toggleTool[kPenCreatorTool] = item(pen, "ﾍﾟﾝｸﾘｴｰﾀ(&C)");
    window->addSeparator();
    window->setSeparatorsCollapsible(false);
    actions_.toggleTool[kTabletTesterTool] = item(window, "ﾀﾌﾞﾚｯﾄ(&B)");
    for (int k = 0; k < kToolCount; ++k)
        connect(ticked(actions_.toggleTool[size_t(k)], toolVisible(k)), &QAction::triggered, this,
                [this, k] { toggleTool(k); });

    QMenu* selection = bar->addMenu(QStringLiteral("選択範囲(&S)"));
    selection->menuAction()->setEnabled(false);
    greyed(selection, "すべて選択(&A)");
    greyed(selection, "すべて解除(&N)");
    greyed(selection, "選択範囲の反転(&R)");
    selection->addSeparator();
    greyed(selection, "色指定選択(&C)");

    bar->addAction(QStringLiteral("ヘルプ(&H)"))->setEnabled(false);

    // The Japanese UI face at menu size keeps all six titles on the bar of a
    // 400-pixel frame; a wider fallback face pushes "ヘルプ" off its end.
    bar->setFont(gothicFont(9));
    for (QMenu* menu : bar->findChildren<QMenu*>()) menu->setFont(gothicFont(9));
}

void MainFrame::showZoom(int percent)
{
    for (size_t k = 0; k < kZoomLevels.size(); ++k) actions_.zoom[k]->setChecked(kZoomLevels[k] == percent);
}

void MainFrame::updateUndoActions()
{
    const UndoHistory& history = document_->workspace().history();
    actions_.undo->setEnabled(history.canUndo());
    actions_.redo->setEnabled(history.canRedo());
}

void MainFrame::applyVisibility()
{
    for (int k = 0; k < kToolCount; ++k)
        if (QWidget* w = toolWindows_[size_t(k)]) w->setVisible(toolVisible_[size_t(k)] != 0);
}

void MainFrame::toggleTool(int index)
{
    int& flag = toolVisible_[size_t(index)];
    flag = flag ? 0 : 1;
    applyVisibility();
    actions_.toggleTool[size_t(index)]->setChecked(flag != 0);
}

void MainFrame::fill(uint32_t a, uint32_t b)
{
    if (started()) document_->workspace().fill(a, b);
}

void MainFrame::newImage()
{
    if (!started()) return;
    NewImageDialog dialog(document_->workspace(), this);
    dialogs().runModal(dialog);
    invalidateWithChildren(this);
}

void MainFrame::openImage()
{
    if (!started()) return;
    const QString path = dialogs().openFileName(this, fileFilters(), lastFolder(FileKind::picture));
    rememberFolder(FileKind::picture, path);
    if (!path.isEmpty()) openPicture(path);
    // The canvas is repainted whether or not a picture came.
    canvas_->update();
}

bool MainFrame::openPicture(const QString& path)
{
    if (!started()) return false;
    std::string error;
    ImagePtr picture = readPicture(QFile::encodeName(path).toStdString(), &error);
    if (picture && document_->workspace().replaceImage(std::move(picture))) return true;
    dialogs().showWarning(this, QStringLiteral("開く"),
                          QStringLiteral("画像を開けませんでした。\n") + QFile::decodeName(error.c_str()));
    return false;
}

void MainFrame::saveImage()
{
    if (!started()) return;
    const QString path = dialogs().saveFileName(this, fileFilters(), lastFolder(FileKind::picture));
    rememberFolder(FileKind::picture, path);
    if (path.isEmpty()) return;
    // The old file stays whole when saving fails, but the user must know the
    // picture is not on disk. The name's extension picks the format.
    std::string error;
    if (!writePicture(document_->workspace().image(), QFile::encodeName(path).toStdString(), &error))
        dialogs().showWarning(this, QStringLiteral("保存"),
                              QStringLiteral("画像は保存されませんでした。\n") + QFile::decodeName(error.c_str()));
}

void MainFrame::saveRecording()
{
    if (!started()) return;
    const QString path = dialogs().saveFileName(this, QStringLiteral("記録 (*.nlr)"), lastFolder(FileKind::picture));
    rememberFolder(FileKind::picture, path);
    if (path.isEmpty()) return;
    const QString problem = nelmora::saveRecording(document_->recording(), path);
    if (!problem.isEmpty())
        dialogs().showWarning(this, QStringLiteral("記録を保存"), QStringLiteral("記録は保存されませんでした。\n") + problem);
}

void MainFrame::replayRecording()
{
    if (!started()) return;
    const QString path =
        dialogs().openFileName(this, QStringLiteral("記録 (*.nlr);;すべてのファイル (*)"), lastFolder(FileKind::picture));
    rememberFolder(FileKind::picture, path);
    if (path.isEmpty()) return;
    const QString problem = nelmora::replayRecording(document_->workspace(), canvas_->stroke(), path, this);
    // The replay's strokes went past the canvas's display copy.
    canvas_->redraw();
    if (!problem.isEmpty())
        dialogs().showWarning(this, QStringLiteral("記録を再生"), QStringLiteral("記録の再生が途中で止まりました。\n") + problem);
}

void MainFrame::closeEvent(QCloseEvent* event)
{
    if (!dialogs().askYesNo(this, QStringLiteral("終了確認"), QStringLiteral("終了してもよいですか"))) {
        event->ignore();
        return;
    }
    saveWindowSettings(*this);
    // The tool windows have no owner: they go with the frame, so closing it
    // leaves no window behind and the program ends.
    destroyToolWindows();
    event->accept();
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (started() && !draggedPicture(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event)
{
    const QString path = draggedPicture(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    openPicture(path);
}

void MainFrame::destroyToolWindows()
{
    for (ToolWindow*& w : toolWindows_) {
        delete w;
        w = nullptr;
    }
}

}  // namespace nelmora
