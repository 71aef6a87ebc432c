#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/document.h"
#include "app/tool_windows.h"
#include "pen/pen_file.h"
#include "pentools/pen_palette_window.h"
#include "platform/dialogs.h"

namespace nelmora {
namespace {

namespace fs = std::filesystem;

class FakeDialogs : public Dialogs {
public:
    QString openFileName(QWidget*, const QString& filter, const QString& folder) override
    {
        filters.push_back(filter);
        folders.push_back(folder);
        return openAnswer;
    }
    QString saveFileName(QWidget*, const QString& filter, const QString& folder) override
    {
        filters.push_back(filter);
        folders.push_back(folder);
        return saveAnswer;
    }
    void showWarning(QWidget*, const QString&, const QString& text) override { warnings.push_back(text); }

    QString openAnswer;
    QString saveAnswer;
    QStringList filters;
    QStringList folders;
    QStringList warnings;
};

// Everything a pen file carries, copied out of the two pens for comparison.
std::vector<uint8_t> penContents(const Workspace& workspace)
{
    std::vector<uint8_t> bytes;
    auto add = [&bytes](const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
    };
    for (int i = 0; i < kPenCount; ++i) {
        const Pen& pen = workspace.pen(i);
        add(&pen.shape->width, sizeof(int32_t) * 2);
        add(&pen.shape->centerX, sizeof(int32_t) * 2);
        add(pen.shape->coverage, size_t(pen.shape->height) * size_t(pen.shape->stride));
        add(pen.params, sizeof(PenParam) * kSlotCount);
        add(&pen.blendIndex, offsetof(Pen, lastOutputs) - offsetof(Pen, blendIndex) + sizeof(SlotValues));
        add(&workspace.shapeSettings(i), sizeof(ShapeSettings));
    }
    return bytes;
}

class PenPaletteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        base = fs::temp_directory_path() / (std::string("nelmora_palette_") + info->name());
        fs::remove_all(base);
        root = (base / "Pen").string() + "/";
        setDialogs(&fake);
    }
    void TearDown() override
    {
        palette.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setDialogs(nullptr);
        fs::remove_all(base);
    }

    // basic/{a.pen, b.pen}, effects/{c.pen}, root.pen; each pen file differs
    // from the default pens in pen 0's blendIndex and slot 3's base.
    void makeLibrary()
    {
        fs::create_directories(root + "basic");
        fs::create_directories(root + "effects");
        writePen(root, "root.pen", 1);
        writePen(root + "basic/", "a.pen", 2);
        writePen(root + "basic/", "b.pen", 3);
        writePen(root + "effects/", "c.pen", 4);
    }
    void writePen(const std::string& folder, const std::string& name, int mark)
    {
        const std::vector<uint8_t> before = penContents(workspace);
        const int32_t blend = pen(0).blendIndex;
        pen(0).blendIndex = mark;
        pen(0).params[3].base = 1000 * mark;
        workspace.setShapeSetting(1, 1, mark);
        ASSERT_TRUE(workspace.savePens(folder, name));
        pen(0).blendIndex = blend;
        pen(0).params[3].base = 0;
        workspace.setShapeSetting(1, 1, kStartShapeSettings.msize);
        ASSERT_EQ(penContents(workspace), before);
    }
    void open() { palette = std::make_unique<PenPaletteWindow>(workspace, root); }
    // Raw access, as edits in other windows leave the pens.
    Pen& pen(int n) { return workspace.strokePen(n); }

    QStringList names() const
    {
        QStringList list;
        for (int i = 0; i < palette->itemCount(); ++i)
            list << QString::fromStdString(palette->item(i)->item().name) + (palette->item(i)->item().isFolder ? "/" : "");
        return list;
    }
    void click(int index)
    {
        QWidget* item = palette->item(index);
        // Press and release reach the same widget, as a real click does: the
        // press re-lists, so the widget must outlive its own handler.
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(5, 5));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QAction* menuAction(int command) const
    {
        for (QAction* action : palette->menuBar()->actions())
            if (action->data().toInt() == command) return action;
        return nullptr;
    }

    Document document{std::make_unique<Workspace>()};
    Workspace& workspace = document.workspace();
    FakeDialogs fake;
    fs::path base;
    std::string root;
    std::unique_ptr<PenPaletteWindow> palette;
};

TEST_F(PenPaletteTest, WindowMenuAndItemLayout)
{
    makeLibrary();
    open();
    EXPECT_EQ(palette->windowTitle(), "PenPalette");
    EXPECT_EQ(palette->client()->size(), QSize(190, 300));
    EXPECT_EQ(palette->client()->y(), palette->menuBar()->height());
    EXPECT_EQ(palette->height(), palette->menuBar()->height() + 300);
    ASSERT_TRUE(menuAction(40037));
    ASSERT_TRUE(menuAction(40038));
    EXPECT_EQ(menuAction(40037)->text(), QString::fromUtf8("保存(&S)"));
    EXPECT_EQ(menuAction(40038)->text(), QString::fromUtf8("読込み(&L)"));

    EXPECT_EQ(palette->currentFolder(), root);
    EXPECT_EQ(names(), (QStringList{"basic/", "effects/", "root.pen"}));
    EXPECT_EQ(palette->item(1)->geometry(), QRect(10, 25, 80, 16));
    EXPECT_EQ(palette->item(2)->geometry(), QRect(100, 10, 80, 16));
    EXPECT_EQ(palette->item(2)->parentWidget(), palette->client());
    EXPECT_EQ(palette->selectedPenItem(), -1);
    EXPECT_EQ(palette->selectedFolderItem(), -1);
}

TEST_F(PenPaletteTest, FolderAndPenClicksHighlightAndLoad)
{
    makeLibrary();
    open();
    click(2);  // root.pen
    EXPECT_EQ(palette->selectedPenItem(), 2);
    EXPECT_EQ(pen(0).blendIndex, 1);
    EXPECT_EQ(workspace.shapeSettings(1).msize, 1);

    click(1);  // effects
    EXPECT_EQ(palette->currentFolder(), root + "effects/");
    EXPECT_EQ(names(), (QStringList{"basic/", "effects/", "c.pen"}));
    EXPECT_EQ(palette->selectedFolderItem(), 1);
    EXPECT_EQ(palette->selectedPenItem(), -1);
    EXPECT_EQ(pen(0).blendIndex, 1);  // a folder click loads nothing

    click(2);  // c.pen
    EXPECT_EQ(palette->selectedPenItem(), 2);
    EXPECT_EQ(palette->selectedFolderItem(), 1);
    EXPECT_EQ(pen(0).blendIndex, 4);
    EXPECT_EQ(pen(0).params[3].base, 4000);

    click(0);  // basic: the pen column follows
    EXPECT_EQ(names(), (QStringList{"basic/", "effects/", "a.pen", "b.pen"}));
    EXPECT_EQ(palette->selectedFolderItem(), 0);
    EXPECT_EQ(palette->selectedPenItem(), -1);
}

TEST_F(PenPaletteTest, HighlightsArePainted)
{
    makeLibrary();
    open();
    palette->show();
    click(1);
    click(2);
    // Right of the text, in the first row inside the border: the gradient's top color.
    auto topColor = [this](int index) { return palette->item(index)->grab().toImage().pixel(76, 1) & 0xFFFFFF; };
    EXPECT_EQ(topColor(0), 0xE0E0E0u);  // folder, plain
    EXPECT_EQ(topColor(1), 0xA0C0A0u);  // folder, highlighted
    EXPECT_EQ(topColor(2), 0xB0B0C0u);  // pen, highlighted
    EXPECT_EQ(palette->item(2)->grab().toImage().pixel(0, 0) & 0xFFFFFF, 0u);  // the border
}

TEST_F(PenPaletteTest, ClickingTheSamePenAgainDiscardsEdits)
{
    makeLibrary();
    open();
    click(2);
    const std::vector<uint8_t> loaded = penContents(workspace);
    pen(0).params[3].base = 77;
    pen(1).drawMode = 2;
    workspace.setShapeSetting(0, 2, 5);
    click(2);
    EXPECT_EQ(penContents(workspace), loaded);
    EXPECT_EQ(palette->selectedPenItem(), 2);
}

TEST_F(PenPaletteTest, CorruptPenFileLeavesPensAndHighlightAlone)
{
    makeLibrary();
    std::ofstream(root + "bad.pen", std::ios::binary) << std::string(100, '\x7F');
    open();
    ASSERT_EQ(names(), (QStringList{"basic/", "effects/", "bad.pen", "root.pen"}));
    click(3);  // root.pen
    const std::vector<uint8_t> loaded = penContents(workspace);
    click(2);  // bad.pen
    EXPECT_EQ(penContents(workspace), loaded);
    EXPECT_EQ(palette->selectedPenItem(), 3);

    // A pen file removed since the listing: the same.
    fs::remove(root + "root.pen");
    pen(0).params[3].base = 55;
    const std::vector<uint8_t> edited = penContents(workspace);
    click(3);
    EXPECT_EQ(penContents(workspace), edited);
}

TEST_F(PenPaletteTest, SaveWritesTheTypedNameAndRelists)
{
    makeLibrary();
    open();
    click(1);  // effects
    pen(1).params[7].jitter = 1234;

    fake.saveAnswer = QString::fromStdString(root + "effects/mine");
    menuAction(40037)->trigger();
    EXPECT_EQ(fake.filters.value(0), "PenData File(*.pen)");
    ASSERT_TRUE(fs::exists(root + "effects/mine"));
    EXPECT_EQ(fs::file_size(root + "effects/mine"), 14144u);
    EXPECT_FALSE(fs::exists(root + "effects/mine.pen"));
    EXPECT_EQ(names(), (QStringList{"basic/", "effects/", "c.pen"}));  // not a .pen name

    fake.saveAnswer = QString::fromStdString(root + "effects/d.pen");
    menuAction(40037)->trigger();
    EXPECT_EQ(names(), (QStringList{"basic/", "effects/", "c.pen", "d.pen"}));
    click(3);
    EXPECT_EQ(pen(1).params[7].jitter, 1234);

    // Cancelled: nothing written, but the list is rebuilt.
    writePen(root + "effects/", "e.pen", 5);
    fake.saveAnswer.clear();
    menuAction(40037)->trigger();
    EXPECT_EQ(names(), (QStringList{"basic/", "effects/", "c.pen", "d.pen", "e.pen"}));
    EXPECT_TRUE(fake.warnings.isEmpty());
}

TEST_F(PenPaletteTest, TheLoadedPenStaysHighlightedThroughSavesAndLoads)
{
    makeLibrary();
    open();
    click(1);  // effects
    click(2);  // c.pen
    fake.saveAnswer = QString::fromStdString(root + "effects/b.pen");  // listed before c.pen
    menuAction(40037)->trigger();
    ASSERT_EQ(names(), (QStringList{"basic/", "effects/", "b.pen", "c.pen"}));
    EXPECT_EQ(palette->selectedFolderItem(), 1);
    EXPECT_EQ(palette->selectedPenItem(), 3);  // c.pen, found again by name
    EXPECT_EQ(palette->loadedPen().name, "c.pen");

    // A load through the menu of a listed file moves the highlight to it.
    fake.openAnswer = QString::fromStdString(root + "effects/b.pen");
    menuAction(40038)->trigger();
    EXPECT_EQ(palette->selectedPenItem(), 2);
    EXPECT_EQ(palette->selectedFolderItem(), 1);
    menuAction(40037)->trigger();
    EXPECT_EQ(palette->selectedPenItem(), 2);

    // Every item's tooltip is its file's whole name.
    EXPECT_EQ(palette->item(3)->toolTip(), "c.pen");
    EXPECT_EQ(palette->item(0)->toolTip(), "basic");
}

TEST_F(PenPaletteTest, FailedSaveIsReported)
{
    makeLibrary();
    open();
    fake.saveAnswer = QString::fromStdString(root + "no/such/folder/x.pen");
    menuAction(40037)->trigger();
    ASSERT_EQ(fake.warnings.size(), 1);
    EXPECT_TRUE(fake.warnings[0].contains(fake.saveAnswer));
    EXPECT_FALSE(fs::exists(root + "no"));
}

TEST_F(PenPaletteTest, LoadCommandLoadsWithoutRelisting)
{
    makeLibrary();
    open();
    click(2);
    fs::create_directories(root + "later");
    fake.openAnswer = QString::fromStdString(root + "basic/b.pen");
    menuAction(40038)->trigger();
    EXPECT_EQ(pen(0).blendIndex, 3);
    EXPECT_EQ(names(), (QStringList{"basic/", "effects/", "root.pen"}));
    EXPECT_EQ(palette->selectedPenItem(), -1);  // root.pen is no longer what is loaded

    fake.openAnswer.clear();  // cancelled
    menuAction(40038)->trigger();
    EXPECT_EQ(pen(0).blendIndex, 3);
}

TEST_F(PenPaletteTest, WithoutAPenFolderTheCommandsStillWork)
{
    open();
    EXPECT_EQ(palette->itemCount(), 0);
    fs::create_directories(base);
    pen(0).params[5].base = 99;
    fake.saveAnswer = QString::fromStdString((base / "saved.pen").string());
    menuAction(40037)->trigger();
    EXPECT_EQ(palette->itemCount(), 0);
    ASSERT_TRUE(fs::exists(base / "saved.pen"));

    pen(0).params[5].base = 0;
    fake.openAnswer = fake.saveAnswer;
    menuAction(40038)->trigger();
    EXPECT_EQ(pen(0).params[5].base, 99);
}

TEST_F(PenPaletteTest, TheWheelBringsRowsBelowTheWindowIntoView)
{
    fs::create_directories(root);
    for (int i = 0; i < 25; ++i) writePen(root, "p" + std::to_string(10 + i) + ".pen", 1);
    open();
    ASSERT_EQ(palette->itemCount(), 25);
    EXPECT_EQ(palette->item(18)->y(), 280);  // the last row wholly inside
    EXPECT_EQ(palette->item(24)->y(), 370);

    auto wheel = [this](int delta) {
        QWheelEvent event(QPointF(50, 50), palette->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(palette.get(), &event);
    };
    wheel(-120 * 10);  // ten notches down: only six rows are hidden
    EXPECT_EQ(palette->scrollRows(), 6);
    EXPECT_EQ(palette->item(24)->y(), 280);
    EXPECT_EQ(palette->item(0)->y(), 10 - 90);
    wheel(60);  // half a notch does nothing yet
    EXPECT_EQ(palette->scrollRows(), 6);
    wheel(60);
    EXPECT_EQ(palette->scrollRows(), 5);

    // A click on a row brought into view loads that file.
    click(24);
    EXPECT_EQ(palette->selectedPenItem(), 24);
    EXPECT_EQ(palette->item(24)->y(), 10 + 15 * 19);
}

TEST_F(PenPaletteTest, FactoryListsThePenFolderBesideTheProgram)
{
    std::unique_ptr<QWidget> window(createPenPaletteWindow(document));
    auto* created = dynamic_cast<PenPaletteWindow*>(window.get());
    ASSERT_TRUE(created);
    EXPECT_FALSE(created->isVisible());
    EXPECT_EQ(created->penRoot(), QCoreApplication::applicationDirPath().toStdString() + "/Pen/");
}

}  // namespace
}  // namespace nelmora
