// MemoryFile: a File over bytes in memory, for tests that need no disk or watch lifetimes.
#pragma once

#include <cstdint>
#include <string>

#include "file/File.h"

class MemoryFile : public File {
public:
    // `destroyed`, when given, is set to true by the destructor.
    MemoryFile(std::string name, std::string bytes, bool* destroyed = nullptr);

    bool eof() override;
    uint32_t size() override;
    void seek(uint32_t offset) override;
    uint32_t tell() override;
    uint32_t read(void* buffer, uint32_t count) override;

protected:
    ~MemoryFile() override;

private:
    std::string bytes_;
    bool* destroyed_ = nullptr;
    uint32_t position_ = 0;
};
