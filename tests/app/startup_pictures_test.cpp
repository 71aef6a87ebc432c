// Every tool window looks at start-up exactly as it did before the windows
// learnt drags, the wheel, tooltips and the status bar: titles, client sizes
// and pictures are compared with grabs taken from that earlier code.
// NELMORA_WRITE_STARTUP_GRABS=DIR writes this build's grabs there instead,
// to be looked at by eye before they replace the references.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include "app/main_frame.h"
#include "fake_dialogs.h"

namespace nelmora {
namespace {

struct ToolPicture {
    int tool;
    const char* title;
    const char* file;
};

constexpr ToolPicture kToolPictures[] = {
    // The palette lists the starter library as built, so its reference
    // shows every starter folder (the tablet one since it was added).
    {kPenPaletteTool, "PenPalette", "pen_palette.png"},
    {kColorCreatorTool, "Color", "color_creator.png"},
    {kLineOptionTool, "LineOption", "line_options.png"},
    {kPenCreatorTool, "PenCreator", "pen_creator.png"},
    {kPenSetTool, "PenSet", "pen_set.png"},
};

TEST(StartupPictures, EveryToolWindowLooksAsBefore)
{
    FakeDialogs fake;
    setDialogs(&fake);
    {
        MainFrame frame;
        frame.show();
        QCoreApplication::processEvents();
        const QByteArray writeTo = qgetenv("NELMORA_WRITE_STARTUP_GRABS");
        for (const ToolPicture& expected : kToolPictures) {
            SCOPED_TRACE(expected.file);
            ToolWindow* window = frame.toolWindow(expected.tool);
            ASSERT_NE(window, nullptr);
            const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
            if (!writeTo.isEmpty()) {
                ASSERT_TRUE(shown.save(QDir(QString::fromLocal8Bit(writeTo)).filePath(QLatin1String(expected.file))));
                continue;
            }
            EXPECT_EQ(window->windowTitle(), QLatin1String(expected.title));
            const QImage reference =
                QImage(QStringLiteral(NELMORA_SOURCE_DIR "/tests/app/startup_grabs/") + QLatin1String(expected.file))
                    .convertToFormat(QImage::Format_RGB32);
            ASSERT_FALSE(reference.isNull());
            EXPECT_EQ(shown.size(), reference.size());
            EXPECT_TRUE(shown == reference);
        }
    }
    setDialogs(nullptr);
}

}  // namespace
}  // namespace nelmora
