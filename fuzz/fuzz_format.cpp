// Fuzz target: the hex dump and the mini-chunk listing over any bytes, widths and prefixes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "view/ChunkDataView.h"
#include "view/HexDump.h"
#include "chunk/MiniChunkList.h"

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_format: %s\n", what);
    std::abort();
}

// The width from the first four bytes, steered by the first one towards the values that
// matter: negative, 0, 1, small, around the 4096 limit, and the largest.
int32_t pickWidth(const uint8_t* data) {
    const uint32_t raw = uint32_t{data[0]} | uint32_t{data[1]} << 8 | uint32_t{data[2]} << 16 |
                         uint32_t{data[3]} << 24;
    switch (data[0] % 8) {
    case 0: return static_cast<int32_t>(raw);                  // anything, negatives too
    case 1: return 0;
    case 2: return 1;
    case 3: return static_cast<int32_t>(raw % 64);
    case 4: return 4090 + static_cast<int32_t>(raw % 16);
    case 5: return INT32_MAX - static_cast<int32_t>(raw % 4);
    case 6: return INT32_MIN + static_cast<int32_t>(raw % 4);
    default: return -static_cast<int32_t>(raw % 64);
    }
}

// Rows never exceed the width the formatter settles on, and every row ends in CR LF.
void checkDump(const std::string& dump, int32_t count, size_t prefixLength) {
    if (count <= 0) {
        check(dump.empty(), "an empty run gave text");
        return;
    }
    check(dump.size() >= 2 && dump.compare(dump.size() - 2, 2, "\r\n") == 0,
          "the last row does not end in CR LF");
    // Bounded by the 4096 limit: hex pair, space and character per column, bar, prefix.
    const uint64_t widest = (count > 4096 ? uint64_t(count) : 4096u);
    size_t start = 0;
    while (start < dump.size()) {
        const size_t end = dump.find("\r\n", start);
        check(end != std::string::npos, "text after the last CR LF");
        check(end - start <= prefixLength + 4 * widest + 3, "a row longer than its width allows");
        start = end + 2;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    const int32_t width = pickWidth(data);
    const size_t prefixLength = data[4] % 16 < size - 5 ? data[4] % 16 : size - 5;
    const std::string prefix(reinterpret_cast<const char*>(data + 5), prefixLength);
    const unsigned char* bytes = data + 5 + prefixLength;
    const int32_t count = static_cast<int32_t>(size - 5 - prefixLength);

    const std::string dump = formatHexDump(bytes, count, width, prefix);
    checkDump(dump, count, prefix.size());
    // Appending must give the text formatHexDump gives, after whatever was there.
    std::string appended = "head";
    appendHexDump(appended, bytes, count, width, prefix);
    check(appended == "head" + dump, "appendHexDump differs from formatHexDump");

    // The listing is only given recognised lists by the program, but must stay inside any
    // bytes it is given, at any width, including lengths that cut the last mini-chunk.
    const std::string listing = formatMiniChunkList(bytes, count, width);
    if (isMiniChunkList(bytes, static_cast<uint32_t>(count)) && count > 0)
        check(listing.compare(listing.size() - 2, 2, "\r\n") == 0,
              "a recognised list's listing does not end in CR LF");
    formatMiniChunkList(bytes, count / 2, width < 1 ? 1 : width);
    return 0;
}
