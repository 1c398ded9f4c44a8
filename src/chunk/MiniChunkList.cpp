// The rule that tells whether a data chunk's body is a list of mini-chunks.
#include "chunk/MiniChunkList.h"

bool isMiniChunkList(const unsigned char* bytes, uint32_t length) {
    if (length >= miniChunkListLimit) return false;
    // Signed: a last mini-chunk that overruns the body takes it below zero.
    // An index, not a pointer: after an overrun it points past the body, where a pointer
    // may not go.
    int32_t remaining = static_cast<int32_t>(length);
    uint32_t at = 0;
    while (remaining > 2) {
        const int32_t n = bytes[at + 1];
        if (n == 0) break;
        remaining -= n + 2;
        at += n + 2;
    }
    return remaining == 0;
}
