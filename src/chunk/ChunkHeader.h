// ChunkHeader: the reader's record of one chunk's 8-byte header and the sub-file over its body.
#pragma once

#include <cstdint>

class SubFile;

struct ChunkHeader {
    static constexpr uint32_t containerFlag = 0x80000000u;
    static constexpr uint32_t lengthMask = 0x7FFFFFFFu;

    uint32_t type = 0;
    uint32_t sizeWord = 0;    // as read: the container flag and the body length
    uint32_t dataOffset = 0;  // where the body starts in the file the header came from
    SubFile* body = nullptr;  // the header owns one reference on it

    uint32_t bodyLength() const { return sizeWord & lengthMask; }
    bool isContainer() const { return (sizeWord & containerFlag) != 0; }
};
