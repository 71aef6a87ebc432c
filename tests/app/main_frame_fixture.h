#pragma once
// A started main frame, shown offscreen, with the modal dialogs answered by a fake.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "app/document.h"
#include "app/main_frame.h"
#include "fake_dialogs.h"

namespace nelmora {

class MainFrameFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        setDialogs(&fake);
        frame = std::make_unique<MainFrame>();
        ASSERT_TRUE(frame->started());
        frame->show();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        frame.reset();
        setDialogs(nullptr);
    }

    Workspace& workspace() { return frame->document().workspace(); }
    Image& image() { return workspace().strokeImage(); }

    FakeDialogs fake;
    std::unique_ptr<MainFrame> frame;
};

}  // namespace nelmora
