// PhysicalFile: opening, its errors, reading and seeking a file on disk.
#include "file/PhysicalFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "file/IOException.h"
#include "support/ChunkFileBuilder.h"

namespace {

// Releases the creator's reference when the test is done with the file.
struct Releaser {
    void operator()(File* file) const { file->release(); }
};
using FilePtr = std::unique_ptr<File, Releaser>;

FilePtr open(const std::string& path) { return FilePtr(new PhysicalFile(path)); }

std::string readString(File& file, uint32_t count) {
    std::string buffer(count, '\0');
    buffer.resize(file.read(buffer.data(), count));
    return buffer;
}

TEST(PhysicalFile, MissingFileOrFolderRaisesFileNotFoundWithThePath) {
    TempFolder folder;
    const std::string existing = folder.write("a.bin", "abc");
    for (const std::string& path :
         {folder.path() + "/missing.chunk", folder.path() + "/gone/x.chunk", existing + "/x"}) {
        try {
            open(path);
            ADD_FAILURE() << "opened " << path;
        } catch (const FileNotFoundException& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to find file:\n" + path);
        }
    }
}

TEST(PhysicalFile, FolderRaisesIOExceptionNamingThePathWithNoSeparator) {
    TempFolder folder;
    try {
        open(folder.path());
        FAIL() << "opened a folder";
    } catch (const FileNotFoundException&) {
        FAIL() << "a folder exists: it is not 'not found'";
    } catch (const IOException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to open file" + folder.path());
    }
}

TEST(PhysicalFile, ReadsAdvanceAndComeUpShortAtTheEnd) {
    TempFile disk("0123456789");
    FilePtr file = open(disk.path());
    EXPECT_EQ(file->name(), disk.path());
    EXPECT_EQ(file->size(), 10u);
    EXPECT_EQ(readString(*file, 4), "0123");
    EXPECT_EQ(file->tell(), 4u);
    file->seek(7);
    EXPECT_EQ(readString(*file, 5), "789");
    EXPECT_EQ(file->tell(), 10u);
    EXPECT_TRUE(file->eof());
    EXPECT_EQ(readString(*file, 5), "");
    EXPECT_EQ(file->tell(), 10u) << "a read at the end leaves the position";
}

TEST(PhysicalFile, EachReadComesFromThePositionWhateverTheSeeksBetween) {
    TempFile disk("0123456789");
    FilePtr file = open(disk.path());
    EXPECT_EQ(readString(*file, 2), "01");
    EXPECT_EQ(readString(*file, 2), "23") << "straight on";
    file->seek(1);
    EXPECT_EQ(readString(*file, 2), "12") << "back";
    file->seek(8);
    file->seek(3);
    EXPECT_EQ(readString(*file, 1), "3") << "back to where the last read ended";
    file->seek(9);
    EXPECT_EQ(readString(*file, 4), "9") << "forward";
    file->seek(0);
    EXPECT_EQ(readString(*file, 3), "012");
}

TEST(PhysicalFile, SeekStopsAtTheEnd) {
    TempFile disk("abcd");
    FilePtr file = open(disk.path());
    for (uint32_t offset : {4u, 5u, 0xFFFFFFFFu}) {
        file->seek(offset);
        EXPECT_EQ(file->tell(), 4u) << offset;
        EXPECT_TRUE(file->eof());
    }
    file->seek(3);
    EXPECT_FALSE(file->eof());
}

TEST(PhysicalFile, EmptyFileIsAtItsEndAtOnce) {
    TempFile disk("");
    FilePtr file = open(disk.path());
    EXPECT_EQ(file->size(), 0u);
    EXPECT_TRUE(file->eof());
}

// A sparse file: 3 GiB long on paper, a few bytes on disk.
TEST(PhysicalFile, ReadsAtPositionsFrom2GiBUp) {
    TempFile disk("");
    std::filesystem::resize_file(disk.path(), 0xC0000000u);
    {
        std::fstream out(disk.path(), std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(0x80000000u);
        out << "XYZ";
        out.seekp(0xBFFFFFFEu);
        out << "!?";
    }
    FilePtr file = open(disk.path());
    EXPECT_EQ(file->size(), 0xC0000000u);
    file->seek(0x80000001u);
    EXPECT_EQ(readString(*file, 2), "YZ");
    file->seek(0xBFFFFFFEu);
    EXPECT_EQ(readString(*file, 10), "!?");
}

TEST(PhysicalFile, SizeOfA4GiBOrLargerFileIsItsLow32Bits) {
    TempFile disk("");
    std::filesystem::resize_file(disk.path(), 0x100000007ull);
    FilePtr file = open(disk.path());
    EXPECT_EQ(file->size(), 7u);
}

}  // namespace
