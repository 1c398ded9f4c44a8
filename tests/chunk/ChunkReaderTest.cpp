// Reading chunk headers and bodies: byte order, nesting, short files and oversized claims.
#include "chunk/ChunkReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "file/IOException.h"
#include "file/PhysicalFile.h"
#include "file/SubFile.h"
#include "support/ChunkFileBuilder.h"
#include "support/MemoryFile.h"

// Array allocations in this test program are measured, so a test can tell that no large
// array was asked for. Every other allocation is left alone.
namespace {
std::atomic<size_t> largestArray{0};
}
void* operator new[](size_t size) {
    size_t seen = largestArray.load();
    while (size > seen && !largestArray.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

struct Releaser {
    void operator()(File* file) const { file->release(); }
};
using FilePtr = std::unique_ptr<File, Releaser>;

FilePtr memoryFile(const std::string& bytes, bool* destroyed = nullptr) {
    return FilePtr(new MemoryFile("m", bytes, destroyed));
}

// A header whose body is released when the test is done with it.
struct Header : ChunkHeader {
    ~Header() { releaseChunkBody(*this); }
};

std::string bodyText(const ChunkHeader& header) {
    std::unique_ptr<unsigned char[]> bytes(readChunkData(header));
    return std::string(reinterpret_cast<const char*>(bytes.get()), header.bodyLength());
}

template <typename F>
std::string errorOf(F&& call) {
    try {
        call();
    } catch (const IOException& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(ReadChunkHeader, DecodesBothWordsLittleEndian) {
    FilePtr file = memoryFile(bytesOf({0x00, 0x02, 0x00, 0x00, 0x04, 0x03, 0x02, 0x81}));
    Header header;
    readChunkHeader(header, *file);
    EXPECT_EQ(header.type, 0x200u);
    EXPECT_EQ(header.sizeWord, 0x81020304u);
    EXPECT_TRUE(header.isContainer());
    EXPECT_EQ(header.bodyLength(), 0x01020304u);
    EXPECT_EQ(header.dataOffset, 8u);
    ASSERT_NE(header.body, nullptr);
    EXPECT_EQ(header.body->size(), 0x01020304u);
}

TEST(ReadChunkHeader, EightByteFileIsOneDataChunkWithAnEmptyBody) {
    TempFile disk(ChunkFileBuilder().header(1, 0).bytes());
    FilePtr file(new PhysicalFile(disk.path()));
    Header header;
    readChunkHeader(header, *file);
    EXPECT_EQ(header.type, 1u);
    EXPECT_FALSE(header.isContainer());
    EXPECT_EQ(header.bodyLength(), 0u);
    EXPECT_TRUE(file->eof());
    std::unique_ptr<unsigned char[]> bytes(readChunkData(header));
    EXPECT_NE(bytes, nullptr) << "an empty body is still an array";
}

TEST(ReadChunkHeader, SizeWordOfOnlyTheFlagIsAnEmptyContainer) {
    FilePtr file = memoryFile(ChunkFileBuilder().header(7, 0x80000000u).bytes());
    Header header;
    readChunkHeader(header, *file);
    EXPECT_TRUE(header.isContainer());
    EXPECT_EQ(header.bodyLength(), 0u);
    EXPECT_TRUE(header.body->eof());
}

TEST(ReadChunkHeader, WalksIntoAContainerThroughItsBody) {
    ChunkFileBuilder b;
    b.data(0x10, "ab").container(0x20, [](ChunkFileBuilder& c) {
        c.data(0x21, "first").data(0x22, "second");
    });
    FilePtr file = memoryFile(b.bytes());
    Header data, container, child;
    readChunkHeader(data, *file);
    EXPECT_EQ(bodyText(data), "ab");
    file->seek(data.dataOffset + data.bodyLength());
    readChunkHeader(container, *file);
    EXPECT_EQ(container.type, 0x20u);
    EXPECT_EQ(container.dataOffset, 18u);
    EXPECT_EQ(container.bodyLength(), 8u + 5 + 8 + 6);

    readChunkHeader(child, *container.body);
    EXPECT_EQ(child.type, 0x21u);
    EXPECT_EQ(child.dataOffset, 8u) << "offsets are within the container's body";
    EXPECT_EQ(bodyText(child), "first");
    container.body->seek(child.dataOffset + child.bodyLength());
    readChunkHeader(child, *container.body);  // replaces, and releases, the first child's body
    EXPECT_EQ(child.type, 0x22u);
    EXPECT_EQ(bodyText(child), "second");
    EXPECT_EQ(child.body->name(), "m||");
}

TEST(ReadChunkHeader, OneToSevenBytesLeftOverAreAShortHeader) {
    for (size_t extra = 1; extra <= 7; ++extra) {
        ChunkFileBuilder b;
        b.data(1, "x").raw(bytesOf({1, 2, 3, 4, 5, 6, 7})).truncate(9 + extra);
        FilePtr file = memoryFile(b.bytes());
        file->seek(9);
        Header header;
        EXPECT_EQ(errorOf([&] { readChunkHeader(header, *file); }), "Unable to read chunk header")
            << extra;
        EXPECT_EQ(header.body, nullptr) << "a failed header makes no body";
    }
}

TEST(ReadChunkHeader, ContainerRunningPastItsFilesEndEndsInAShortHeader) {
    ChunkFileBuilder b;
    b.container(0x20, [](ChunkFileBuilder& c) { c.data(0x21, "abcdef"); });
    b.truncate(b.size() - 7);  // the child's header is there, not all of its body; then cut more
    FilePtr file = memoryFile(b.bytes());
    Header container, child;
    readChunkHeader(container, *file);
    EXPECT_EQ(errorOf([&] { readChunkHeader(child, *container.body); }),
              "Unable to read chunk header");
}

TEST(ReadChunkData, BodyRunningPastTheEndIsShortAndTheHeaderKeepsItsBody) {
    FilePtr file = memoryFile(ChunkFileBuilder().chunk(1, 10, "only6!").bytes());
    Header header;
    readChunkHeader(header, *file);
    EXPECT_EQ(errorOf([&] { readChunkData(header); }), "Unable to read chunk data");
    EXPECT_NE(header.body, nullptr);
}

TEST(ReadChunkData, ClaimOf2GiBInATinyFileFailsWithoutAllocatingIt) {
    ChunkFileBuilder b;
    b.chunk(1, 0x7FFFFFFFu, std::string(32, 'z'));  // a 40-byte file
    TempFile disk(b.bytes());
    FilePtr file(new PhysicalFile(disk.path()));
    Header header;
    readChunkHeader(header, *file);
    largestArray = 0;
    EXPECT_EQ(errorOf([&] { readChunkData(header); }), "Unable to read chunk data");
    EXPECT_LT(largestArray.load(), size_t{1} << 20);
}

TEST(ReadChunkData, ReadsTheBodyWholeIntoOneArray) {
    const std::string body(100000, 'q');
    FilePtr file = memoryFile(ChunkFileBuilder().data(1, body).data(2, "next").bytes());
    Header header;
    readChunkHeader(header, *file);
    largestArray = 0;
    EXPECT_EQ(bodyText(header), body);
    EXPECT_EQ(largestArray.load(), body.size());
}

TEST(ChunkBodies, KeepTheFileAliveUntilTheLastIsReleased) {
    bool destroyed = false;
    File* file = new MemoryFile("m", ChunkFileBuilder().data(1, "a").bytes(), &destroyed);
    ChunkHeader header;
    readChunkHeader(header, *file);
    file->release();
    EXPECT_FALSE(destroyed);
    releaseChunkBody(header);
    EXPECT_EQ(header.body, nullptr);
    EXPECT_TRUE(destroyed);
}

}  // namespace
