// The STATIC control: its window text drawn in its cells, aligned and clipped.
#include "user32/static.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "display/canvas.h"
#include "user32/edit_text.h"
#include "user32/paint.h"

namespace winapi {

namespace {

struct StaticState {
    HFONT font = nullptr;
};

std::unordered_map<HWND, StaticState>& statics() {
    static std::unordered_map<HWND, StaticState> table;
    return table;
}

// One row to draw: a run of the shown text, and where the underlined mnemonic is.
struct Row {
    std::string text;
    size_t underline = std::string::npos;
};

size_t columnsOf(std::string_view text) {
    size_t count = 0;
    for (size_t pos = 0; pos < text.size(); pos += utf8CharLength(text, pos)) ++count;
    return count;
}

// Byte length of the first `columns` characters of `text`.
size_t bytesFor(std::string_view text, size_t columns) {
    size_t pos = 0;
    for (size_t i = 0; i < columns && pos < text.size(); ++i) pos += utf8CharLength(text, pos);
    return pos;
}

// Drops the '&' of a mnemonic ("&&" shows one '&') and notes the underlined byte.
std::string withoutPrefixes(std::string_view text, size_t& underline) {
    std::string shown;
    underline = std::string::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&') underline = shown.size();
        }
        shown += text[i];
    }
    return shown;
}

// Splits a paragraph into rows no wider than `cols`, at spaces where it can.
void wrap(std::string_view paragraph, size_t offset, size_t cols, std::vector<Row>& rows, size_t underline) {
    do {
        size_t take = paragraph.size();
        size_t skip = 0;
        if (columnsOf(paragraph) > cols) {
            take = bytesFor(paragraph, cols);
            const size_t space = paragraph.substr(0, take + 1).rfind(' ');
            if (space != std::string_view::npos && space > 0) {
                take = space;
                skip = 1;
            }
        }
        Row row;
        row.text = std::string(paragraph.substr(0, take));
        if (underline >= offset && underline < offset + take) row.underline = underline - offset;
        rows.push_back(std::move(row));
        paragraph.remove_prefix(take + skip);
        offset += take + skip;
    } while (!paragraph.empty());
}

std::vector<Row> layoutRows(std::string_view text, DWORD style, int cols) {
    size_t underline = std::string::npos;
    const std::string shown = (style & SS_NOPREFIX) ? std::string(text) : withoutPrefixes(text, underline);
    const DWORD type = style & SS_TYPEMASK;
    const bool wraps = type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE && cols > 0;
    std::vector<Row> rows;
    size_t start = 0;
    for (;;) {
        size_t stop = shown.find('\n', start);
        const bool last = stop == std::string::npos;
        if (last) stop = shown.size();
        size_t end = stop;
        if (end > start && shown[end - 1] == '\r') --end;
        const std::string_view paragraph = std::string_view(shown).substr(start, end - start);
        if (wraps) {
            wrap(paragraph, start, static_cast<size_t>(cols), rows, underline);
        } else {
            Row row;
            row.text = std::string(paragraph);
            if (underline >= start && underline < end) row.underline = underline - start;
            rows.push_back(std::move(row));
        }
        if (last) break;
        start = stop + 1;
    }
    return rows;
}

void paintStatic(HWND hwnd, Painter& painter) {
    painter.fill(CellRect{0, 0, painter.cols(), painter.rows()});
    const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), length + 1)));
    const uint8_t attr = IsWindowEnabled(hwnd) ? kAttrNone : kAttrDim;
    const DWORD type = style & SS_TYPEMASK;
    const std::vector<Row> rows = layoutRows(text, style, painter.cols());
    for (int row = 0; row < painter.rows() && static_cast<size_t>(row) < rows.size(); ++row) {
        const Row& line = rows[static_cast<size_t>(row)];
        const int width = static_cast<int>(columnsOf(line.text));
        int left = 0;
        if (type == SS_RIGHT) left = painter.cols() - width;
        if (type == SS_CENTER) left = (painter.cols() - width) / 2;
        if (left < 0) left = 0;
        int col = left;
        for (size_t pos = 0; pos < line.text.size() && col < painter.cols(); ++col) {
            const size_t length = utf8CharLength(line.text, pos);
            const uint8_t mark = pos == line.underline ? uint8_t{kAttrUnderline} : uint8_t{kAttrNone};
            painter.text(col, row, std::string_view(line.text).substr(pos, length), attr | mark, 1);
            pos += length;
        }
    }
}

}  // namespace

LRESULT CALLBACK staticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        statics()[hwnd] = StaticState{};
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_NCDESTROY:
        statics().erase(hwnd);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case WM_SETFONT:
        statics()[hwnd].font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT: {
        const auto it = statics().find(hwnd);
        return it == statics().end() ? 0 : reinterpret_cast<LRESULT>(it->second.font);
    }
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = BeginPaint(hwnd, &ps);
        if (dc) {
            paintStatic(hwnd, painterFor(dc));
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;  // painting covers every cell
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace winapi
