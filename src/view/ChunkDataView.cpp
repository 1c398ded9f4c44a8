// Puts a data chunk into the data pane as a hex dump or a mini-chunk listing.
#include "view/ChunkDataView.h"

#include <commctrl.h>

#include <limits>
#include <memory>
#include <stdexcept>

#include "view/HexDump.h"

namespace {

const char kPayloadIndent[] = "       ";  // as wide as a block's head "ii nn: "

void appendHexByte(std::string& text, unsigned char byte) {
    static const char digits[] = "0123456789abcdef";
    text += digits[byte >> 4];
    text += digits[byte & 0xF];
}

}  // namespace

std::string formatMiniChunkList(const unsigned char* bytes, int32_t length, int32_t width) {
    std::string text;
    const unsigned char* p = bytes;
    int32_t remaining = length;
    // A recognised list ends exactly at its last payload; stopping at the end of the
    // bytes keeps any other input from being read past.
    while (remaining >= 2) {
        const unsigned char id = p[0];
        const unsigned char n = p[1];
        const int32_t payload = n < remaining - 2 ? n : remaining - 2;
        appendHexByte(text, id);
        text += ' ';
        appendHexByte(text, n);
        text += ": ";
        // The head stands where the first row's prefix would: drop that prefix.
        const size_t rowStart = text.size();
        appendHexDump(text, p + 2, payload, width, kPayloadIndent);
        if (text.size() > rowStart) text.erase(rowStart, sizeof kPayloadIndent - 1);
        p += n + 2;
        remaining -= n + 2;
    }
    return text;
}

void showChunkData(HWND dataPane, const unsigned char* bytes, int32_t length, int32_t width) {
    if (width < 1) width = 1;
    if (length < 0) {
        // Negated in 64 bits: the most negative length must not overflow.
        const std::string text = formatMiniChunkList(bytes, static_cast<int32_t>(-int64_t{length}), width);
        SetWindowTextA(dataPane, text.c_str());
        return;
    }
    // A plain dump can be hundreds of megabytes: it is written once into a buffer that is not
    // cleared first, as a std::string of that size would be.
    const uint64_t size = hexDumpLength(length, width, 0);
    if (size >= std::numeric_limits<size_t>::max()) throw std::length_error("hex dump too long");
    std::unique_ptr<char[]> text(new char[size_t(size) + 1]);
    *writeHexDump(text.get(), bytes, length, width, "") = '\0';
    SetWindowTextA(dataPane, text.get());
}

void showRecord(const RecordsTable& records, HWND hwndUpDown, HWND dataPane, LPARAM index) {
    const ChunkData* record = records.find(index);
    if (!record) {
        SetWindowTextA(dataPane, "");
        return;
    }
    BOOL failed = FALSE;
    const LRESULT position =
        SendMessageA(hwndUpDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
    const int32_t width = failed ? 16 : static_cast<int32_t>(position);
    showChunkData(dataPane, record->bytes, record->length, width);
}
