// The width box: typed widths, the arrows, and what the pane shows with them.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "Fixtures.h"
#include "app/Commands.h"

namespace {

struct TypedWidth {
    const char* text;
    std::string pane;
};

class TypedWidthTest : public ::testing::TestWithParam<TypedWidth> {};

TEST_P(TypedWidthTest, RebuildsThePaneOfTheSelectedChunk) {
    TempFile file(sampleFile());
    AppHarness app;
    app.openFile(file.path());
    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();

    app.typeWidth(GetParam().text);

    EXPECT_EQ(app.widthText(), GetParam().text);
    EXPECT_EQ(app.paneText(), GetParam().pane);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, TypedWidthTest,
    ::testing::Values(TypedWidth{"010", hiThereByEight()},  // a leading 0 reads as octal
                      TypedWidth{"09", hiThereByByte()},    // stops after the 0; raised to 1
                      TypedWidth{"", hiThereByByte()},      // no digits: 0, raised to 1
                      TypedWidth{"12", hiThereRow(12)},
                      // Past 32 bits the value saturates to all ones, -1, as on Windows;
                      // keeping the low bits would give 15.
                      TypedWidth{"4294967311", hiThereByByte()}));

TEST(WidthBox, AnInvalidPositionMakesLaterSelectionsUse16) {
    TempFile file(sampleFile());
    AppHarness app;
    app.openFile(file.path());
    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();
    app.typeWidth("0");
    ASSERT_EQ(app.paneText(), hiThereByByte());

    ASSERT_TRUE(app.clickText("00000030h (00000000h)"));
    app.run();
    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();

    EXPECT_EQ(app.paneText(), hiThereRow(16));
}

TEST(WidthBox, ArrowKeysStepTheWidthAndStopAtTheTop) {
    TempFile file(sampleFile());
    AppHarness app;
    app.openFile(file.path());
    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();
    app.typeWidth("16");

    app.press(VK_UP);
    app.run();
    EXPECT_EQ(app.widthText(), "17");
    EXPECT_EQ(app.paneText(), hiThereRow(17));

    app.typeWidth("2147483647");
    std::string widest = app.paneText();
    app.press(VK_UP);
    app.run();
    EXPECT_EQ(app.widthText(), "2147483647");
    EXPECT_EQ(app.paneText(), widest);
}

TEST(WidthBox, ChangesWithAContainerOrTheRootSelectedLeaveThePaneAsItWas) {
    TempFile file(sampleFile());
    AppHarness app;
    app.openFile(file.path());
    for (const char* label : {"00000020h (0000001ah)", "Chunk File"}) {
        ASSERT_TRUE(app.clickText(label));
        app.run();
        SetWindowTextA(app.state.hwndData, "left alone");

        app.typeWidth("8");
        app.press(VK_DOWN);
        app.run();

        EXPECT_EQ(app.paneText(), "left alone") << label;
    }
}

TEST(WidthText, ConvertsAsA32BitStrtoulOnEveryHost) {
    struct Case {
        const char* text;
        int32_t width;
    };
    const Case cases[] = {
        {"16", 16},
        {"010", 8},
        {"0x1f", 31},
        {"09", 0},
        {"", 0},
        {"  12", 12},
        {"12abc", 12},
        {"2147483648", INT32_MIN},
        {"4294967295", -1},
        {"4294967311", -1},
        {"99999999999999999999999", -1},
        {"-5", -5},
        {"+7", 7},
        {"--5", 0},
        {"- 5", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(parseWidthText(c.text), c.width) << '"' << c.text << '"';
}

}  // namespace
