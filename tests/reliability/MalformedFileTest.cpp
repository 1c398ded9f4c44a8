// Damaged and hostile chunk files: every load ends with the tree it could read and either
// success or a fixed failure, never a crash, and costs memory in proportion to the file.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "AllocationWatch.h"
#include "LoadHost.h"
#include "support/ChunkFileBuilder.h"
#include "support/MemoryFile.h"

namespace {

// Three top-level chunks; the middle one holds a mini-chunk list, a container and an empty
// data chunk.
std::string nestedFile(std::set<size_t>* topLevelEnds = nullptr) {
    ChunkFileBuilder file;
    file.data(0x10, "abc");
    if (topLevelEnds) topLevelEnds->insert(file.size());
    file.container(0x20, [](ChunkFileBuilder& c) {
        c.data(0x21, bytesOf({0x01, 0x02, 0x41, 0x42, 0x0a, 0x01, 0x7a}));
        c.container(0x22, [](ChunkFileBuilder& d) { d.data(0x23, "xyz12345"); });
        c.data(0x24, "");
    });
    if (topLevelEnds) topLevelEnds->insert(file.size());
    file.data(0x30, "tail!");
    if (topLevelEnds) topLevelEnds->insert(file.size());
    return file.bytes();
}

// Data items carry consecutive record indices in file order; containers and the root -1.
void expectIndicesInFileOrder(const std::vector<ShownItem>& items) {
    LPARAM next = 0;
    for (const ShownItem& item : items) {
        if (item.children)
            EXPECT_EQ(item.index, -1) << item.text;
        else
            EXPECT_EQ(item.index, next++) << item.text;
    }
}

TEST(TruncatedFile, EveryPrefixLoadsWhatItHoldsOrFailsWithAReadMessage) {
    std::set<size_t> ends = {0};
    const std::string whole = nestedFile(&ends);
    LoadHost full;
    ASSERT_EQ(full.loadPath(TempFile(whole).path()), "");
    const std::vector<ShownItem> fullItems = full.items();

    for (size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE("prefix of " + std::to_string(length) + " bytes");
        LoadHost host;
        const std::string failure = host.loadPath(TempFile(whole.substr(0, length)).path());
        const std::vector<ShownItem> items = host.items();

        // Only a cut between top-level chunks leaves a whole file.
        if (ends.count(length))
            EXPECT_EQ(failure, "");
        else
            EXPECT_TRUE(isReadFailure(failure)) << failure;

        // What shows is the start of the whole file's tree, item for item.
        ASSERT_LE(items.size(), fullItems.size());
        for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i], fullItems[i]) << i;
        expectIndicesInFileOrder(items);

        // Every record read is the whole file's record, byte for byte; the item of a body
        // that was cut points just past the table.
        size_t dataItems = 0;
        for (const ShownItem& item : items) dataItems += item.children ? 0 : 1;
        EXPECT_TRUE(host.records.size() == dataItems ||
                    (!failure.empty() && host.records.size() + 1 == dataItems));
        for (size_t i = 0; i < host.records.size(); ++i) {
            ASSERT_EQ(host.records[i].length, full.records[i].length);
            const int32_t size = host.records[i].length < 0 ? -host.records[i].length
                                                            : host.records[i].length;
            EXPECT_EQ(std::string(reinterpret_cast<char*>(host.records[i].bytes), size),
                      std::string(reinterpret_cast<char*>(full.records[i].bytes), size));
        }
        host.showEveryItem(16);
    }
}

struct HostileFile {
    const char* name;
    std::string bytes;
    const char* failure;         // "" for a load that succeeds
    std::vector<std::string> shown;  // the items' labels after the root, depth first
};

std::string nested(size_t depth) {
    // Built from the inside out: each level's header counts what it wraps.
    std::string bytes;
    bytes.reserve(depth * 8);
    std::vector<uint32_t> lengths(depth);
    for (size_t level = 0; level < depth; ++level) lengths[level] = uint32_t((depth - 1 - level) * 8);
    for (size_t level = 0; level < depth; ++level) {
        ChunkFileBuilder header;
        header.header(uint32_t(level), 0x80000000u | lengths[level]);
        bytes += header.bytes();
    }
    return bytes;
}

std::vector<HostileFile> hostileFiles() {
    std::vector<HostileFile> files;
    files.push_back({"DataClaiming2GiBInATinyFile",
                     ChunkFileBuilder().chunk(0x30, 0x7FFFFFFF, "short").bytes(),
                     "Unable to read chunk data",
                     {"00000030h (7fffffffh)"}});
    files.push_back({"ContainerClaiming2GiBAroundOneChunk",
                     ChunkFileBuilder().chunk(0x40, 0xFFFFFFFF, ChunkFileBuilder().data(1, "ab").bytes()).bytes(),
                     "Unable to read chunk header",
                     {"00000040h (7fffffffh)", "00000001h (00000002h)"}});
    // The bytes the child claims are in the file, but outside its container.
    files.push_back({"DataChildOverrunningItsContainer",
                     ChunkFileBuilder()
                         .chunk(0x50, 0x80000000u | 12, ChunkFileBuilder().chunk(1, 20, "abcd").bytes())
                         .raw(std::string(40, 'x'))
                         .bytes(),
                     "Unable to read chunk data",
                     {"00000050h (0000000ch)", "00000001h (00000014h)"}});
    files.push_back({"ContainerChildOverrunningItsContainer",
                     ChunkFileBuilder()
                         .chunk(0x60, 0x80000000u | 16,
                                ChunkFileBuilder()
                                    .chunk(2, 0x80000000u | 100, ChunkFileBuilder().data(3, "").bytes())
                                    .bytes())
                         .data(4, "after")
                         .bytes(),
                     "Unable to read chunk header",
                     {"00000060h (00000010h)", "00000002h (00000064h)", "00000003h (00000000h)"}});
    files.push_back({"HeaderCutAfterFiveBytes",
                     ChunkFileBuilder().data(1, "a").raw("12345").bytes(),
                     "Unable to read chunk header",
                     {"00000001h (00000001h)"}});
    files.push_back({"EmptyContainersAndEmptyData",
                     ChunkFileBuilder().header(1, 0x80000000u).header(2, 0).bytes(),
                     "",
                     {"00000001h (00000000h)", "00000002h (00000000h)"}});
    return files;
}

class HostileFileTest : public ::testing::TestWithParam<HostileFile> {};

TEST_P(HostileFileTest, ShowsWhatWasReadAndFailsWithItsMessageWithinTheFilesSize) {
    const HostileFile& hostile = GetParam();
    TempFile disk(hostile.bytes);
    LoadHost host;
    AllocationWatch watch;
    EXPECT_EQ(host.loadPath(disk.path()), hostile.failure);
    // Nothing in proportion to what a header claims: a few kilobytes beyond the file itself.
    EXPECT_LE(watch.largest(), hostile.bytes.size() + 64 * 1024);

    std::vector<std::string> labels;
    const std::vector<ShownItem> items = host.items();
    for (size_t i = 1; i < items.size(); ++i) labels.push_back(items[i].text);
    EXPECT_EQ(labels, hostile.shown);
    expectIndicesInFileOrder(items);
    host.showEveryItem(4097);
}

INSTANTIATE_TEST_SUITE_P(Damage, HostileFileTest, ::testing::ValuesIn(hostileFiles()),
                         [](const auto& info) { return std::string(info.param.name); });

// Containers inside containers far beyond any real file: the walk stops at its depth limit
// with the levels it reached shown, whatever the depth, and spends memory on those only.
TEST(DeepNesting, StopsAtTheDepthLimitWithTheLevelsItReached) {
    for (size_t depth : {size_t{5000}, size_t{1000000}}) {
        SCOPED_TRACE(std::to_string(depth) + " levels");
        const std::string bytes = nested(depth);
        LoadHost host;
        File* file = new MemoryFile("deep", bytes);
        AllocationWatch watch;
        const std::string failure = host.load(file);
        EXPECT_EQ(failure, "Chunks nested too deeply");
        EXPECT_LE(watch.largest(), 64u * 1024);

        const std::vector<ShownItem> items = host.items();
        ASSERT_EQ(items.size(), size_t(kMaxChunkDepth) + 1);
        EXPECT_EQ(items.back().depth, kMaxChunkDepth);
        EXPECT_EQ(items.back().text, "000003e7h (" + [&] {
            char hex[9];
            std::snprintf(hex, sizeof hex, "%08x", unsigned((depth - kMaxChunkDepth) * 8));
            return std::string(hex);
        }() + "h)");
        EXPECT_TRUE(host.records.size() == 0);
    }
}

TEST(DeepNesting, JustUnderTheLimitLoads) {
    LoadHost host;
    ChunkFileBuilder inner;
    inner.data(0xAB, "bottom");
    std::string bytes = inner.bytes();
    for (int level = kMaxChunkDepth - 2; level >= 0; --level) {
        ChunkFileBuilder wrap;
        wrap.chunk(uint32_t(level), 0x80000000u | uint32_t(bytes.size()), bytes);
        bytes = wrap.bytes();
    }
    EXPECT_EQ(host.load(new MemoryFile("deep", bytes)), "");
    const std::vector<ShownItem> items = host.items();
    ASSERT_EQ(items.size(), size_t(kMaxChunkDepth) + 1);
    EXPECT_EQ(items.back().text, "000000abh (00000006h)");
    ASSERT_EQ(host.records.size(), 1u);
}

// Files of 4 GiB and more, made sparse: only the low 32 bits of the size count, so the file
// reads as exactly that many bytes.
struct LargeFile {
    const char* name;
    unsigned long long size;
    const char* failure;
    std::vector<std::string> shown;
};

class LargeFileTest : public ::testing::TestWithParam<LargeFile> {};

TEST_P(LargeFileTest, ReadsAsTheLow32BitsOfItsSize) {
    const LargeFile& large = GetParam();
    TempFolder folder;
    const std::string path = folder.write("large.zmk", "");
    const std::string start = ChunkFileBuilder().data(0x12, "ABCDEFGH").raw("0123456789").bytes();
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const bool written = ::pwrite(fd, start.data(), start.size(), 0) == ssize_t(start.size());
    const bool sized = ::ftruncate(fd, off_t(large.size)) == 0;
    ::close(fd);
    ASSERT_TRUE(written);
    if (!sized) GTEST_SKIP() << "the temporary folder's file system refuses a sparse file of "
                             << large.size << " bytes";

    LoadHost host;
    AllocationWatch watch;
    EXPECT_EQ(host.loadPath(path), large.failure);
    EXPECT_LE(watch.largest(), 64u * 1024);
    std::vector<std::string> labels;
    const std::vector<ShownItem> items = host.items();
    for (size_t i = 1; i < items.size(); ++i) labels.push_back(items[i].text);
    EXPECT_EQ(labels, large.shown);
}

const LargeFile kLargeFiles[] = {
    // 4 GiB + 16: the first chunk, then 8 bytes that are no whole header... read as 16 bytes.
    {"FourGiBAndSixteen", 0x100000010ull, "", {"00000012h (00000008h)"}},
    // 4 GiB exactly reads as empty.
    {"FourGiB", 0x100000000ull, "", {}},
    // 4 GiB + 4: half a header; the bytes past the fourth are beyond the size that counts.
    {"FourGiBAndFour", 0x100000004ull, "Unable to read chunk header", {}},
    // 4 GiB + 12: a header and half of its body.
    {"FourGiBAndTwelve", 0x10000000Cull, "Unable to read chunk data", {"00000012h (00000008h)"}},
};

INSTANTIATE_TEST_SUITE_P(Sparse, LargeFileTest, ::testing::ValuesIn(kLargeFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UnopenablePath, AFolderOrAPathThroughAFileFailsToOpenAndLeavesTheTreeEmpty) {
    TempFolder folder;
    const std::string file = folder.write("plain.zmk", ChunkFileBuilder().data(1, "x").bytes());
    LoadHost host;
    EXPECT_EQ(host.loadPath(folder.path()), "Unable to open file" + folder.path());
    EXPECT_EQ(host.loadPath(file + "/inside.zmk"), "Unable to find file:\n" + file + "/inside.zmk");
    EXPECT_TRUE(host.items().empty());
}

}  // namespace
