// Pictures of every format through the main frame: Open, Save, a dropped
// file, and the program's command line.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QUrl>
#include <cstring>

#include "app/canvas_window.h"
#include "app/command_line.h"
#include "image/temp_files.h"
#include "main_frame_fixture.h"
#include "picture/picture_files.h"

namespace nelmora {
namespace {

using namespace testing_files;

class PictureCommands : public MainFrameFixture {
protected:
    void run(QAction* command, const std::string& chosen)
    {
        fake.chosenFile = QString::fromStdString(chosen);
        command->trigger();
        QCoreApplication::processEvents();
    }
    // A 30 x 20 picture with distinct pixels, saved under `name`.
    std::string pictureFile(const std::string& name, PictureFormat format)
    {
        picture.reset(createImage(30, 20, 15, 10, 0));
        for (int32_t i = 0; i < 30 * 20; ++i) picture->pixels[i] = uint32_t(i) * 0x010305u & 0xFFFFFF;
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(encodePicture(*picture, format, bytes));
        writeAll(dir.file(name), bytes);
        return dir.file(name);
    }
    void expectPictureShown()
    {
        ASSERT_EQ(image().width, 30);
        ASSERT_EQ(image().height, 20);
        EXPECT_EQ(std::memcmp(image().pixels, picture->pixels, 30 * 20 * 4), 0);
        EXPECT_EQ(frame->canvas()->geometry(), QRect(0, 0, 30, 20));
        EXPECT_TRUE(fake.warnings.isEmpty()) << fake.warnings.join('\n').toStdString();
    }
    // Sends a drag of `path` and then its drop to `target`; whether the drag was accepted.
    bool dragAndDrop(QWidget* target, const std::string& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
        return true;
    }

    TempDir dir;
    ImagePtr picture;
};

TEST_F(PictureCommands, OpenReadsEveryLosslessFormatByItsContent)
{
    for (auto [name, format] : {std::pair{"a.PNG", PictureFormat::Png}, {"b.webp", PictureFormat::WebP},
                                {"c.tif", PictureFormat::Tiff}, {"png-named.bmp", PictureFormat::Png}}) {
        SCOPED_TRACE(name);
        workspace().fill(0, 0);
        run(frame->actions().open, pictureFile(name, format));
        expectPictureShown();
    }
}

TEST_F(PictureCommands, SaveWritesTheFormatItsNameAsks)
{
    workspace().fill(0x123456, 0xABCDEF);
    for (const char* name : {"out.png", "out.JPG", "out.webp", "out.tiff", "out.bmp"}) {
        SCOPED_TRACE(name);
        run(frame->actions().save, dir.file(name));
        EXPECT_TRUE(fake.warnings.isEmpty());
        EXPECT_EQ(pictureFormatForPath(name) == PictureFormat::Png, readAll(dir.file(name))[1] == 'P');
        ImagePtr saved = readPicture(dir.file(name));
        ASSERT_TRUE(saved);
        ASSERT_EQ(saved->width, 200);
        // Inside the checker's squares, away from the edges JPEG blurs.
        const int tolerance = pictureFormatForPath(name) == PictureFormat::Jpeg ? 16 : 0;
        EXPECT_NEAR(int(saved->at(3, 3) >> 16), 0xAB, tolerance);
        EXPECT_NEAR(int(saved->at(11, 3) >> 16), 0x12, tolerance);
    }
}

TEST_F(PictureCommands, FailedPngSaveWarnsAndKeepsTheOldFile)
{
    const std::string path = dir.file("old.png");
    const std::vector<uint8_t> old(300, 0x42);
    writeAll(path, old);
    {
        FileSizeLimit limit(200);
        run(frame->actions().save, path);
    }
    ASSERT_EQ(fake.warnings.size(), 1);
    EXPECT_TRUE(fake.warnings[0].contains(QString::fromStdString(path)));
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST_F(PictureCommands, DroppingAPictureOnTheFrameOrItsCanvasOpensIt)
{
    ASSERT_TRUE(dragAndDrop(frame.get(), pictureFile("dropped.Png", PictureFormat::Png)));
    expectPictureShown();

    workspace().fill(0, 0);
    ASSERT_TRUE(dragAndDrop(frame->canvas(), pictureFile("on-canvas.bmp", PictureFormat::Bmp)));
    expectPictureShown();

    // Names of other kinds are not taken; a broken picture says why.
    writeAll(dir.file("notes.txt"), {'h', 'i'});
    EXPECT_FALSE(dragAndDrop(frame.get(), dir.file("notes.txt")));
    writeAll(dir.file("broken.png"), {'h', 'i'});
    EXPECT_TRUE(dragAndDrop(frame.get(), dir.file("broken.png")));
    ASSERT_EQ(fake.warnings.size(), 1);
    EXPECT_TRUE(fake.warnings[0].startsWith(QString::fromUtf8("画像を開けませんでした。\n") +
                                             QString::fromStdString(dir.file("broken.png"))));
    EXPECT_EQ(image().width, 30);
}

TEST_F(PictureCommands, StartUpFileOpensOrLeavesTheBlankPictureWithAMessage)
{
    const CommandLine line = parseCommandLine({pictureFile("start.tif", PictureFormat::Tiff)});
    ASSERT_EQ(line.action, CommandLine::run);
    EXPECT_TRUE(frame->openPicture(QString::fromStdString(line.file)));
    expectPictureShown();

    EXPECT_FALSE(frame->openPicture(QString::fromStdString(dir.file("missing.png"))));
    EXPECT_EQ(fake.warnings.size(), 1);
    EXPECT_EQ(image().width, 30);
}

TEST(CommandLine, HelpAndVersionWinAndOnlyOneFileIsTaken)
{
    EXPECT_EQ(parseCommandLine({}).action, CommandLine::run);
    EXPECT_EQ(parseCommandLine({}).file, "");
    EXPECT_EQ(parseCommandLine({"a.png"}).file, "a.png");
    EXPECT_EQ(parseCommandLine({"a.png", "--help"}).action, CommandLine::help);
    EXPECT_EQ(parseCommandLine({"--bogus", "--version"}).action, CommandLine::version);
    EXPECT_EQ(parseCommandLine({"--bogus"}).action, CommandLine::error);
    EXPECT_EQ(parseCommandLine({"a.png", "b.png"}).action, CommandLine::error);
    const CommandLine dashed = parseCommandLine({"--", "-picture.png"});
    EXPECT_EQ(dashed.action, CommandLine::run);
    EXPECT_EQ(dashed.file, "-picture.png");

    EXPECT_EQ(parseCommandLine({}).undoBudget, size_t{512} << 20);
    const CommandLine budget = parseCommandLine({"--undo-memory", "64", "a.png"});
    EXPECT_EQ(budget.action, CommandLine::run);
    EXPECT_EQ(budget.undoBudget, size_t{64} << 20);
    EXPECT_EQ(budget.file, "a.png");
    for (auto bad : {std::vector<std::string>{"--undo-memory"}, {"--undo-memory", "0"}, {"--undo-memory", "x"}})
        EXPECT_EQ(parseCommandLine(bad).action, CommandLine::error);

    EXPECT_FALSE(parseCommandLine({"a.png"}).resetSettings);
    const CommandLine reset = parseCommandLine({"a.png", "--reset-settings"});
    EXPECT_TRUE(reset.resetSettings);
    EXPECT_EQ(reset.file, "a.png");
    EXPECT_EQ(parseCommandLine({"--", "--reset-settings"}).file, "--reset-settings");
}

// The real program: --help and --version print and end before Qt starts,
// so they work with no display at all.
TEST(ProgramArguments, HelpAndVersionPrintWithoutADisplay)
{
    const QString program = QStringLiteral(NELMORA_BINARY_DIR "/bin/nelmora");
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    noDisplay.remove(QStringLiteral("DISPLAY"));
    noDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
    noDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (auto [flag, expected] : {std::pair{"--help", "usage: nelmora [--undo-memory MiB] [--reset-settings] [FILE]"}, {"--version", "nelmora 0."}}) {
        QProcess process;
        process.setProcessEnvironment(noDisplay);
        process.start(program, {QString::fromUtf8(flag)});
        ASSERT_TRUE(process.waitForFinished(20000)) << flag;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << flag;
        EXPECT_EQ(process.exitCode(), 0) << flag << process.readAllStandardError().toStdString();
        EXPECT_TRUE(process.readAllStandardOutput().startsWith(expected)) << flag;
    }

    // An unknown option is refused once Qt has taken its own.
    QProcess process;
    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(offscreen);
    process.start(program, {QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("--bogus")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardError().contains("unknown option '--bogus'"));
}

}  // namespace
}  // namespace nelmora
