// PhysicalFile: a file on disk, read through the Win32 file API.
#include "file/PhysicalFile.h"

#include <memory>

#include "file/IOException.h"

PhysicalFile::PhysicalFile(const std::string& path) : File(path) {
    auto record = std::make_unique<HandleRecord>();
    record->handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (record->handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            throw FileNotFoundException(path);
        }
        throw IOException("Unable to open file" + path);
    }
    record_ = record.release();
}

PhysicalFile::~PhysicalFile() {
    if (--record_->count == 0) {
        CloseHandle(record_->handle);
        delete record_;
    }
}

// Only the low 32 bits of a larger file's size are used.
uint32_t PhysicalFile::size() { return GetFileSize(record_->handle, nullptr); }

// At or past the end: a file that shrank under us must not look endless.
bool PhysicalFile::eof() { return position_ >= size(); }

void PhysicalFile::seek(uint32_t offset) {
    const uint32_t length = size();
    position_ = offset < length ? offset : length;
}

uint32_t PhysicalFile::tell() { return position_; }

uint32_t PhysicalFile::read(void* buffer, uint32_t count) {
    // A file of 4 GiB or more is only as long as the low 32 bits of its size say: the bytes
    // past that point are not part of it, though the disk would hand them out.
    const uint32_t length = size();
    if (position_ >= length) return 0;
    if (count > length - position_) count = length - position_;

    // The handle is moved only when a seek, or a read through another file sharing it, left
    // it elsewhere; back-to-back reads (a header, then its body) go straight on.
    if (record_->pointer != position_) {
        record_->pointer = -1;
        // The position is unsigned: without a high word of 0, Windows would take positions
        // from 2 GiB up as negative, refuse the move, and the read would come from the old
        // place.
        LONG high = 0;
        SetLastError(NO_ERROR);
        const DWORD moved =
            SetFilePointer(record_->handle, static_cast<LONG>(position_), &high, FILE_BEGIN);
        if (moved == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return 0;
    }

    DWORD transferred = 0;
    record_->pointer = -1;
    if (!ReadFile(record_->handle, buffer, count, &transferred, nullptr)) return 0;
    position_ += transferred;
    record_->pointer = position_;
    return transferred;
}
