// The chunk tree builder against the tree control, through its messages.
#include "view/ChunkTree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "ViewHost.h"
#include "support/ChunkFileBuilder.h"
#include "support/TreeText.h"

namespace {

// A container of type 12 with two data chunks, then one more data chunk.
std::string nestedFile() {
    ChunkFileBuilder b;
    b.container(0x12, [](ChunkFileBuilder& c) {
         c.data(0x1, "ab");
         c.data(0x2, "cde");
     }).data(0x3, "f");
    return b.bytes();
}

const char kNestedTree[] =
    "Chunk File lParam=-1 children=1 expanded\n"
    "  00000012h (00000015h) lParam=-1 children=1\n"
    "    00000001h (00000002h) lParam=0 children=0\n"
    "    00000002h (00000003h) lParam=1 children=0\n"
    "  00000003h (00000001h) lParam=2 children=0\n";

std::string recordBytes(const RecordsTable& records, size_t index) {
    const ChunkData& r = records[index];
    const int32_t length = r.length < 0 ? -r.length : r.length;
    return std::string(reinterpret_cast<const char*>(r.bytes), static_cast<size_t>(length));
}

std::string nested(int depth) {
    // `depth` containers inside one another, the innermost holding one data chunk of 9 bytes.
    ChunkFileBuilder b;
    for (int level = 0; level < depth; ++level)
        b.header(0x5, 0x80000000u | static_cast<uint32_t>(8 * (depth - 1 - level) + 9));
    return b.data(0x7, "x").bytes();
}

}  // namespace

TEST(ChunkLabel, ShowsTypeAndBodyLengthWithoutTheContainerFlag) {
    EXPECT_EQ(chunkLabel(0x12, 0x80000010), "00000012h (00000010h)");
    EXPECT_EQ(chunkLabel(0x12, 0x10), "00000012h (00000010h)");
    EXPECT_EQ(chunkLabel(0xFFFFFFFF, 0xFFFFFFFF), "ffffffffh (7fffffffh)");
    EXPECT_EQ(chunkLabel(0, 0), "00000000h (00000000h)");
}

TEST(LoadFile, FirstLoadBuildsItemsAndRecordsDepthFirst) {
    ViewHost host;
    TempFile file(nestedFile());
    host.load(file.path());

    EXPECT_EQ(describeTree(host.tree), kNestedTree);
    ASSERT_EQ(host.records.size(), 3u);
    EXPECT_EQ(recordBytes(host.records, 0), "ab");
    EXPECT_EQ(recordBytes(host.records, 1), "cde");
    EXPECT_EQ(recordBytes(host.records, 2), "f");
    EXPECT_EQ(host.records[1].length, 3);
}

TEST(LoadFile, EmptyFileLeavesTheRootWithAnExpandButtonAndNoRecords) {
    ViewHost host;
    TempFile file("");
    host.load(file.path());
    EXPECT_EQ(describeTree(host.tree), "Chunk File lParam=-1 children=1\n");
    EXPECT_EQ(host.records.size(), 0u);
}

TEST(LoadFile, ReloadOfTheSameFileKeepsEveryItemItsStateAndTheSelection) {
    ViewHost host;
    TempFile file(nestedFile());
    host.load(file.path());
    HTREEITEM container = itemAt(host.tree, {0, 0});
    HTREEITEM second = itemAt(host.tree, {0, 0, 1});
    SendMessageA(host.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(container));
    SendMessageA(host.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(second));
    const std::vector<HTREEITEM> before = treeItems(host.tree);
    const std::string shown = describeTree(host.tree);

    host.load(file.path());

    EXPECT_EQ(treeItems(host.tree), before);
    EXPECT_EQ(describeTree(host.tree), shown);
    EXPECT_NE(shown.find("00000002h (00000003h) lParam=1 children=0 selected"), std::string::npos);
    EXPECT_NE(shown.find("00000012h (00000015h) lParam=-1 children=1 expanded"), std::string::npos);
    EXPECT_EQ(host.records.size(), 3u);
}

struct ReloadCase {
    const char* name;
    std::string before;
    std::string after;
    const char* tree;  // after the reload
};

class Reload : public ::testing::TestWithParam<ReloadCase> {};

TEST_P(Reload, RewritesItemsInPlace) {
    const ReloadCase& c = GetParam();
    ViewHost host;
    TempFile first(c.before);
    host.load(first.path());
    HTREEITEM firstItem = itemAt(host.tree, {0, 0});

    TempFile second(c.after);
    host.load(second.path());

    EXPECT_EQ(describeTree(host.tree), c.tree);
    EXPECT_EQ(itemAt(host.tree, {0, 0}), firstItem) << "the first item is reused";
}

INSTANTIATE_TEST_SUITE_P(
    LoadFile, Reload,
    ::testing::Values(
        ReloadCase{"GainedAChunkAtTheEnd", ChunkFileBuilder().data(1, "a").bytes(),
                   ChunkFileBuilder().data(1, "a").data(2, "bb").bytes(),
                   "Chunk File lParam=-1 children=1 expanded\n"
                   "  00000001h (00000001h) lParam=0 children=0\n"
                   "  00000002h (00000002h) lParam=1 children=0\n"},
        ReloadCase{"LostTheLastChunkWithItsChildren",
                   ChunkFileBuilder()
                       .data(1, "a")
                       .container(2, [](ChunkFileBuilder& c) { c.data(3, "b").data(4, "c"); })
                       .bytes(),
                   ChunkFileBuilder().data(1, "a").bytes(),
                   "Chunk File lParam=-1 children=1 expanded\n"
                   "  00000001h (00000001h) lParam=0 children=0\n"},
        ReloadCase{"DataChunkBecameAContainer", ChunkFileBuilder().data(1, "abc").data(2, "d").bytes(),
                   ChunkFileBuilder()
                       .container(1, [](ChunkFileBuilder& c) { c.data(3, "x").data(4, "yy"); })
                       .data(2, "d")
                       .bytes(),
                   "Chunk File lParam=-1 children=1 expanded\n"
                   "  00000001h (00000013h) lParam=-1 children=1\n"
                   "    00000003h (00000001h) lParam=0 children=0\n"
                   "    00000004h (00000002h) lParam=1 children=0\n"
                   "  00000002h (00000001h) lParam=2 children=0\n"},
        ReloadCase{"ContainerBecameADataChunk", nestedFile(),
                   ChunkFileBuilder().data(0x12, "q").data(3, "f").bytes(),
                   "Chunk File lParam=-1 children=1 expanded\n"
                   "  00000012h (00000001h) lParam=0 children=0\n"
                   "  00000003h (00000001h) lParam=1 children=0\n"}),
    [](const ::testing::TestParamInfo<ReloadCase>& info) { return std::string(info.param.name); });

TEST(LoadFile, MarksOnlyShortBodiesThatPassTheTestAsMiniChunkLists) {
    // 16 mini-chunks of 254 bytes fill exactly 4096 bytes: the test would pass, but a body
    // that long is never a list.
    std::string longList;
    for (int i = 0; i < 16; ++i) longList += std::string("\x01\xfe", 2) + std::string(254, 'x');
    ASSERT_EQ(longList.size(), 4096u);
    ViewHost host;
    TempFile file(ChunkFileBuilder()
                      .data(1, bytesOf({1, 3, 'a', 'b', 'c', 2, 3, 'd', 'e', 'f'}))
                      .data(2, longList)
                      .data(3, bytesOf({1, 3, 'a'}))
                      .bytes());
    host.load(file.path());
    ASSERT_EQ(host.records.size(), 3u);
    EXPECT_EQ(host.records[0].length, -10);
    EXPECT_EQ(host.records[1].length, 4096);
    EXPECT_EQ(host.records[2].length, 3);
}

TEST(LoadFile, ContainerFlagWinsOverBytesThatLookLikeMiniChunks) {
    ViewHost host;
    TempFile file(ChunkFileBuilder().chunk(1, 0x80000000u, "").bytes());
    host.load(file.path());
    EXPECT_EQ(describeTree(host.tree),
              "Chunk File lParam=-1 children=1 expanded\n"
              "  00000001h (00000000h) lParam=-1 children=1\n");
}

struct FailureCase {
    const char* name;
    std::string file;
    const char* message;
    const char* tree;  // as the failed load leaves it, after a first load of nestedFile()
    size_t records;
};

class FailedLoad : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedLoad, StopsWithTheReadersMessageAndLeavesWhatItWalked) {
    const FailureCase& c = GetParam();
    ViewHost host;
    TempFile good(nestedFile());
    host.load(good.path());

    TempFile bad(c.file);
    try {
        host.load(bad.path());
        FAIL() << "the load should fail";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(describeTree(host.tree), c.tree);
    EXPECT_EQ(host.records.size(), c.records);
}

INSTANTIATE_TEST_SUITE_P(
    LoadFile, FailedLoad,
    ::testing::Values(
        // The data chunk inside the container claims 9 bytes where 2 are left.
        FailureCase{"DataChunkPastItsContainer",
                    ChunkFileBuilder()
                        .chunk(0x12, 0x8000000Au, ChunkFileBuilder().chunk(9, 9, "ab").bytes())
                        .data(3, "f")
                        .bytes(),
                    "Unable to read chunk data",
                    "Chunk File lParam=-1 children=1 expanded\n"
                    "  00000012h (0000000ah) lParam=-1 children=1\n"
                    "    00000009h (00000009h) lParam=0 children=0\n"
                    "    00000002h (00000003h) lParam=1 children=0\n"
                    "  00000003h (00000001h) lParam=2 children=0\n",
                    0},
        // The inner container claims 30 bytes; its one child ends after 12 and the next
        // header runs into the end of the outer container.
        FailureCase{"ContainerPastItsContainer",
                    ChunkFileBuilder()
                        .chunk(0x12, 0x80000014u,
                               ChunkFileBuilder()
                                   .chunk(8, 0x8000001Eu, ChunkFileBuilder().data(1, "abcd").bytes())
                                   .bytes())
                        .bytes(),
                    "Unable to read chunk header",
                    "Chunk File lParam=-1 children=1 expanded\n"
                    "  00000012h (00000014h) lParam=-1 children=1\n"
                    "    00000008h (0000001eh) lParam=-1 children=1\n"
                    "      00000001h (00000004h) lParam=0 children=0\n"
                    "    00000002h (00000003h) lParam=1 children=0\n"
                    "  00000003h (00000001h) lParam=2 children=0\n",
                    1}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(LoadFile, SelectionMovedDuringALoadReadsOnlyThroughTheBoundsCheck) {
    // The first child of the container is selected; the reload turns the container into a
    // data chunk, so its children are deleted before any record exists and the selection
    // moves to an item whose old index lies outside the emptied table.
    ViewHost host;
    TempFile first(nestedFile());
    host.load(first.path());
    SendMessageA(host.tree, TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(itemAt(host.tree, {0, 0, 0})));
    host.selections.clear();

    TempFile second(ChunkFileBuilder().data(0x12, "new").data(3, "f").bytes());
    host.load(second.path());

    ASSERT_FALSE(host.selections.empty());
    EXPECT_EQ(host.selections.front().index, 1);
    EXPECT_EQ(host.selections.front().recordsAtThatTime, 0u);
    EXPECT_EQ(host.paneText(), "");
    EXPECT_EQ(host.records.size(), 2u);
}

TEST(LoadFile, NestingIsLimitedToAFixedDepth) {
    ViewHost host;
    TempFile deepest(nested(kMaxChunkDepth - 1));
    EXPECT_NO_THROW(host.load(deepest.path()));
    EXPECT_EQ(host.records.size(), 1u);

    for (int depth : {kMaxChunkDepth, 1000000}) {
        TempFile tooDeep(nested(depth));
        EXPECT_THROW(host.load(tooDeep.path()), std::runtime_error) << depth;
    }
}
