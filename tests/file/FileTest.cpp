// File's reference counts and the texts of the I/O exceptions.
#include "file/File.h"

#include <gtest/gtest.h>

#include "file/IOException.h"
#include "support/MemoryFile.h"

namespace {

TEST(File, LivesUntilItsLastReferenceIsReleased) {
    bool destroyed = false;
    File* file = new MemoryFile("m", "abc", &destroyed);
    file->addRef();
    file->addRef();
    file->release();
    file->release();
    EXPECT_FALSE(destroyed);
    file->release();
    EXPECT_TRUE(destroyed);
}

TEST(IOExceptions, CarryTheirTextsAndAreCaughtAsStdException) {
    const std::string path = "C:\\data\\a.chunk";
    try {
        throw FileNotFoundException(path);
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Unable to find file:\nC:\\data\\a.chunk");
    }
    try {
        throw IOException("Unable to read chunk data");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Unable to read chunk data");
    }
    EXPECT_THROW(throw FileNotFoundException(path), IOException);
}

}  // namespace
