// PhysicalFile: a file on disk, read through the Win32 file API.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "file/File.h"

class PhysicalFile : public File {
public:
    // Opens path for reading, letting other programs read and write it meanwhile. Throws
    // FileNotFoundException for a missing file or folder, IOException for any other failure.
    explicit PhysicalFile(const std::string& path);

    bool eof() override;
    uint32_t size() override;
    void seek(uint32_t offset) override;
    uint32_t tell() override;
    uint32_t read(void* buffer, uint32_t count) override;

protected:
    ~PhysicalFile() override;

private:
    // The handle with a count of its own, so that one open handle could serve several files.
    struct HandleRecord {
        HANDLE handle = INVALID_HANDLE_VALUE;
        int32_t count = 1;
        // Where the handle's own file pointer stands, -1 when unknown: reads that follow one
        // another need no move in between.
        int64_t pointer = -1;
    };

    HandleRecord* record_ = nullptr;
    uint32_t position_ = 0;
};
