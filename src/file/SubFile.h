// SubFile: a byte range of another File, seen as a file of its own starting at 0.
#pragma once

#include <cstdint>
#include <string>

#include "file/File.h"

class SubFile : public File {
public:
    // The range [offset, offset + length) of parent, named parent's name + "|" + subName.
    // Holds a reference on parent until destroyed. The range is not checked against the
    // parent's size: reads past the parent's end come up short.
    SubFile(File* parent, const std::string& subName, uint32_t offset, uint32_t length);

    bool eof() override;
    uint32_t size() override;
    void seek(uint32_t offset) override;
    uint32_t tell() override;
    // Reads within the range only; moves the parent's position.
    uint32_t read(void* buffer, uint32_t count) override;

protected:
    ~SubFile() override;

private:
    File* parent_ = nullptr;
    uint32_t position_ = 0;
    uint32_t offset_ = 0;
    uint32_t length_ = 0;
};
