// Files that change under the viewer: between two reads of one load, and between the open
// and a refresh of the running program.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "AppHarness.h"
#include "Fixtures.h"
#include "file/File.h"
#include "LoadHost.h"
#include "support/TreeText.h"
#include "user32/messagebox.h"

namespace {

// Bytes in memory that another program changes after the load's `changeAfter`-th read.
class ChangingFile : public File {
public:
    ChangingFile(std::string bytes, int changeAfter, std::function<void(std::string&)> change)
        : File("changing"), bytes_(std::move(bytes)), changeAfter_(changeAfter),
          change_(std::move(change)) {}

    bool eof() override { return position_ >= size(); }
    uint32_t size() override { return static_cast<uint32_t>(bytes_.size()); }
    void seek(uint32_t offset) override { position_ = offset < size() ? offset : size(); }
    uint32_t tell() override { return position_; }
    uint32_t read(void* buffer, uint32_t count) override {
        if (reads_++ == changeAfter_) change_(bytes_);
        // As a disk file does: a position left past a new end reads nothing.
        const uint32_t left = position_ < size() ? size() - position_ : 0;
        if (count > left) count = left;
        if (count) std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        return count;
    }
    int reads() const { return reads_; }

private:
    std::string bytes_;
    int changeAfter_;
    std::function<void(std::string&)> change_;
    int reads_ = 0;
    uint32_t position_ = 0;
};

struct Change {
    const char* name;
    std::function<void(std::string&)> apply;
    bool mayFail;  // a shrinking or rewritten file may leave a chunk cut short
};

const Change kChanges[] = {
    {"TruncatedToHalf", [](std::string& b) { b.resize(b.size() / 2); }, true},
    {"Emptied", [](std::string& b) { b.clear(); }, true},
    {"Grown", [](std::string& b) { b += ChunkFileBuilder().data(0x99, "more").bytes(); }, false},
    {"Replaced", [](std::string& b) { b = sampleFile("A different greeting altogether"); }, true},
};

class ChangeDuringLoad : public ::testing::TestWithParam<Change> {};

// Whichever read the change comes before, the load ends with the tree and the table in step
// and nothing read outside the bytes there were.
TEST_P(ChangeDuringLoad, EndsWithTheTreeAndTableInStep) {
    const std::string original = sampleFile();
    int totalReads = 0;
    {
        LoadHost probe;
        auto* file = new ChangingFile(original, -1, [](std::string&) {});
        file->addRef();
        ASSERT_EQ(probe.load(file), "");
        totalReads = file->reads();
        file->release();
    }
    for (int changeAfter = 0; changeAfter <= totalReads; ++changeAfter) {
        SCOPED_TRACE("changed before read " + std::to_string(changeAfter));
        LoadHost host;
        const std::string failure =
            host.load(new ChangingFile(original, changeAfter, GetParam().apply));
        if (!GetParam().mayFail || failure.empty())
            EXPECT_EQ(failure, "");
        else
            EXPECT_TRUE(isReadFailure(failure)) << failure;

        LPARAM next = 0;
        for (const ShownItem& item : host.items()) {
            if (item.children) {
                EXPECT_EQ(item.index, -1);
            } else {
                EXPECT_EQ(item.index, next++);
            }
        }
        EXPECT_TRUE(host.records.size() == size_t(next) ||
                    (!failure.empty() && host.records.size() + 1 == size_t(next)));
        host.showEveryItem(8);
    }
}

INSTANTIATE_TEST_SUITE_P(Changes, ChangeDuringLoad, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.name); });

void rewrite(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

struct DiskChange {
    const char* name;
    void (*apply)(const std::string& path);
    std::string tree;  // what the tree shows after F5
    std::string pane;  // what the pane shows after F5
};

const std::vector<DiskChange> kDiskChanges = {
    {"GrownByAChunk",
     [](const std::string& path) {
         std::ofstream(path, std::ios::binary | std::ios::app)
             << ChunkFileBuilder().data(0x40, "new").bytes();
     },
     "Chunk File lParam=-1 children=1 expanded\n"
     "  00000012h (00000009h) lParam=0 children=0 selected\n"
     "  00000020h (0000001ah) lParam=-1 children=1\n"
     "    00000021h (00000007h) lParam=1 children=0\n"
     "    00000022h (00000003h) lParam=2 children=0\n"
     "  00000030h (00000000h) lParam=3 children=0\n"
     "  00000040h (00000003h) lParam=4 children=0\n",
     "48 69 20 74 68 65 72 65 21 " + std::string(21, ' ') + " | Hi there!\r\n"},
    // Saved the way editors save: a new file renamed over the old one.
    {"ReplacedByRename",
     [](const std::string& path) {
         const std::string fresh = path + ".new";
         rewrite(fresh, ChunkFileBuilder().data(0x12, "Replaced").bytes());
         std::filesystem::rename(fresh, path);
     },
     "Chunk File lParam=-1 children=1 expanded\n"
     "  00000012h (00000008h) lParam=0 children=0 selected\n",
     "52 65 70 6c 61 63 65 64 " + std::string(24, ' ') + " | Replaced\r\n"},
    {"Emptied", [](const std::string& path) { rewrite(path, ""); },
     "Chunk File lParam=-1 children=1 expanded selected\n", ""},
};

class ChangeBeforeRefresh : public ::testing::TestWithParam<DiskChange> {};

TEST_P(ChangeBeforeRefresh, ShowsTheFileAsItNowIs) {
    TempFolder folder;
    const std::string path = folder.write("sample.zmk", sampleFile());
    AppHarness app;
    app.openFile(path);
    ASSERT_TRUE(app.clickText("00000012h (00000009h)"));
    app.run();

    GetParam().apply(path);
    app.press(VK_F5);
    app.run();

    EXPECT_TRUE(winapi::lastMessageBoxes().empty());
    EXPECT_EQ(describeTree(app.state.hwndTree), GetParam().tree);
    EXPECT_EQ(app.paneText(), GetParam().pane);
    EXPECT_EQ(GetFocus(), app.state.hwndTree);
}

INSTANTIATE_TEST_SUITE_P(Disk, ChangeBeforeRefresh, ::testing::ValuesIn(kDiskChanges),
                         [](const auto& info) { return std::string(info.param.name); });

// A refresh that fails part way keeps what it could not reach and the pane as it was; the
// next good refresh puts everything right.
TEST(ChangeBeforeRefresh, AFailedRefreshLosesNothingShownAndTheNextOneRecovers) {
    TempFolder folder;
    const std::string path = folder.write("sample.zmk", sampleFile());
    AppHarness app;
    app.openFile(path);
    ASSERT_TRUE(app.clickText("00000020h (0000001ah)"));
    app.press(VK_RIGHT);
    app.run();
    ASSERT_TRUE(app.clickText("00000022h (00000003h)"));
    app.run();
    const std::string before = describeTree(app.state.hwndTree);
    ASSERT_EQ(app.paneText(), "61 62 63 " + std::string(39, ' ') + " | abc\r\n");

    // Cut inside the first chunk's body: nothing can be walked.
    rewrite(path, sampleFile().substr(0, 12));
    app.press(VK_F5);
    app.run();
    ASSERT_EQ(winapi::lastMessageBoxes().size(), 1u);
    EXPECT_EQ(winapi::lastMessageBoxes()[0].text, "Unable to refresh the opened file");
    EXPECT_EQ(app.paneText(), "61 62 63 " + std::string(39, ' ') + " | abc\r\n");
    EXPECT_EQ(describeTree(app.state.hwndTree), before);

    rewrite(path, sampleFile());
    app.press(VK_F5);
    app.run();
    EXPECT_EQ(describeTree(app.state.hwndTree), before);
    EXPECT_EQ(app.paneText(), "61 62 63 " + std::string(39, ' ') + " | abc\r\n");
}

}  // namespace
