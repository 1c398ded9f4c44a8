// The hex dump text of a run of bytes, written once into a buffer of its exact length.
#include "view/HexDump.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace {

// Beyond this many bytes per row (or the byte count, if larger) the width no longer changes
// the text. Only the padding of a lone short row would grow with it: three spaces per missing
// byte, gigabytes at the width box's largest value. The bound is this program's own choice;
// below it the text is exactly as the rows above describe.
constexpr int32_t paddedWidthLimit = 4096;

// Each entry is the byte's two digits and a space, padded to four so that one fixed-size
// copy writes it (the fourth character is overwritten by what follows).
constexpr std::array<char, 1024> makeHexPairs() {
    constexpr char digits[] = "0123456789abcdef";
    std::array<char, 1024> pairs{};
    for (int byte = 0; byte < 256; ++byte) {
        pairs[4 * byte] = digits[byte >> 4];
        pairs[4 * byte + 1] = digits[byte & 15];
        pairs[4 * byte + 2] = ' ';
        pairs[4 * byte + 3] = ' ';
    }
    return pairs;
}
constexpr std::array<char, 1024> hexPairs = makeHexPairs();

// A range test rather than isprint, so that no locale can change the text.
inline char shown(unsigned char byte) {
    return byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.';
}

int32_t effectiveWidth(int32_t count, int32_t width) {
    if (width < 1) return 1;
    const int32_t limit = count > paddedWidthLimit ? count : paddedWidthLimit;
    return width > limit ? limit : width;
}

// Every row has the same hex part (pairs plus padding) whatever its byte count.
uint64_t dumpLength(int32_t count, int32_t width, size_t prefixLength) {
    const uint64_t rows = (uint64_t(count) + width - 1) / width;
    return rows * (prefixLength + 3 * uint64_t(width) + 5) + uint64_t(count);
}

// The buffer always has room for the fourth character of a pair: at least " | " follows.
char* writeRow(char* out, const unsigned char* row, int32_t used, int32_t width,
               std::string_view prefix) {
    if (!prefix.empty()) {
        std::memcpy(out, prefix.data(), prefix.size());
        out += prefix.size();
    }
    for (int32_t i = 0; i < used; ++i) {
        std::memcpy(out, &hexPairs[4 * row[i]], 4);
        out += 3;
    }
    if (used < width) {
        const size_t padding = 3 * size_t(width - used);
        std::memset(out, ' ', padding);
        out += padding;
    }
    out[0] = ' ';
    out[1] = '|';
    out[2] = ' ';
    out += 3;
    for (int32_t i = 0; i < used; ++i) *out++ = shown(row[i]);
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

}  // namespace

uint64_t hexDumpLength(int32_t count, int32_t width, size_t prefixLength) {
    if (count <= 0) return 0;
    return dumpLength(count, effectiveWidth(count, width), prefixLength);
}

namespace {

// The rows of `count` bytes at an already bounded width.
char* writeRows(char* out, const unsigned char* bytes, int32_t count, int32_t width,
                std::string_view prefix) {
    for (int32_t first = 0; first < count; first += width) {
        const int32_t used = count - first < width ? count - first : width;
        out = writeRow(out, bytes + first, used, width, prefix);
        if (count - first <= width) break;  // first + width could pass INT32_MAX
    }
    return out;
}

// Text is added to a string in blocks of about this size: each block is cleared by the resize
// and written over while it is still in the cache, so a text of hundreds of megabytes goes
// through memory once, not twice.
constexpr uint64_t appendBlock = uint64_t{256} << 10;

}  // namespace

char* writeHexDump(char* out, const unsigned char* bytes, int32_t count, int32_t width,
                   std::string_view prefix) {
    if (count <= 0) return out;
    return writeRows(out, bytes, count, effectiveWidth(count, width), prefix);
}

void appendHexDump(std::string& out, const unsigned char* bytes, int32_t count, int32_t width,
                   std::string_view prefix) {
    const uint64_t length = hexDumpLength(count, width, prefix.size());
    if (length == 0) return;
    if (length > out.max_size() - out.size()) throw std::length_error("hex dump too long");
    width = effectiveWidth(count, width);
    out.reserve(out.size() + size_t(length));
    const uint64_t rowLength = prefix.size() + 4 * uint64_t(width) + 5;
    const uint64_t rowsPerBlock = rowLength >= appendBlock ? 1 : appendBlock / rowLength;
    const int64_t blockBytes = int64_t(rowsPerBlock) * width;
    for (int64_t first = 0; first < count;) {
        const int32_t bytesHere = int32_t(std::min<int64_t>(blockBytes, count - first));
        const size_t at = out.size();
        out.resize(at + size_t(dumpLength(bytesHere, width, prefix.size())));
        writeRows(&out[at], bytes + first, bytesHere, width, prefix);
        first += bytesHere;
    }
}

std::string formatHexDump(const unsigned char* bytes, int32_t count, int32_t width,
                          std::string_view prefix) {
    std::string text;
    appendHexDump(text, bytes, count, width, prefix);
    return text;
}
