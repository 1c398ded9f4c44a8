// The scripted headless device.
#include "display/headless.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace winapi {
namespace {

TEST(HeadlessDevice, PlaysItsScriptInOrderThenReportsTheEnd) {
    HeadlessDevice device(80, 25);
    device.pressCtrl('o');
    device.type("a\xc3\xa9");
    device.click(3, 4);
    device.resize(100, 30);

    InputEvent e;
    ASSERT_TRUE(device.nextInput(e));
    EXPECT_EQ(e.kind, InputEvent::Kind::Key);
    EXPECT_EQ(e.vk, static_cast<unsigned>('O'));
    EXPECT_TRUE(e.ctrl);
    EXPECT_FALSE(e.alt);
    ASSERT_TRUE(device.nextInput(e));
    EXPECT_EQ(e.vk, 0u);
    EXPECT_EQ(e.ch, U'a');
    ASSERT_TRUE(device.nextInput(e));
    EXPECT_EQ(e.ch, U'\u00e9');  // one event per character, not per byte
    ASSERT_TRUE(device.nextInput(e));
    EXPECT_EQ(e.action, InputEvent::MouseAction::Press);
    ASSERT_TRUE(device.nextInput(e));
    EXPECT_EQ(e.action, InputEvent::MouseAction::Release);
    EXPECT_EQ(e.col, 3);
    EXPECT_EQ(e.row, 4);
    EXPECT_EQ(device.cols(), 80);  // the size changes when the resize is read
    ASSERT_TRUE(device.nextInput(e));
    EXPECT_EQ(e.kind, InputEvent::Kind::Resize);
    EXPECT_EQ(device.cols(), 100);
    EXPECT_EQ(device.rows(), 30);
    EXPECT_FALSE(device.nextInput(e));
    device.pushKey(VK_F5);
    EXPECT_TRUE(device.nextInput(e));  // more script, more input
}

TEST(HeadlessDevice, KeepsTheLastPresentedScreen) {
    HeadlessDevice device(4, 2);
    Canvas canvas;
    canvas.resize(4, 2);
    canvas.at(1, 1).ch = U'x';
    device.present(canvas);
    EXPECT_EQ(device.screenLines(), (std::vector<std::string>{"", " x"}));
    EXPECT_EQ(device.screenText(), "\n x");
    EXPECT_EQ(device.presentCount(), 1);
}

}  // namespace
}  // namespace winapi
