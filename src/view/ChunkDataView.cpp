// Puts a data chunk into the data pane as a hex dump or a mini-chunk listing.
#include "view/ChunkDataView.h"

#include <commctrl.h>

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
    // Negated in 64 bits: the most negative length must not overflow.
    const std::string text =
        length < 0 ? formatMiniChunkList(bytes, static_cast<int32_t>(-int64_t{length}), width)
                   : formatHexDump(bytes, length, width, "");
    SetWindowTextA(dataPane, text.c_str());
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
