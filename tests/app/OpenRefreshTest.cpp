// Opening and refreshing chunk files, and what survives when either fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "AppHarness.h"
#include "Fixtures.h"
#include "support/TreeText.h"

namespace {

const char kSampleTree[] =
    "Chunk File lParam=-1 children=1 expanded\n"
    "  00000012h (00000009h) lParam=0 children=0\n"
    "  00000020h (0000001ah) lParam=-1 children=1\n"
    "    00000021h (00000007h) lParam=1 children=0\n"
    "    00000022h (00000003h) lParam=2 children=0\n"
    "  00000030h (00000000h) lParam=3 children=0\n";

void rewrite(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

TEST(OpenCommand, CancellingTheDialogChangesNothing) {
    AppHarness app;
    app.device().pressCtrl('O');
    app.press(VK_ESCAPE);
    app.run();

    EXPECT_EQ(SendMessageA(app.state.hwndTree, TVM_GETNEXTITEM, TVGN_ROOT, 0), 0);
    EXPECT_EQ(app.state.records.size(), 0u);
    EXPECT_EQ(app.state.filePath, "");
    EXPECT_TRUE(app.refreshGrayed());
    EXPECT_TRUE(winapi::lastMessageBoxes().empty());
}

TEST(OpenCommand, OpeningAFileShowsItsChunksWithTheRootExpandedAndTheTreeFocused) {
    TempFile file(sampleFile());
    AppHarness app;
    app.openFile(file.path());

    EXPECT_EQ(describeTree(app.state.hwndTree), kSampleTree);
    EXPECT_EQ(app.paneText(), "");
    EXPECT_FALSE(app.refreshGrayed());
    EXPECT_EQ(GetFocus(), app.state.hwndTree);
    EXPECT_EQ(app.state.filePath, file.path());
    EXPECT_TRUE(app.findOnScreen("00000020h (0000001ah)").found());
}

TEST(OpenCommand, SelectingChunksShowsDataAndEmptiesThePaneForContainers) {
    TempFile file(sampleFile());
    AppHarness app;
    app.openFile(file.path());

    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();
    EXPECT_EQ(app.itemText(app.selectedItem()), "00000012h (00000009h)");
    EXPECT_EQ(app.paneText(), hiThereRow(16));

    ASSERT_TRUE(app.clickText("00000020h (0000001ah)"));
    app.run();
    EXPECT_EQ(app.paneText(), "");
}

TEST(RefreshCommand, KeepsTheSelectionAndShowsTheChunkAsTheFileNowIs) {
    TempFile file(sampleFile());
    AppHarness app;
    app.openFile(file.path());
    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();
    HTREEITEM selected = app.selectedItem();

    rewrite(file.path(), sampleFile("Goodbye, world"));
    app.press(VK_F5);
    app.run();

    EXPECT_EQ(app.selectedItem(), selected);
    EXPECT_EQ(app.itemText(selected), "00000012h (0000000eh)");
    EXPECT_EQ(app.paneText(), "47 6f 6f 64 62 79 65 2c 20 77 6f 72 6c 64 " + std::string(6, ' ') +
                                  " | Goodbye, world\r\n");
    EXPECT_EQ(GetFocus(), app.state.hwndTree);
}

TEST(OpenCommand, AnotherFileReusesTheItemsButLeavesThePaneEmpty) {
    TempFile first(sampleFile());
    TempFile second(sampleFile("Goodbye, world"));
    AppHarness app;
    app.openFile(first.path());
    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();
    HTREEITEM selected = app.selectedItem();

    app.openFile(second.path());

    EXPECT_EQ(app.selectedItem(), selected);
    EXPECT_EQ(app.itemText(selected), "00000012h (0000000eh)");
    EXPECT_EQ(app.paneText(), "");
    EXPECT_EQ(app.state.filePath, second.path());
}

TEST(OpenCommand, AFileThatFailsPartWayShowsTheFixedMessage) {
    ChunkFileBuilder truncated;
    truncated.data(0x12, "Hi there!").data(0x13, "lost at the end").truncate(30);
    TempFile file(truncated.bytes());
    AppHarness app;
    app.openFile(file.path());

    ASSERT_EQ(winapi::lastMessageBoxes().size(), 1u);
    EXPECT_EQ(winapi::lastMessageBoxes()[0].text, "Unable to open the specified file");
    EXPECT_EQ(winapi::lastMessageBoxes()[0].caption, "Error");  // no caption of its own
    EXPECT_EQ(winapi::lastMessageBoxes()[0].type, static_cast<UINT>(MB_ICONERROR));
    // The chunks read before the failure stay; nothing else of the command happened.
    EXPECT_EQ(app.itemText(reinterpret_cast<HTREEITEM>(
                  SendMessageA(app.state.hwndTree, TVM_GETNEXTITEM, TVGN_CHILD,
                               SendMessageA(app.state.hwndTree, TVM_GETNEXTITEM, TVGN_ROOT, 0)))),
              "00000012h (00000009h)");
    EXPECT_EQ(app.state.filePath, file.path());
    EXPECT_TRUE(app.refreshGrayed());
    EXPECT_EQ(app.paneText(), "");
}

struct RefreshFailure {
    const char* name;
    void (*damage)(const std::string& path);
};

const RefreshFailure kRefreshFailures[] = {
    {"FileDeleted", [](const std::string& path) { std::remove(path.c_str()); }},
    {"FileBecameAFolder",
     [](const std::string& path) {
         std::remove(path.c_str());
         std::filesystem::create_directory(path);
     }},
    {"FileCutShort", [](const std::string& path) { rewrite(path, sampleFile().substr(0, 40)); }},
};

class RefreshFailureTest : public ::testing::TestWithParam<RefreshFailure> {};

TEST_P(RefreshFailureTest, ShowsTheFixedMessageAndLeavesThePane) {
    TempFolder folder;
    std::string path = folder.write("sample.zmk", sampleFile());
    AppHarness app;
    app.openFile(path);
    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();

    GetParam().damage(path);
    app.press(VK_F5);
    app.run();

    ASSERT_EQ(winapi::lastMessageBoxes().size(), 1u);
    EXPECT_EQ(winapi::lastMessageBoxes()[0].text, "Unable to refresh the opened file");
    EXPECT_EQ(winapi::lastMessageBoxes()[0].caption, "Error");  // no caption of its own
    EXPECT_EQ(winapi::lastMessageBoxes()[0].type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(app.paneText(), hiThereRow(16));
    EXPECT_FALSE(app.refreshGrayed());
    EXPECT_EQ(GetFocus(), app.state.hwndTree);
}

INSTANTIATE_TEST_SUITE_P(Damage, RefreshFailureTest, ::testing::ValuesIn(kRefreshFailures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
