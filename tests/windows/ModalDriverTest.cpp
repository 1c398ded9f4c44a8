// The modal driver itself: a box nobody answers must fail the test and still close, so a
// test that forgot an answer ends instead of hanging.
#include "support/ModalDriver.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <windows.h>

#include "support/Platform.h"

TEST(ModalDriver, AnswersMessageBoxesInOrderAndRecordsWhatTheySaid) {
    PlatformScope platform;
    ModalDriver modal;
    modal.acceptMessageBox();
    modal.acceptMessageBox();
    EXPECT_EQ(MessageBoxA(nullptr, "first", nullptr, MB_OK), IDOK);
    EXPECT_EQ(modal.unused(), 1u);
    EXPECT_EQ(MessageBoxA(nullptr, "second", "Caption", MB_OK), IDOK);
    EXPECT_EQ(modal.unused(), 0u);

    const std::vector<ModalDriver::Box> boxes = modal.messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "first");
    EXPECT_EQ(boxes[1].caption, "Caption");
    EXPECT_EQ(boxes[1].text, "second");
}

TEST(ModalDriver, AMessageBoxWithoutAnAnswerFailsTheTestAndIsClosed) {
    PlatformScope platform;
    EXPECT_NONFATAL_FAILURE(
        {
            ModalDriver modal;
            MessageBoxA(nullptr, "Surprise", nullptr, MB_OK);
        },
        "a modal window nobody expected");
}
