// The hex dump text of a run of bytes: rows of hex pairs, a bar, and the bytes as characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Rows of `width` bytes: `prefix`, each byte as two lower-case hex digits and a space, a short
// last row padded with three spaces per missing byte, " | ", the row's bytes as characters
// (0x20 to 0x7E as themselves, anything else as "."), CR LF. `count` of 0 or less gives "".
// Widths below 1 count as 1; widths beyond max(count, 4096) count as that value.
// The prefix is a string_view so that literals, std::string and slices all pass uncopied.
std::string formatHexDump(const unsigned char* bytes, int32_t count, int32_t width,
                          std::string_view prefix);

// The same text appended to `out`, for callers that build one text from many dumps.
void appendHexDump(std::string& out, const unsigned char* bytes, int32_t count, int32_t width,
                   std::string_view prefix);

// The length of that text, without building it.
uint64_t hexDumpLength(int32_t count, int32_t width, size_t prefixLength);

// Writes the same text to `out`, which has room for hexDumpLength() bytes; returns the end.
// For callers that fill a buffer of their own and must not pay for clearing it first.
char* writeHexDump(char* out, const unsigned char* bytes, int32_t count, int32_t width,
                   std::string_view prefix);
