// kernel32 file handles: open errors as Windows reports them, positions, sizes, handles.
#include <winbase.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

class Folder {
public:
    Folder() {
        char pattern[] = "/tmp/tarnholm-k32-XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~Folder() { std::system(("chmod -R u+rwx '" + path_ + "'; rm -rf '" + path_ + "'").c_str()); }
    std::string file(const std::string& name, const std::string& contents) const {
        std::ofstream(path_ + "/" + name, std::ios::binary) << contents;
        return path_ + "/" + name;
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

HANDLE openForReading(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The error of a failed open, or ERROR_SUCCESS (and the handle closed) when it opened.
DWORD openError(const std::string& path) {
    SetLastError(ERROR_SUCCESS);
    HANDLE handle = openForReading(path);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return ERROR_SUCCESS;
    }
    return GetLastError();
}

std::string readAll(HANDLE handle, DWORD count, BOOL* ok = nullptr) {
    std::string buffer(count, '\0');
    DWORD got = 12345;
    const BOOL result = ReadFile(handle, buffer.data(), count, &got, nullptr);
    if (ok) *ok = result;
    buffer.resize(result ? got : 0);
    return buffer;
}

TEST(CreateFileA, ReportsOpenFailuresWithTheCodesWindowsUses) {
    Folder folder;
    const std::string file = folder.file("f.txt", "abc");
    ::mkdir((folder / "sub").c_str(), 0700);
    struct Case {
        std::string path;
        DWORD error;
    } cases[] = {
        {file, ERROR_SUCCESS},
        {folder / "missing.txt", ERROR_FILE_NOT_FOUND},
        {folder / "sub/missing.txt", ERROR_FILE_NOT_FOUND},
        {folder / "nofolder/x.txt", ERROR_PATH_NOT_FOUND},
        {folder / "no/such/folders/x.txt", ERROR_PATH_NOT_FOUND},
        {file + "/x", ERROR_PATH_NOT_FOUND},  // a file used as a folder
        {"", ERROR_PATH_NOT_FOUND},
        {folder / "sub", ERROR_ACCESS_DENIED},
        {folder.path(), ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) EXPECT_EQ(openError(c.path), c.error) << "path: " << c.path;
}

TEST(CreateFileA, RefusesAFileWithoutReadPermission) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    Folder folder;
    const std::string file = folder.file("locked.txt", "secret");
    ::chmod(file.c_str(), 0200);
    EXPECT_EQ(openError(file), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(CreateFileA, RefusesPipesWithoutWaitingForAWriter) {
    Folder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(openError(folder / "pipe"), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(CreateFileA, NeverOpensForWritingOrCreates) {
    Folder folder;
    const std::string file = folder.file("f.txt", "keep me");
    struct Case {
        std::string path;
        DWORD access;
        DWORD disposition;
    } cases[] = {
        {file, GENERIC_WRITE, OPEN_EXISTING},
        {file, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING},
        {file, GENERIC_ALL, OPEN_EXISTING},
        {file, GENERIC_READ, CREATE_ALWAYS},
        {file, GENERIC_READ, TRUNCATE_EXISTING},
        {file, GENERIC_READ, OPEN_ALWAYS},
        {folder / "new.txt", GENERIC_READ, CREATE_NEW},
        {folder / "new.txt", GENERIC_READ, OPEN_ALWAYS},
    };
    for (const Case& c : cases) {
        SetLastError(ERROR_SUCCESS);
        HANDLE handle = CreateFileA(c.path.c_str(), c.access, 0, nullptr, c.disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(handle, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED))
            << std::hex << c.access << " " << c.disposition;
    }
    struct stat info {};
    EXPECT_NE(::stat((folder / "new.txt").c_str(), &info), 0) << "a file was created";
    std::ifstream in(file);
    std::string contents;
    std::getline(in, contents);
    EXPECT_EQ(contents, "keep me");
}

TEST(ReadFile, ReadsAtTheHandlesOwnPositionAndAdvancesIt) {
    Folder folder;
    const std::string file = folder.file("f.bin", "0123456789");
    HANDLE a = openForReading(file);
    HANDLE b = openForReading(file);
    ASSERT_NE(a, INVALID_HANDLE_VALUE);
    ASSERT_NE(b, INVALID_HANDLE_VALUE);
    EXPECT_NE(a, b);

    EXPECT_EQ(readAll(a, 3), "012");
    EXPECT_EQ(readAll(a, 3), "345");
    EXPECT_EQ(readAll(b, 2), "01") << "each handle has its own position";
    EXPECT_EQ(SetFilePointer(a, 8, nullptr, FILE_BEGIN), 8u);
    BOOL ok = FALSE;
    EXPECT_EQ(readAll(a, 5, &ok), "89") << "a read past the end returns what is there";
    EXPECT_TRUE(ok);
    EXPECT_EQ(readAll(a, 5, &ok), "");
    EXPECT_TRUE(ok) << "a read at the end succeeds with nothing";
    EXPECT_EQ(SetFilePointer(a, 0, nullptr, FILE_CURRENT), 10u);
    EXPECT_EQ(SetFilePointer(a, 100, nullptr, FILE_BEGIN), 100u) << "seeking past the end is allowed";
    EXPECT_EQ(readAll(a, 1, &ok), "");
    EXPECT_TRUE(ok);
    EXPECT_EQ(SetFilePointer(a, -3, nullptr, FILE_END), 7u);
    EXPECT_EQ(readAll(a, 10), "789");
    EXPECT_EQ(SetFilePointer(a, -4, nullptr, FILE_CURRENT), 6u);
    EXPECT_EQ(readAll(a, 1), "6");
    CloseHandle(a);
    CloseHandle(b);
}

// Small reads come from a read-ahead buffer: pieces that straddle its refills, reads that
// go backwards, and a large read after small ones must all give the bytes at their place.
TEST(ReadFile, SmallAndLargeReadsAnywhereGiveTheBytesAtTheirPlace) {
    std::string contents(200000, '\0');
    for (size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    Folder folder;
    HANDLE h = openForReading(folder.file("pattern.bin", contents));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    struct Read {
        DWORD at;
        DWORD count;
    } reads[] = {
        {0, 8},          {8, 300},     {65530, 13},  {65536, 1},      {131060, 30},
        {100, 7},        {0, 150000},  {5, 3},       {199990, 100},   {70000, 65536},
        {70000, 65535},  {199999, 1},  {200000, 4},
    };
    for (const Read& r : reads) {
        SetFilePointer(h, static_cast<LONG>(r.at), nullptr, FILE_BEGIN);
        const std::string expected = r.at < contents.size() ? contents.substr(r.at, r.count) : "";
        EXPECT_EQ(readAll(h, r.count), expected) << r.at << " +" << r.count;
        EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), r.at + expected.size());
    }
    CloseHandle(h);
}

TEST(CreateFileA, AHandleSeesTheFileAsItWasWhenOpenedAndANewHandleSeesItAnew) {
    Folder folder;
    const std::string path = folder.file("f.bin", "0123456789");
    HANDLE before = openForReading(path);
    ASSERT_NE(before, INVALID_HANDLE_VALUE);
    EXPECT_EQ(readAll(before, 4), "0123");
    folder.file("f.bin", "abcdefghijklmnopqrstuvwxyz");

    EXPECT_EQ(GetFileSize(before, nullptr), 10u);
    EXPECT_EQ(SetFilePointer(before, 0, nullptr, FILE_END), 10u);
    SetFilePointer(before, 0, nullptr, FILE_BEGIN);
    EXPECT_EQ(readAll(before, 100).size(), 10u) << "reads stop at the size it was opened with";

    HANDLE after = openForReading(path);
    ASSERT_NE(after, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(after, nullptr), 26u);
    EXPECT_EQ(readAll(after, 100), "abcdefghijklmnopqrstuvwxyz");
    CloseHandle(before);
    CloseHandle(after);
}

TEST(SetFilePointer, RefusesNegativeAndOversizedPositionsAndKeepsThePosition) {
    Folder folder;
    HANDLE h = openForReading(folder.file("f.bin", "0123456789"));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFilePointer(h, 4, nullptr, FILE_BEGIN);

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(SetFilePointer(h, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    // Without a high word the distance is signed: 2 GiB reads as negative.
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(SetFilePointer(h, static_cast<LONG>(0x80000000u), nullptr, FILE_BEGIN),
              INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(readAll(h, 1), "4") << "a refused move leaves the position alone";

    LONG high = 0;
    EXPECT_EQ(SetFilePointer(h, static_cast<LONG>(0x80000000u), &high, FILE_BEGIN), 0x80000000u);
    EXPECT_EQ(high, 0);
    high = 0;
    SetLastError(77);
    EXPECT_EQ(SetFilePointer(h, -1, &high, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR)) << "0xFFFFFFFF as a real position";
    high = 1;
    EXPECT_EQ(SetFilePointer(h, 2, &high, FILE_BEGIN), 2u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(h);
}

TEST(GetFileSize, ReturnsTheLowWordAndTheHighWordOfAFileOver4GiB) {
    Folder folder;
    const std::string path = folder.file("sparse.bin", "");
    ASSERT_EQ(::truncate(path.c_str(), (int64_t{1} << 32) + 5), 0);
    HANDLE h = openForReading(path);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(h, nullptr), 5u);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(h, &high), 5u);
    EXPECT_EQ(high, 1u);
    CloseHandle(h);

    HANDLE empty = openForReading(folder.file("empty.bin", ""));
    EXPECT_EQ(GetFileSize(empty, nullptr), 0u);
    CloseHandle(empty);
}

TEST(Handles, ClosedOrMadeUpHandlesAreRefused) {
    Folder folder;
    HANDLE h = openForReading(folder.file("f.bin", "abc"));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
    for (HANDLE bad : {h, INVALID_HANDLE_VALUE, static_cast<HANDLE>(nullptr),
                       reinterpret_cast<HANDLE>(uintptr_t{0x4000})}) {
        char buffer[4];
        DWORD got = 99;
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(CloseHandle(bad));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(ReadFile(bad, buffer, sizeof buffer, &got, nullptr));
        EXPECT_EQ(got, 0u);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
        EXPECT_EQ(SetFilePointer(bad, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    }
}

TEST(LastError, IsKeptPerThread) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    DWORD seenByOther = 99;
    std::thread other([&] {
        seenByOther = GetLastError();
        SetLastError(ERROR_ACCESS_DENIED);
    });
    other.join();
    EXPECT_EQ(seenByOther, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(GetModuleHandleA, GivesOneFixedHandleForTheProgram) {
    HMODULE module = GetModuleHandleA(nullptr);
    EXPECT_NE(module, nullptr);
    EXPECT_EQ(GetModuleHandleA(nullptr), module);
}

}  // namespace
