#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <cstring>
#include <memory>

#include "app/canvas_window.h"
#include "app/main_frame.h"
#include "main_frame_fixture.h"
#include "image/bmp_file.h"
#include "image/temp_files.h"
#include "paint_counter.h"

namespace nelmora {
namespace {

using namespace testing_files;

class FileCommands : public MainFrameFixture {
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        ASSERT_FALSE(dir.path().empty());
    }

    void run(QAction* command, const std::string& chosen)
    {
        fake.chosenFile = QString::fromStdString(chosen);
        command->trigger();
        QCoreApplication::processEvents();
    }
    void expectStartImageKept(const Image* before, qsizetype warnings = 0)
    {
        EXPECT_EQ(&frame->document().workspace().image(), before);
        EXPECT_EQ(image().width, 200);
        EXPECT_EQ(image().at(0, 0), 0xC0C0C0u);
        EXPECT_EQ(frame->canvas()->geometry(), QRect(0, 0, 200, 200));
        EXPECT_EQ(fake.warnings.size(), warnings);
    }

    TempDir dir;
};

TEST_F(FileCommands, OpenCancelledKeepsImageAndCanvas)
{
    frame->actions().fillChecker->trigger();
    QCoreApplication::processEvents();
    const Image* before = &frame->document().workspace().image();
    PaintCounter paints(frame->canvas());
    run(frame->actions().open, "");
    ASSERT_EQ(fake.fileFilters.size(), 1);
    EXPECT_TRUE(fake.fileFilters[0].startsWith("画像ファイル (*.bmp *.png *.jpg *.jpeg *.webp *.tif *.tiff);;"));
    EXPECT_TRUE(fake.fileFilters[0].split(";;").contains("Bitmap File(*.bmp)"));
    expectStartImageKept(before);
    EXPECT_GT(paints.paints, 0);  // invalidated whatever happened
}

TEST_F(FileCommands, OpenReplacesImageAndFitsTheCanvas)
{
    ImagePtr picture(createImage(30, 20, 0, 0, 0));
    for (int32_t i = 0; i < 30 * 20; ++i) picture->pixels[i] = uint32_t(i) * 0x010305u & 0xFFFFFF;
    const std::string path = dir.file("UPPER.BMP");
    ASSERT_TRUE(writeBmp(*picture, path));
    PaintCounter paints(frame->canvas());
    run(frame->actions().open, path);
    ASSERT_EQ(image().width, 30);
    ASSERT_EQ(image().height, 20);
    EXPECT_EQ(std::memcmp(image().pixels, picture->pixels, 30 * 20 * 4), 0);
    EXPECT_EQ(frame->canvas()->geometry(), QRect(0, 0, 30, 20));
    EXPECT_GT(paints.paints, 0);
}

TEST_F(FileCommands, OpenOfAnUnreadableFileKeepsEverythingAndSaysWhy)
{
    frame->actions().fillChecker->trigger();
    const Image* before = &frame->document().workspace().image();
    std::vector<uint8_t> truncated = encodeBmp(*ImagePtr(createImage(30, 20, 0, 0, 0)));
    truncated.resize(truncated.size() - 1);
    writeAll(dir.file("short.bmp"), truncated);
    qsizetype warnings = 0;
    for (const std::string& path : {dir.file("short.bmp"), dir.file("missing.bmp"), dir.path()}) {
        run(frame->actions().open, path);
        expectStartImageKept(before, ++warnings);
        EXPECT_TRUE(fake.warnings.back().startsWith("画像を開けませんでした。\n" + QString::fromStdString(path) + ": "))
            << fake.warnings.back().toStdString();
    }
}

TEST_F(FileCommands, SaveWritesWhatWasPainted)
{
    frame->actions().fillChecker->trigger();
    const std::string path = dir.file("checker");  // no extension is added
    run(frame->actions().save, path);
    ASSERT_EQ(fake.fileFilters.size(), 1);
    EXPECT_TRUE(fake.fileFilters[0].startsWith("画像ファイル (*.bmp *.png *.jpg *.jpeg *.webp *.tif *.tiff);;"));
    EXPECT_TRUE(fake.warnings.isEmpty());
    ImagePtr saved(readBmp(path));
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->width, 200);
    ASSERT_EQ(saved->height, 200);
    EXPECT_EQ(std::memcmp(saved->pixels, image().pixels, 200 * 200 * 4), 0);
    EXPECT_EQ(saved->at(0, 0), 0xC0C0C0u);
    EXPECT_EQ(saved->at(8, 0), 0x404040u);
    EXPECT_EQ(dir.entryCount(), 1u);

    run(frame->actions().save, "");  // cancelled: nothing more is written
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST_F(FileCommands, FailedSaveWarnsAndKeepsTheOldFile)
{
    const std::string path = dir.file("old.bmp");
    const std::vector<uint8_t> old(500, 0x42);
    writeAll(path, old);
    {
        FileSizeLimit limit(1000);  // the 200 x 200 picture needs 120054 bytes
        run(frame->actions().save, path);
    }
    ASSERT_EQ(fake.warnings.size(), 1);
    EXPECT_TRUE(fake.warnings[0].contains(QString::fromStdString(path)));
    EXPECT_TRUE(fake.warnings[0].contains(QString::fromUtf8(std::strerror(EFBIG))));
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(dir.entryCount(), 1u);

    run(frame->actions().save, dir.file("absent/new.bmp"));
    ASSERT_EQ(fake.warnings.size(), 2);
    EXPECT_TRUE(fake.warnings[1].contains(QString::fromStdString(dir.file("absent/new.bmp"))));
}

}  // namespace
}  // namespace nelmora
