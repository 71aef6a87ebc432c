#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QMenuBar>

#include "app/canvas_window.h"
#include "app/new_image_dialog.h"
#include "app/tool_windows.h"
#include "image/bmp_file.h"
#include "platform/dialogs.h"
#include "platform/invalidate.h"
#include "platform/ui_font.h"
#include "resources/app_icon.h"

namespace nelmora {

namespace {
// The toggle command of each tool window, in the frame's tool order.
constexpr std::array<int, kToolCount> kToggleCommands{command::kPenPalette, command::kColorCreator,
                                                       command::kLineOption, command::kPenCreator, command::kPenSet};

// Qt's own file dialog matches it in any letter case; the native GTK one only
// in lower case, and shows just the text before the parenthesis.
const QString kBitmapFilter = QStringLiteral("Bitmap File(*.bmp)");
}  // namespace

MainFrame::MainFrame(StrokeOps strokeOps)
{
    setWindowTitle(QStringLiteral("Nelmora v-.02"));
    setWindowIcon(appIcon());
    resize(400, 300);

    // The client area: stock gray, the canvas at its top-left corner and never
    // stretched with the frame.
    auto* client = new QWidget(this);
    client->setAutoFillBackground(true);
    QPalette gray = client->palette();
    gray.setColor(QPalette::Window, QColor(128, 128, 128));
    client->setPalette(gray);
    setCentralWidget(client);
    buildMenu();

    if (!initApplicationState(state_)) return;
    started_ = true;
    canvas_ = new CanvasWindow(state_, client, strokeOps);
    canvas_->move(0, 0);

    toolWindows_[kPenPaletteTool] = createPenPaletteWindow(state_);
    toolWindows_[kColorCreatorTool] = createColorCreatorWindow(state_);
    toolWindows_[kLineOptionTool] = createLineOptionWindow(state_);
    toolWindows_[kPenCreatorTool] = createPenCreatorWindow(state_);
    QWidget* penCreator = toolWindows_[kPenCreatorTool];
    toolWindows_[kPenSetTool] = createPenSetWindow(state_, [penCreator](int pen) { selectPen(penCreator, pen); });
    canvas_->setColorWindow(toolWindows_[kColorCreatorTool]);
    applyVisibility();
}

MainFrame::~MainFrame()
{
    destroyToolWindows();
    // The canvas is still alive but painting is over: free what it showed.
    // Also after a failed start-up, which may have built part of the state.
    shutdownApplicationState(state_);
}

QAction* MainFrame::action(int id) const
{
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

QAction* MainFrame::addCommand(QMenu* menu, const char* label, int id)
{
    QAction* a = menu->addAction(QString::fromUtf8(label));
    actions_[id] = a;
    return a;
}

void MainFrame::buildMenu()
{
    QMenuBar* bar = menuBar();
    auto greyed = [](QAction* a) { a->setEnabled(false); };
    auto ticked = [](QAction* a, bool on) {
        a->setCheckable(true);
        a->setChecked(on);
    };

    QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    connect(addCommand(file, "新規作成(&N)", command::kNew), &QAction::triggered, this, &MainFrame::newImage);
    connect(addCommand(file, "開く(&O)", command::kOpen), &QAction::triggered, this, &MainFrame::openImage);
    connect(addCommand(file, "保存(&S)", command::kSave), &QAction::triggered, this, &MainFrame::saveImage);
    file->addSeparator();
    connect(addCommand(file, "終了(&Q)", command::kExit), &QAction::triggered, this, &MainFrame::close);

    QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
    QMenu* fillMenu = edit->addMenu(QStringLiteral("塗りつぶし(&P)"));
    connect(addCommand(fillMenu, "白(&W)", command::kFillWhite), &QAction::triggered, this,
            [this] { fill(0xFFFFFF, 0xFFFFFF); });
    connect(addCommand(fillMenu, "市松(&C)", command::kFillChecker), &QAction::triggered, this,
            [this] { fill(kCheckerDark, kCheckerLight); });
    connect(addCommand(fillMenu, "黒(&B)", command::kFillBlack), &QAction::triggered, this,
            [this] { fill(0x000000, 0x000000); });

    // View and Selection are present but not working yet: greyed, no actions.
    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    greyed(view->menuAction());
    greyed(addCommand(view, "再描画(&R)", command::kRedraw));
    view->addSeparator();
    QMenu* loupe = view->addMenu(QStringLiteral("ルーペ(&R)"));
    greyed(loupe->menuAction());
    addCommand(loupe, "25%", 40027);
    addCommand(loupe, "50%", 40028);
    loupe->addSeparator();
    ticked(addCommand(loupe, "100%", 40029), true);
    loupe->addSeparator();
    addCommand(loupe, "200%", 40030);
    addCommand(loupe, "300%", 40031);
    addCommand(loupe, "400%", 40036);

    QMenu* window = bar->addMenu(QStringLiteral("ウィンドウ(&W)"));
    QMenu* tool = window->addMenu(QStringLiteral("ﾂｰﾙ(&T)"));
    greyed(addCommand(tool, "ﾂｰﾙﾊﾞｰ(&T)", command::kToolbar));
    greyed(addCommand(tool, "ﾂｰﾙｵﾌﾟｼｮﾝ(&O)", command::kToolOptions));
    QMenu* colour = window->addMenu(QStringLiteral("ｶﾗｰ(&C)"));
    greyed(addCommand(colour, "ﾊﾟﾚｯﾄ(&P)", command::kColorPalette));
    addCommand(colour, "ｶﾗｰｸﾘｴｰﾀ(&C)", command::kColorCreator);
    QMenu* pen = window->addMenu(QStringLiteral("ﾍﾟﾝ(&P)"));
    addCommand(pen, "ﾍﾟﾝﾊﾟﾚｯﾄ(&P)", command::kPenPalette);
    addCommand(pen, "ﾗｲﾝｵﾌﾟｼｮﾝ(&L)", command::kLineOption);
    addCommand(pen, "ﾍﾟﾝｾｯﾄｵﾌﾟｼｮﾝ(&S)", command::kPenSet);
    addCommand(pen, "ﾍﾟﾝｸﾘｴｰﾀ(&C)", command::kPenCreator);
    window->addSeparator();
    window->setSeparatorsCollapsible(false);
    for (int k = 0; k < kToolCount; ++k) {
        QAction* toggle = action(kToggleCommands[size_t(k)]);
        ticked(toggle, toolVisible_[size_t(k)] != 0);
        connect(toggle, &QAction::triggered, this, [this, k] { toggleTool(k); });
    }

    QMenu* selection = bar->addMenu(QStringLiteral("選択範囲(&S)"));
    greyed(selection->menuAction());
    greyed(addCommand(selection, "すべて選択(&A)", 40032));
    greyed(addCommand(selection, "すべて解除(&N)", 40033));
    greyed(addCommand(selection, "選択範囲の反転(&R)", 40035));
    selection->addSeparator();
    greyed(addCommand(selection, "色指定選択(&C)", 40034));

    QAction* help = bar->addAction(QStringLiteral("ヘルプ(&H)"));
    actions_[command::kHelp] = help;
    greyed(help);

    // The Japanese UI face at menu size keeps all six titles on the bar of a
    // 400-pixel frame; a wider fallback face pushes "ヘルプ" off its end.
    bar->setFont(gothicFont(9));
    for (QMenu* menu : bar->findChildren<QMenu*>()) menu->setFont(gothicFont(9));
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
    action(kToggleCommands[size_t(index)])->setChecked(flag != 0);
}

void MainFrame::fill(uint32_t a, uint32_t b)
{
    if (!state_.currentImage) return;
    fillImage(*state_.currentImage, a, b);
    canvas_->update();
}

void MainFrame::newImage()
{
    if (!started_) return;
    NewImageDialog dialog(state_, this);
    dialogs().runModal(dialog);
    fitCanvasToImage();
    invalidateWithChildren(this);
}

void MainFrame::openImage()
{
    if (!started_) return;
    const QString path = dialogs().openFileName(this, kBitmapFilter);
    // A file that cannot be read whole is refused and the current image stays, silently.
    if (!path.isEmpty()) replaceCurrentImage(state_, readBmp(QFile::encodeName(path).toStdString()));
    fitCanvasToImage();
}

void MainFrame::saveImage()
{
    if (!started_ || !state_.currentImage) return;
    const QString path = dialogs().saveFileName(this, kBitmapFilter);
    if (path.isEmpty()) return;
    // The old file stays whole when saving fails, but the user must know the
    // picture is not on disk.
    std::string error;
    if (!writeBmp(*state_.currentImage, QFile::encodeName(path).toStdString(), &error))
        dialogs().showWarning(this, QStringLiteral("保存"),
                              QStringLiteral("画像は保存されませんでした。\n") + QFile::decodeName(error.c_str()));
}

void MainFrame::fitCanvasToImage()
{
    const Image* image = state_.currentImage;
    if (!canvas_ || !image) return;
    canvas_->resize(image->width, image->height);
    canvas_->update();
}

void MainFrame::closeEvent(QCloseEvent* event)
{
    if (!dialogs().askYesNo(this, QStringLiteral("終了確認"), QStringLiteral("終了してもよいですか"))) {
        event->ignore();
        return;
    }
    // The tool windows have no owner: they go with the frame, so closing it
    // leaves no window behind and the program ends.
    destroyToolWindows();
    event->accept();
}

void MainFrame::destroyToolWindows()
{
    for (QWidget*& w : toolWindows_) {
        delete w;
        w = nullptr;
    }
    if (canvas_) canvas_->setColorWindow(nullptr);
}

}  // namespace nelmora
