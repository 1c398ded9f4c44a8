// SubFile: ranges of other files, their names, their reads and their hold on the parent.
#include "file/SubFile.h"

#include <gtest/gtest.h>

#include "file/PhysicalFile.h"
#include "support/ChunkFileBuilder.h"
#include "support/MemoryFile.h"

namespace {

std::string readString(File& file, uint32_t count) {
    std::string buffer(count, '\0');
    buffer.resize(file.read(buffer.data(), count));
    return buffer;
}

TEST(SubFile, KeepsItsParentAliveUntilTheLastSubFileIsReleased) {
    bool destroyed = false;
    File* parent = new MemoryFile("p", "0123456789", &destroyed);
    File* first = new SubFile(parent, "", 2, 4);
    File* nested = new SubFile(first, "", 1, 2);
    parent->release();
    first->release();
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(readString(*nested, 10), "34");
    nested->release();
    EXPECT_TRUE(destroyed);
}

TEST(SubFile, NameAddsABarPerLevel) {
    File* parent = new MemoryFile("a.chunk", "");
    File* first = new SubFile(parent, "", 0, 0);
    File* second = new SubFile(first, "", 0, 0);
    File* named = new SubFile(parent, "x", 0, 0);
    EXPECT_EQ(first->name(), "a.chunk|");
    EXPECT_EQ(second->name(), "a.chunk||");
    EXPECT_EQ(named->name(), "a.chunk|x");
    for (File* f : {named, second, first, parent}) f->release();
}

TEST(SubFile, ReadsOnlyWithinItsRange) {
    File* parent = new MemoryFile("p", "0123456789");
    File* sub = new SubFile(parent, "", 3, 4);
    EXPECT_EQ(sub->size(), 4u);
    EXPECT_EQ(readString(*sub, 2), "34");
    EXPECT_EQ(readString(*sub, 100), "56") << "never bytes of the parent beyond the range";
    EXPECT_TRUE(sub->eof());
    EXPECT_EQ(readString(*sub, 1), "");
    sub->seek(9);
    EXPECT_EQ(sub->tell(), 4u) << "seek stops at the range's end";
    sub->seek(1);
    EXPECT_EQ(readString(*sub, 1), "4");
    sub->release();
    parent->release();
}

TEST(SubFile, RangePastTheParentsEndReadsShort) {
    File* parent = new MemoryFile("p", "0123456789");
    File* sub = new SubFile(parent, "", 6, 100);
    EXPECT_EQ(sub->size(), 100u);
    EXPECT_EQ(readString(*sub, 3), "678");
    EXPECT_EQ(readString(*sub, 50), "9");
    EXPECT_EQ(sub->tell(), 4u) << "the position grows only by what arrived";
    EXPECT_FALSE(sub->eof());
    File* beyond = new SubFile(parent, "", 20, 5);
    EXPECT_EQ(readString(*beyond, 5), "");
    EXPECT_EQ(beyond->tell(), 0u);
    beyond->release();
    sub->release();
    parent->release();
}

TEST(SubFile, RangeReachingPast4GiBNeverWrapsToTheParentsStart) {
    File* parent = new MemoryFile("p", "0123456789");
    File* sub = new SubFile(parent, "", 0xFFFFFFF8u, 0x20);
    sub->seek(8);
    EXPECT_EQ(readString(*sub, 4), "");
    EXPECT_EQ(sub->tell(), 8u);
    sub->release();
    parent->release();
}

TEST(SubFile, NestedSubFilesReadTheRightBytesOfADiskFileAfterItsCreatorLetGo) {
    TempFile disk("header:[inner:<abc>]tail");
    File* file = new PhysicalFile(disk.path());
    File* outer = new SubFile(file, "", 7, 13);  // "[inner:<abc>]"
    File* inner = new SubFile(outer, "", 7, 5);  // "<abc>"
    file->release();
    outer->release();
    inner->seek(1);
    EXPECT_EQ(readString(*inner, 3), "abc");
    inner->release();
}

}  // namespace
