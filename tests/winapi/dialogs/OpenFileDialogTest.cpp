// GetOpenFileNameA driven through the headless screen in a temporary folder: the listing,
// typing and choosing, refusals, cancelling, buffer limits and structure checks.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "display/headless.h"
#include "user32/messagebox.h"

namespace {

namespace fs = std::filesystem;

const char kFilter[] =
    "Ostrel Chunk Files (*.zmk, *.zmr, *.qvx, *.qzt, *.wyf)\0*.ZMK; *.ZMR; *.QVX; *.QZT; *.WYF\0"
    "All Files (*.*)\0*.*\0";

static_assert(OPENFILENAME_SIZE_VERSION_400A == (sizeof(void*) == 8 ? 136 : 76), "the documented size");
static_assert(sizeof(OPENFILENAMEA) == (sizeof(void*) == 8 ? 152 : 88), "the documented size");

class OpenDialog : public ::testing::Test {
protected:
    OpenDialog() {
        winapi::clearMessageBoxes();
        std::string pattern = (fs::temp_directory_path() / "opendlg-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        fs::create_directory(folder_ + "/beta");
        fs::create_directory(folder_ + "/Alpha");
        for (const char* name : {"model.zmk", "Scene.QVX", "notes.txt", "z.wyf", ".hidden.zmk", "beta/inner.zmr"}) {
            std::ofstream(folder_ + "/" + name) << "x";
        }
        std::memset(buffer_, '#', sizeof buffer_);
        buffer_[0] = '\0';
        ofn_.lStructSize = sizeof ofn_;
        ofn_.lpstrFilter = kFilter;
        ofn_.lpstrFile = buffer_;
        ofn_.nMaxFile = 260;
        ofn_.lpstrInitialDir = folder_.c_str();
        ofn_.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    }
    ~OpenDialog() override { fs::remove_all(folder_); }

    // Runs the dialog with an empty name box; the script's input must close it, or it is
    // cancelled when the input runs out.
    BOOL run() {
        buffer_[0] = '\0';
        const BOOL chosen = GetOpenFileNameA(&ofn_);
        error_ = CommDlgExtendedError();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        return chosen;
    }
    void typeLine(const std::string& text) {
        headless_->type(text);
        headless_->pushKey(VK_RETURN);
    }
    std::vector<std::string> lines() { return headless_->screenLines(); }
    int rowOf(const std::string& text) {
        const std::vector<std::string> all = lines();
        for (size_t i = 0; i < all.size(); ++i) {
            if (all[i].find(text) != std::string::npos) return static_cast<int>(i);
        }
        return -1;
    }
    int columnOf(const std::string& text, int row) {
        const std::string line = lines()[static_cast<size_t>(row)];
        int col = 0;
        for (size_t i = 0; i < line.find(text); ++i) col += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
        return col;
    }

    winapi::ScopedHeadless headless_{100, 30};
    std::string folder_;
    char buffer_[300];
    OPENFILENAMEA ofn_{};
    DWORD error_ = 0;
};

TEST_F(OpenDialog, ListsUpFoldersThenFilesMatchingTheFilterIgnoringCase) {
    EXPECT_FALSE(run());  // the script is empty: the dialog is cancelled
    EXPECT_EQ(error_, 0u);
    EXPECT_NE(rowOf("│ Open"), -1) << headless_->screenText();
    EXPECT_NE(rowOf("Look in: " + folder_), -1) << headless_->screenText();
    EXPECT_NE(rowOf("< Ostrel Chunk Files (*.zmk, *.zmr, *.qvx, *.qzt, *.wyf) >"), -1) << headless_->screenText();
    const std::vector<std::string> order = {"│ ..", "│ Alpha/", "│ beta/", "│ model.zmk", "│ Scene.QVX", "│ z.wyf"};
    int previous = -1;
    for (const std::string& entry : order) {
        const int row = rowOf(entry);
        EXPECT_EQ(row, previous < 0 ? row : previous + 1) << entry << "\n" << headless_->screenText();
        previous = row;
    }
    EXPECT_EQ(rowOf("notes.txt"), -1);
    EXPECT_EQ(rowOf("hidden"), -1);
}

TEST_F(OpenDialog, TypedNamesAndPathsAreResolvedAgainstTheShownFolder) {
    struct Case {
        std::vector<std::string> typed;
        std::string chosen;  // relative to the fixture folder
    };
    const std::vector<Case> cases = {
        {{"model.zmk"}, "model.zmk"},
        {{"MODEL.zmk"}, ""},  // names on disk are matched exactly: refused, then cancelled
        {{"beta/inner.zmr"}, "beta/inner.zmr"},
        {{"beta/../Scene.QVX"}, "Scene.QVX"},
        {{"beta", "inner.zmr"}, "beta/inner.zmr"},
        {{"beta", "..", "z.wyf"}, "z.wyf"},
        {{"notes.txt"}, "notes.txt"},  // the filter lists; it does not forbid
        {{"*.txt", "notes.txt"}, "notes.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.front());
        for (const std::string& line : c.typed) typeLine(line);
        headless_->pushKey(VK_RETURN);  // closes a refusal's box, if one came
        const BOOL chosen = run();
        EXPECT_EQ(chosen != FALSE, !c.chosen.empty());
        if (chosen) {
            const std::string expected = folder_ + "/" + c.chosen;
            EXPECT_STREQ(buffer_, expected.c_str());
            EXPECT_EQ(ofn_.nFileOffset, expected.rfind('/') + 1);
            EXPECT_EQ(ofn_.nFileExtension, expected.rfind('.') + 1);
        }
        buffer_[0] = '\0';
    }
}

TEST_F(OpenDialog, AbsolutePathIsTakenAsIs) {
    ofn_.lpstrInitialDir = nullptr;  // starts in the current folder
    typeLine(folder_ + "/beta/inner.zmr");
    ASSERT_TRUE(run());
    EXPECT_EQ(std::string(buffer_), folder_ + "/beta/inner.zmr");
}

TEST_F(OpenDialog, MissingNameIsRefusedWithAMessageAndTheDialogStays) {
    typeLine("missing.zmk");
    headless_->pushKey(VK_RETURN);  // closes the message box
    for (int i = 0; i < 11; ++i) headless_->pushKey(VK_BACK);
    typeLine("model.zmk");
    ASSERT_TRUE(run());
    EXPECT_EQ(std::string(buffer_), folder_ + "/model.zmk");
    ASSERT_EQ(winapi::lastMessageBoxes().size(), 1u);
    EXPECT_EQ(winapi::lastMessageBoxes()[0].text, "missing.zmk\nFile not found.\nPlease verify the correct file name was given.");
    EXPECT_EQ(winapi::lastMessageBoxes()[0].caption, "Open");

    winapi::clearMessageBoxes();
    typeLine("nowhere/model.zmk");
    EXPECT_FALSE(run());
    ASSERT_EQ(winapi::lastMessageBoxes().size(), 1u);
    EXPECT_NE(winapi::lastMessageBoxes()[0].text.find("Path does not exist"), std::string::npos);

    ofn_.Flags = 0;  // without the checks a new name is an answer
    typeLine("new.zmk");
    ASSERT_TRUE(run());
    EXPECT_EQ(std::string(buffer_), folder_ + "/new.zmk");
}

TEST_F(OpenDialog, EscapeCancelsWithNoErrorAndRestoresFocus) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.lpszClassName = "OpenDialogTestOwner";
    RegisterClassA(&cls);
    HWND owner = CreateWindowExA(0, cls.lpszClassName, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(owner, SW_SHOW);
    SetFocus(owner);
    ofn_.hwndOwner = owner;
    headless_->type("mod");
    headless_->pushKey(VK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(error_, 0u);
    EXPECT_EQ(buffer_[0], '\0');
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetFocus(), owner);
}

TEST_F(OpenDialog, PathLongerThanTheBufferFailsWithoutOverrun) {
    const std::string expected = folder_ + "/model.zmk";
    ofn_.nMaxFile = static_cast<DWORD>(expected.size());  // one byte short of the terminating zero
    typeLine("model.zmk");
    EXPECT_FALSE(run());
    EXPECT_EQ(error_, static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
    WORD needed = 0;
    std::memcpy(&needed, buffer_, sizeof needed);
    EXPECT_EQ(needed, expected.size() + 1);
    for (size_t i = ofn_.nMaxFile; i < sizeof buffer_; ++i) ASSERT_EQ(buffer_[i], '#') << "byte " << i;

    ofn_.nMaxFile = static_cast<DWORD>(expected.size() + 1);  // exactly enough
    typeLine("model.zmk");
    ASSERT_TRUE(run());
    EXPECT_EQ(std::string(buffer_), expected);
}

TEST_F(OpenDialog, OnlyTheTwoDocumentedStructureSizesAreAccepted) {
    const DWORD sizes[] = {0, 76, 88, 136, 152, sizeof(OPENFILENAMEA) + 1};
    for (DWORD size : sizes) {
        SCOPED_TRACE(size);
        const bool valid = size == sizeof(OPENFILENAMEA) || size == OPENFILENAME_SIZE_VERSION_400A;
        ofn_.lStructSize = size;
        headless_->pushKey(VK_ESCAPE);
        EXPECT_FALSE(run());
        EXPECT_EQ(error_, valid ? 0u : static_cast<DWORD>(CDERR_STRUCTSIZE));
        EXPECT_EQ(headless_->pendingInput(), valid ? 0u : 1u);  // a bad size returns before any dialog
        while (headless_->pendingInput() > 0) {
            MSG msg;
            GetMessageA(&msg, nullptr, 0, 0);
        }
    }
}

TEST_F(OpenDialog, ListKeysSelectEnterFoldersAndOpenFiles) {
    headless_->pushKey(VK_TAB);   // to the list
    headless_->pushKey(VK_DOWN);  // ..
    headless_->pushKey(VK_DOWN);  // Alpha
    headless_->pushKey(VK_DOWN);  // beta
    headless_->pushKey(VK_RETURN);
    headless_->pushKey(VK_DOWN);  // .. inside beta
    headless_->pushKey(VK_DOWN);  // inner.zmr
    headless_->pushKey(VK_RETURN);
    ASSERT_TRUE(run());
    EXPECT_EQ(std::string(buffer_), folder_ + "/beta/inner.zmr");

    headless_->pushKey(VK_DOWN);  // from the name box: ".." goes into the box
    headless_->pushKey(VK_DOWN);
    headless_->pushKey(VK_DOWN);
    headless_->pushKey(VK_DOWN);  // model.zmk
    EXPECT_FALSE(run());
    const int row = rowOf("File name:");
    ASSERT_GE(row, 0);
    EXPECT_NE(lines()[static_cast<size_t>(row)].find("model.zmk"), std::string::npos) << headless_->screenText();
}

TEST_F(OpenDialog, FileTypeRowCyclesTheFilter) {
    headless_->pushKey(VK_TAB);
    headless_->pushKey(VK_TAB);    // the file type row
    headless_->pushKey(VK_RIGHT);  // All Files
    EXPECT_FALSE(run());
    EXPECT_NE(rowOf("< All Files (*.*) >"), -1) << headless_->screenText();
    EXPECT_NE(rowOf("│ notes.txt"), -1);

    headless_->pushKey(VK_TAB);
    headless_->pushKey(VK_TAB);
    headless_->pushKey(VK_LEFT);  // wraps to the last pair
    headless_->pushKey(VK_TAB);   // Open button
    headless_->pushKey(VK_TAB);   // Cancel button
    headless_->pushKey(VK_TAB);   // the name box again
    typeLine("notes.txt");
    ASSERT_TRUE(run());
    EXPECT_EQ(ofn_.nFilterIndex, 2u);
}

TEST_F(OpenDialog, MouseSelectsOpensAndCancels) {
    EXPECT_FALSE(run());  // where is everything?
    const int model = rowOf("│ model.zmk");
    const int beta = rowOf("│ beta/");
    const int buttons = rowOf("[ Cancel ]");
    ASSERT_GT(model, 0);
    const int entryCol = columnOf("model.zmk", model);
    const int openCol = columnOf("[ Open ]", buttons) + 2;
    const int cancelCol = columnOf("[ Cancel ]", buttons) + 2;
    const int typeRow = rowOf("< Ostrel");

    headless_->click(entryCol, model);
    headless_->click(openCol, buttons);
    ASSERT_TRUE(run());
    EXPECT_EQ(std::string(buffer_), folder_ + "/model.zmk");

    headless_->doubleClick(entryCol, beta);
    headless_->doubleClick(entryCol, rowOf("│ ..") + 1);  // inside beta: "..", then inner.zmr
    ASSERT_TRUE(run());
    EXPECT_EQ(std::string(buffer_), folder_ + "/beta/inner.zmr");

    headless_->click(entryCol + 2, typeRow);
    headless_->click(cancelCol, buttons);
    EXPECT_FALSE(run());
    EXPECT_EQ(error_, 0u);
    EXPECT_NE(rowOf("< All Files"), -1);
}

TEST_F(OpenDialog, NamesFromTheDiskNeverReachTheScreenRaw) {
    std::ofstream(folder_ + "/evil\x1b[31m.zmk") << "x";
    EXPECT_FALSE(run());
    EXPECT_EQ(headless_->screenText().find('\x1b'), std::string::npos);
    EXPECT_NE(rowOf("[31m.zmk"), -1) << headless_->screenText();
}

}  // namespace
