// Read-only file handles over POSIX descriptors: CreateFileA, GetFileSize, SetFilePointer,
// ReadFile, CloseHandle.
//
// A HANDLE is an index into a table, never a pointer, so a stale or made-up handle is
// recognised and refused with ERROR_INVALID_HANDLE. Each handle keeps its own file position;
// reads go through pread at that position, so the descriptor's offset is never used.
//
// A handle sees the file as it was when it was opened: GetFileSize and FILE_END use the size
// taken then, and reads stop there. Small reads (chunk headers, small bodies) are served from
// a read-ahead buffer, so they cost a copy rather than a system call; large reads go straight
// into the caller's buffer. A file changed on disk is seen anew through a new handle.
//
// Error codes for failed opens follow Windows (checked under Wine with a probe program):
//   missing file in an existing folder      ERROR_FILE_NOT_FOUND
//   missing folder on the way, or a file     ERROR_PATH_NOT_FOUND
//     used as a folder ("f.txt/x"), or ""
//   a folder, or no permission to read       ERROR_ACCESS_DENIED
// Nothing in the program writes a file, so this layer opens nothing for writing: a request
// for write access, or a disposition that would create or truncate, is ERROR_ACCESS_DENIED.
#include <winbase.h>

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Reads below this size go through the read-ahead buffer, which holds this many bytes.
constexpr size_t kReadAheadSize = size_t{64} << 10;

struct OpenFile {
    OpenFile(int descriptor, int64_t fileSize) : fd(descriptor), size(fileSize) {}
    ~OpenFile() { ::close(fd); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    const int fd;
    const int64_t size;       // the file's size when the handle was opened
    std::mutex positionLock;  // serialises reads and seeks on one handle, as Windows does
    int64_t position = 0;
    std::unique_ptr<char[]> ahead;  // made at the first small read
    int64_t aheadStart = 0;         // the file position of ahead[0]
    size_t aheadLength = 0;         // valid bytes in ahead
};

// Handles are small multiples of 4 (index + 1) * 4, like the real ones: never null, never
// INVALID_HANDLE_VALUE, and a pointer-sized value that no caller can dereference usefully.
class HandleTable {
public:
    HANDLE add(std::shared_ptr<OpenFile> file) {
        std::lock_guard<std::mutex> lock(mutex_);
        size_t index = 0;
        while (index < slots_.size() && slots_[index]) ++index;
        if (index == slots_.size()) slots_.emplace_back();
        slots_[index] = std::move(file);
        return reinterpret_cast<HANDLE>(static_cast<uintptr_t>((index + 1) * 4));
    }

    std::shared_ptr<OpenFile> find(HANDLE handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        size_t index = 0;
        if (!indexOf(handle, index)) return nullptr;
        return slots_[index];
    }

    // The descriptor closes when the last user (a read in progress on another thread) lets go.
    bool remove(HANDLE handle) {
        std::shared_ptr<OpenFile> removed;
        std::lock_guard<std::mutex> lock(mutex_);
        size_t index = 0;
        if (!indexOf(handle, index)) return false;
        removed.swap(slots_[index]);
        return true;
    }

private:
    bool indexOf(HANDLE handle, size_t& index) const {
        const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
        if (value == 0 || value % 4 != 0) return false;
        index = value / 4 - 1;
        return index < slots_.size() && slots_[index] != nullptr;
    }

    std::mutex mutex_;
    std::vector<std::shared_ptr<OpenFile>> slots_;
};

HandleTable& handles() {
    static HandleTable table;
    return table;
}

constexpr DWORD writeAccess = GENERIC_WRITE | GENERIC_ALL | 0x0002 /* FILE_WRITE_DATA */ |
                              0x0004 /* FILE_APPEND_DATA */ | 0x0010 /* FILE_WRITE_EA */ |
                              0x0040 /* FILE_DELETE_CHILD */ | 0x0100 /* FILE_WRITE_ATTRIBUTES */ |
                              0x00010000 /* DELETE */ | 0x00040000 /* WRITE_DAC */ |
                              0x00080000 /* WRITE_OWNER */;

std::string parentFolder(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return trimmed.substr(0, slash);
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// ENOENT means a missing file when its folder exists, otherwise a missing path.
DWORD openErrorCode(int error, const char* path) {
    switch (error) {
        case ENOENT:
            return isFolder(parentFolder(path)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR: return ERROR_ACCESS_DENIED;
        case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
        case ELOOP: return ERROR_CANT_RESOLVE_FILENAME;
        case EMFILE:
        case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        case EBUSY:
        case ETXTBSY: return ERROR_SHARING_VIOLATION;
        default: return ERROR_GEN_FAILURE;
    }
}

DWORD readErrorCode(int error) {
    switch (error) {
        case EIO: return ERROR_READ_FAULT;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        case EFAULT: return ERROR_NOACCESS;
        default: return ERROR_GEN_FAILURE;
    }
}

HANDLE failOpen(DWORD code) {
    SetLastError(code);
    return INVALID_HANDLE_VALUE;
}

// Checks the request against what a read-only layer can do; 0 when it can.
DWORD checkOpenRequest(LPCSTR path, DWORD access, DWORD disposition, DWORD flags) {
    if (path == nullptr) return ERROR_INVALID_PARAMETER;
    if (path[0] == '\0') return ERROR_PATH_NOT_FOUND;
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) return ERROR_INVALID_PARAMETER;
    if ((access & writeAccess) != 0 || disposition != OPEN_EXISTING) return ERROR_ACCESS_DENIED;
    if ((access & GENERIC_READ) == 0) return ERROR_INVALID_PARAMETER;
    if ((flags & FILE_FLAG_OVERLAPPED) != 0) return ERROR_INVALID_PARAMETER;
    return ERROR_SUCCESS;
}

// Linux caps one read at a little under 2 GiB; a regular file returns less than asked only
// at its end or at that cap, so only the cap is worth a second call.
constexpr size_t kernelReadCap = 0x7ffff000;

// Reads up to count bytes at position; -1 with errno set on failure.
int64_t readAt(int fd, char* buffer, DWORD count, int64_t position) {
    int64_t total = 0;
    while (total < count) {
        const ssize_t got = ::pread(fd, buffer + total, count - total, position + total);
        if (got < 0) {
            if (errno == EINTR) continue;
            return total > 0 ? total : -1;
        }
        total += got;
        if (static_cast<size_t>(got) < kernelReadCap) break;
    }
    return total;
}

// Up to count bytes at position through the read-ahead buffer, refilled from position when
// the bytes are not all in it; -1 with errno set on failure.
int64_t readAhead(OpenFile& file, char* buffer, size_t count, int64_t position) {
    const bool inside = position >= file.aheadStart &&
                        position + static_cast<int64_t>(count) <=
                            file.aheadStart + static_cast<int64_t>(file.aheadLength);
    if (!inside) {
        if (!file.ahead) file.ahead.reset(new char[kReadAheadSize]);
        file.aheadLength = 0;
        const int64_t got = readAt(file.fd, file.ahead.get(), kReadAheadSize, position);
        if (got < 0) return -1;
        file.aheadStart = position;
        file.aheadLength = static_cast<size_t>(got);
    }
    const size_t offset = static_cast<size_t>(position - file.aheadStart);
    const size_t available = file.aheadLength - offset;
    const size_t copied = count < available ? count : available;
    std::memcpy(buffer, file.ahead.get() + offset, copied);
    return static_cast<int64_t>(copied);
}

// Up to count bytes at position, never past the size the handle was opened with.
int64_t readFile(OpenFile& file, char* buffer, DWORD count, int64_t position) {
    if (position >= file.size) return 0;
    const int64_t left = file.size - position;
    const DWORD wanted = left < count ? static_cast<DWORD>(left) : count;
    if (wanted < kReadAheadSize) return readAhead(file, buffer, wanted, position);
    return readAt(file.fd, buffer, wanted, position);
}

}  // namespace

extern "C" HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                     LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                                     DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                                     HANDLE hTemplateFile) {
    // Sharing cannot be enforced on POSIX files, and a read-only open needs no template or
    // security descriptor: these three are accepted and have no effect.
    (void)dwShareMode;
    (void)lpSecurityAttributes;
    (void)hTemplateFile;
    const DWORD refused =
        checkOpenRequest(lpFileName, dwDesiredAccess, dwCreationDisposition, dwFlagsAndAttributes);
    if (refused != ERROR_SUCCESS) return failOpen(refused);

    // O_NONBLOCK keeps a FIFO from hanging the open; it is refused below in any case.
    const int fd = ::open(lpFileName, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return failOpen(openErrorCode(errno, lpFileName));
    // Linux opens folders for reading; Windows refuses them. Devices and pipes are not
    // files a viewer can seek in, so only regular files are let through.
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        const DWORD code = known ? ERROR_ACCESS_DENIED : readErrorCode(errno);
        ::close(fd);
        return failOpen(code);
    }
    return handles().add(std::make_shared<OpenFile>(fd, static_cast<int64_t>(info.st_size)));
}

extern "C" DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    const auto file = handles().find(hFile);
    if (!file) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    const uint64_t size = static_cast<uint64_t>(file->size);
    if (lpFileSizeHigh != nullptr) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    const DWORD low = static_cast<DWORD>(size);
    // A size whose low word is all ones is told apart from failure by the last error.
    if (low == INVALID_FILE_SIZE) SetLastError(NO_ERROR);
    return low;
}

extern "C" DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove,
                                       PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
    const auto file = handles().find(hFile);
    if (!file) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_SET_FILE_POINTER;
    }
    // Without a high word the distance is a signed 32-bit value, as on Windows: a position
    // of 2 GiB or more can only be reached by passing a high word.
    int64_t distance = lDistanceToMove;
    if (lpDistanceToMoveHigh != nullptr) {
        distance = static_cast<int64_t>((static_cast<uint64_t>(*lpDistanceToMoveHigh) << 32) |
                                        static_cast<uint32_t>(lDistanceToMove));
    }

    std::lock_guard<std::mutex> lock(file->positionLock);
    int64_t base = 0;
    switch (dwMoveMethod) {
        case FILE_BEGIN: base = 0; break;
        case FILE_CURRENT: base = file->position; break;
        case FILE_END: base = file->size; break;
        default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_SET_FILE_POINTER;
    }
    int64_t target = 0;
    if (__builtin_add_overflow(base, distance, &target)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (target < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh == nullptr && target > std::numeric_limits<DWORD>::max()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    file->position = target;
    if (lpDistanceToMoveHigh != nullptr) *lpDistanceToMoveHigh = static_cast<LONG>(target >> 32);
    const DWORD low = static_cast<DWORD>(target);
    // Position 0xFFFFFFFF is told apart from failure by the last error.
    if (low == INVALID_SET_FILE_POINTER) SetLastError(NO_ERROR);
    return low;
}

extern "C" BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                                LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = 0;
    const auto file = handles().find(hFile);
    if (!file) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (lpNumberOfBytesRead == nullptr && lpOverlapped == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (lpBuffer == nullptr && nNumberOfBytesToRead > 0) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }

    std::lock_guard<std::mutex> lock(file->positionLock);
    // On a handle opened for synchronous reads, an OVERLAPPED only names the position.
    int64_t position = file->position;
    if (lpOverlapped != nullptr) {
        position = static_cast<int64_t>((static_cast<uint64_t>(lpOverlapped->OffsetHigh) << 32) |
                                        lpOverlapped->Offset);
        if (position < 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    if (nNumberOfBytesToRead == 0) {
        file->position = position;
        return TRUE;
    }
    const int64_t got = readFile(*file, static_cast<char*>(lpBuffer), nNumberOfBytesToRead,
                                 position);
    if (got < 0) {
        SetLastError(readErrorCode(errno));
        return FALSE;
    }
    file->position = position + got;
    if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = static_cast<DWORD>(got);
    if (lpOverlapped != nullptr) lpOverlapped->InternalHigh = static_cast<ULONG_PTR>(got);
    return TRUE;
}

extern "C" BOOL WINAPI CloseHandle(HANDLE hObject) {
    if (!handles().remove(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
