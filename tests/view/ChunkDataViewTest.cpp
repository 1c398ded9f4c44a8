// The data pane's contents: dumps, mini-chunk listings and the width rules.
#include "view/ChunkDataView.h"

#include <gtest/gtest.h>

#include "ViewHost.h"
#include "support/ChunkFileBuilder.h"
#include "view/HexDump.h"

namespace {

const unsigned char kHello[] = "Hello, world!";  // 13 bytes and a zero

std::string dump(const unsigned char* bytes, int32_t count, int32_t width) {
    return formatHexDump(bytes, count, width, "");
}

}  // namespace

TEST(MiniChunkListing, ShowsOneBlockPerMiniChunkUnderItsHead) {
    const unsigned char body[] = {0x01, 0x02, 0x41, 0x42, 0x0a, 0x01, 0x7a};
    EXPECT_EQ(formatMiniChunkList(body, 7, 16),
              "01 02: 41 42 " + std::string(42, ' ') + " | AB\r\n" +
                  "0a 01: 7a " + std::string(45, ' ') + " | z\r\n");
}

TEST(MiniChunkListing, LaterRowsOfALongPayloadStartSevenSpacesIn) {
    const unsigned char body[] = {0x07, 0x05, 'a', 'b', 'c', 'd', 'e'};
    EXPECT_EQ(formatMiniChunkList(body, 7, 2),
              "07 05: 61 62  | ab\r\n"
              "       63 64  | cd\r\n"
              "       65     | e\r\n");
}

TEST(MiniChunkListing, NeverReadsPastTheBytesItIsGiven) {
    // Not a list: the second mini-chunk claims 200 bytes where 1 is left.
    const unsigned char body[] = {0x01, 0x01, 'a', 0x02, 200, 'b'};
    EXPECT_EQ(formatMiniChunkList(body, 6, 16),
              "01 01: 61 " + std::string(45, ' ') + " | a\r\n" +
                  "02 c8: 62 " + std::string(45, ' ') + " | b\r\n");
}

TEST(ShowChunkData, WidthsBelowOneCountAsOne) {
    ViewHost host;
    for (int32_t width : {0, -1, -2147483647 - 1}) {
        showChunkData(host.pane, kHello, 13, width);
        EXPECT_EQ(host.paneText(), dump(kHello, 13, 1)) << width;
    }
}

TEST(ShowChunkData, EmptyChunkEmptiesThePane) {
    ViewHost host;
    SetWindowTextA(host.pane, "old");
    showChunkData(host.pane, kHello, 0, 16);
    EXPECT_EQ(host.paneText(), "");
}

TEST(ShowRecord, UsesTheWidthBoxPositionOrSixteenWhenItIsInvalid) {
    ViewHost host;
    TempFile file(ChunkFileBuilder().data(1, "Hello, world!").bytes());
    host.load(file.path());

    SendMessageA(host.upDown, UDM_SETPOS32, 0, 8);
    showRecord(host.records, host.upDown, host.pane, 0);
    EXPECT_EQ(host.paneText(), dump(kHello, 13, 8));

    host.setWidthText("abc");  // not a position: the width falls back to 16
    showRecord(host.records, host.upDown, host.pane, 0);
    EXPECT_EQ(host.paneText(), dump(kHello, 13, 16));
}

TEST(ShowRecord, ShowsAMiniChunkListAsAListing) {
    ViewHost host;
    TempFile file(ChunkFileBuilder().data(1, bytesOf({0x01, 0x02, 0x41, 0x42})).bytes());
    host.load(file.path());
    showRecord(host.records, host.upDown, host.pane, 0);
    EXPECT_EQ(host.paneText(), "01 02: 41 42 " + std::string(42, ' ') + " | AB\r\n");
}

TEST(ShowRecord, IndexWithoutARecordEmptiesThePane) {
    ViewHost host;
    TempFile file(ChunkFileBuilder().data(1, "abc").bytes());
    host.load(file.path());
    for (LPARAM index : {LPARAM{-1}, LPARAM{1}, LPARAM{1000000}}) {
        SetWindowTextA(host.pane, "old");
        showRecord(host.records, host.upDown, host.pane, index);
        EXPECT_EQ(host.paneText(), "") << index;
    }
}
