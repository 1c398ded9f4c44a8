// The EDIT control's scrolling, caret and painting: only the visible lines are touched,
// so a pane of hundreds of megabytes paints and scrolls as fast as a short one.
#include <algorithm>

#include "user32/edit_control.h"
#include "user32/caret.h"
#include "user32/paint.h"

namespace winapi {

namespace {

constexpr char32_t kTrack = U'\u2591';  // light shade
constexpr char32_t kThumb = U'\u2588';  // full block

struct Thumb {
    int start = 0;
    int size = 0;  // 0: nothing to scroll, no thumb
};

// The thumb of a bar `track` cells long over `total` units of which `visible` show,
// the first shown being `first`.
Thumb thumbFor(size_t total, size_t visible, size_t first, int track) {
    if (track <= 0 || total <= visible) return {};
    const auto length = static_cast<unsigned long long>(track);
    const int size = static_cast<int>(std::max<unsigned long long>(1, length * visible / total));
    const size_t maxFirst = total - visible;
    const auto room = static_cast<unsigned long long>(track - size);
    const int start = static_cast<int>(room * std::min(first, maxFirst) / maxFirst);
    return {start, size};
}

}  // namespace

EditLayout EditControl::layoutFor(DWORD style, int cols, int rows) {
    EditLayout area;
    const bool multi = (style & ES_MULTILINE) != 0;
    area.verticalBar = multi && (style & WS_VSCROLL) != 0 && cols > 0;
    area.horizontalBar = multi && (style & WS_HSCROLL) != 0 && rows > 0;
    area.textCols = std::max(0, cols - (area.verticalBar ? 1 : 0));
    area.textRows = std::max(0, rows - (area.horizontalBar ? 1 : 0));
    return area;
}

EditLayout EditControl::layout() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const CellRect cells = pixelsToCells(client.left, client.top, client.right, client.bottom);
    return layoutFor(style_, cells.width(), cells.height());
}

int EditControl::alignOffset(const EditLayout& area) const {
    if (multiLine() || !(style_ & (ES_RIGHT | ES_CENTER))) return 0;
    // The last column stays free for the caret after the last character.
    const long long spare = static_cast<long long>(area.textCols) - 1 - static_cast<long long>(text_.longestLineColumns());
    if (spare <= 0) return 0;
    return static_cast<int>((style_ & ES_RIGHT) ? spare : spare / 2);
}

size_t EditControl::maxFirstLine(const EditLayout& area) const {
    if (!multiLine()) return 0;
    const size_t rows = static_cast<size_t>(std::max(1, area.textRows));
    return text_.lineCount() > rows ? text_.lineCount() - rows : 0;
}

size_t EditControl::maxFirstColumn(const EditLayout& area) const {
    const size_t extent = text_.longestLineColumns() + 1;  // room for the caret at a line's end
    const size_t cols = static_cast<size_t>(std::max(1, area.textCols));
    return extent > cols ? extent - cols : 0;
}

void EditControl::scrollTo(size_t line, size_t column) {
    const EditLayout area = layout();
    line = std::min(line, maxFirstLine(area));
    column = std::min(column, maxFirstColumn(area));
    if (line == firstLine_ && column == firstColumn_) return;
    firstLine_ = line;
    firstColumn_ = column;
    invalidate();
}

void EditControl::scrollCaretIntoView() {
    const EditLayout area = layout();
    if (area.textRows <= 0 || area.textCols <= 0) return;
    size_t line = firstLine_;
    size_t column = firstColumn_;
    if (multiLine()) {
        const size_t caretLine = text_.lineOf(caret_);
        const auto rows = static_cast<size_t>(area.textRows);
        if (caretLine < line) line = caretLine;
        if (caretLine >= line + rows) line = caretLine - rows + 1;
    }
    const size_t caretColumn = text_.columnOf(caret_);
    const auto cols = static_cast<size_t>(area.textCols);
    if (caretColumn < column) column = caretColumn;
    if (caretColumn >= column + cols) column = caretColumn - cols + 1;
    scrollTo(line, column);
}

BOOL EditControl::lineScroll(LONG_PTR columns, LONG_PTR lines) {
    if (!multiLine()) return FALSE;
    const auto shift = [](size_t from, LONG_PTR by) {
        const long long moved = static_cast<long long>(from) + by;
        return static_cast<size_t>(std::max(0LL, moved));
    };
    scrollTo(shift(firstLine_, lines), shift(firstColumn_, columns));
    return TRUE;
}

LRESULT EditControl::scroll(WPARAM action) {
    if (!multiLine()) return FALSE;
    const long long page = std::max(1, layout().textRows);
    long long lines = 0;
    switch (action) {
    case SB_LINEUP: lines = -1; break;
    case SB_LINEDOWN: lines = 1; break;
    case SB_PAGEUP: lines = -page; break;
    case SB_PAGEDOWN: lines = page; break;
    default: return FALSE;
    }
    const size_t before = firstLine_;
    lineScroll(0, static_cast<LONG_PTR>(lines));
    const long long moved = static_cast<long long>(firstLine_) - static_cast<long long>(before);
    return MAKELRESULT(static_cast<WORD>(moved), TRUE);
}

void EditControl::scrollBar(bool vertical, WPARAM wParam) {
    const EditLayout area = layout();
    const long long page = std::max(1, vertical ? area.textRows : area.textCols);
    const size_t current = vertical ? firstLine_ : firstColumn_;
    const size_t last = vertical ? maxFirstLine(area) : maxFirstColumn(area);
    long long target = static_cast<long long>(current);
    switch (LOWORD(wParam)) {
    case SB_LINEUP: target -= 1; break;
    case SB_LINEDOWN: target += 1; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = static_cast<long long>(last); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = HIWORD(wParam); break;
    default: return;
    }
    const auto position = static_cast<size_t>(std::max(0LL, target));
    if (vertical) {
        scrollTo(position, firstColumn_);
    } else {
        scrollTo(firstLine_, position);
    }
}

bool EditControl::scrollBarClick(int col, int row) {
    const EditLayout area = layout();
    const bool onVertical = area.verticalBar && col == area.textCols && row >= 0;
    const bool onHorizontal = area.horizontalBar && row == area.textRows && col >= 0;
    if (!onVertical && !onHorizontal) return false;
    if (onVertical && row < area.textRows) {
        const Thumb thumb = thumbFor(text_.lineCount(), static_cast<size_t>(area.textRows), firstLine_, area.textRows);
        if (thumb.size > 0 && row < thumb.start) scrollBar(true, SB_PAGEUP);
        if (thumb.size > 0 && row >= thumb.start + thumb.size) scrollBar(true, SB_PAGEDOWN);
    } else if (onHorizontal && col < area.textCols) {
        const Thumb thumb = thumbFor(text_.longestLineColumns() + 1, static_cast<size_t>(area.textCols), firstColumn_, area.textCols);
        if (thumb.size > 0 && col < thumb.start) scrollBar(false, SB_PAGEUP);
        if (thumb.size > 0 && col >= thumb.start + thumb.size) scrollBar(false, SB_PAGEDOWN);
    }
    return true;
}

void EditControl::resized() {
    scrollTo(firstLine_, firstColumn_);  // a larger window may need less scrolling
    invalidate();
}

void EditControl::invalidate() const { InvalidateRect(hwnd_, nullptr, FALSE); }

void EditControl::paintWindow() {
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(hwnd_, &ps);
    if (dc) {
        paint(painterFor(dc));
    }
    EndPaint(hwnd_, &ps);
}

void EditControl::paint(Painter& painter) {
    const EditLayout area = layoutFor(style_, painter.cols(), painter.rows());
    painter.fill(CellRect{0, 0, painter.cols(), painter.rows()});
    paintText(painter, area);
    paintScrollBars(painter, area);
    if (focused_) placeCaret(area);
}

void EditControl::paintText(Painter& painter, const EditLayout& area) const {
    const uint8_t normal = IsWindowEnabled(hwnd_) ? kAttrNone : kAttrDim;
    const bool showSelection = hasSelection() && (focused_ || (style_ & ES_NOHIDESEL));
    const size_t from = selectionStart();
    const size_t to = selectionEnd();
    const int left = alignOffset(area);
    const std::string& text = text_.str();
    for (int row = 0; row < area.textRows; ++row) {
        const size_t line = multiLine() ? firstLine_ + static_cast<size_t>(row) : static_cast<size_t>(row);
        if (line >= text_.lineCount()) break;
        size_t pos = text_.positionAtColumn(line, firstColumn_);
        const size_t end = text_.lineEnd(line);
        for (int col = left; col < area.textCols && pos < end; ++col) {
            const size_t length = utf8CharLength(text, pos);
            const bool selected = showSelection && pos >= from && pos < to;
            painter.text(col, row, std::string_view(text).substr(pos, length), selected ? uint8_t{kAttrReverse} : normal, 1);
            pos += length;
        }
    }
}

void EditControl::paintScrollBars(Painter& painter, const EditLayout& area) const {
    if (area.verticalBar) {
        const Thumb thumb = thumbFor(text_.lineCount(), static_cast<size_t>(area.textRows), firstLine_, area.textRows);
        for (int row = 0; row < area.textRows; ++row) {
            const bool onThumb = thumb.size > 0 && row >= thumb.start && row < thumb.start + thumb.size;
            painter.put(area.textCols, row, onThumb ? kThumb : kTrack);
        }
    }
    if (area.horizontalBar) {
        const Thumb thumb = thumbFor(text_.longestLineColumns() + 1, static_cast<size_t>(area.textCols), firstColumn_, area.textCols);
        for (int col = 0; col < area.textCols; ++col) {
            const bool onThumb = thumb.size > 0 && col >= thumb.start && col < thumb.start + thumb.size;
            painter.put(col, area.textRows, onThumb ? kThumb : kTrack);
        }
    }
}

void EditControl::placeCaret(const EditLayout& area) const {
    const long long row = multiLine() ? static_cast<long long>(text_.lineOf(caret_)) - static_cast<long long>(firstLine_) : 0;
    const long long col = alignOffset(area) + static_cast<long long>(text_.columnOf(caret_)) - static_cast<long long>(firstColumn_);
    const bool visible = row >= 0 && row < area.textRows && col >= 0 && col < area.textCols;
    if (visible) {
        setCaretCell(hwnd_, static_cast<int>(col), static_cast<int>(row));
    } else {
        hideCaret(hwnd_);
    }
}

}  // namespace winapi
