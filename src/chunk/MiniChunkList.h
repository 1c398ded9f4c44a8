// The rule that tells whether a data chunk's body is a list of mini-chunks.
#pragma once

#include <cstdint>

// Bodies of this many bytes or more are never taken for a mini-chunk list.
constexpr uint32_t miniChunkListLimit = 4096;

// True when bytes[0, length) is a run of mini-chunks (id byte, length byte n of 1 to 255, n
// payload bytes) ending exactly at the end; false for any body of miniChunkListLimit bytes or
// more. An empty body passes. Never reads past the body.
bool isMiniChunkList(const unsigned char* bytes, uint32_t length);
