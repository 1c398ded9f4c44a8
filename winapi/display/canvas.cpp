// The cell grid, clipped painting into it, and the stand-ins that keep control
// characters and malformed text off the terminal.
#include "display/canvas.h"
#include "display/utf8.h"

#include <algorithm>

namespace winapi {
namespace {

int floorDiv(int value, int divisor) {
    int quotient = value / divisor;
    if (value % divisor != 0 && value < 0) --quotient;
    return quotient;
}

}  // namespace

CellRect CellRect::intersect(const CellRect& other) const {
    CellRect result{std::max(left, other.left), std::max(top, other.top),
                    std::min(right, other.right), std::min(bottom, other.bottom)};
    if (result.right < result.left) result.right = result.left;
    if (result.bottom < result.top) result.bottom = result.top;
    return result;
}

CellRect pixelsToCells(int left, int top, int right, int bottom) {
    CellRect cells{floorDiv(left, kPixelsPerColumn), floorDiv(top, kPixelsPerRow),
                   floorDiv(right, kPixelsPerColumn), floorDiv(bottom, kPixelsPerRow)};
    if (right > left && cells.right <= cells.left) cells.right = cells.left + 1;
    if (bottom > top && cells.bottom <= cells.top) cells.bottom = cells.top + 1;
    if (cells.right < cells.left) cells.right = cells.left;
    if (cells.bottom < cells.top) cells.bottom = cells.top;
    return cells;
}

char32_t visibleStandIn(char32_t ch) {
    if (ch < 0x20) return 0x2400 + ch;  // the Control Pictures block: ␀ ␁ ... ␟
    if (ch == 0x7F) return 0x2421;      // ␡
    if (ch >= 0x80 && ch < 0xA0) return kReplacementChar;  // C1 controls (CSI, OSC, ...)
    // Bidirectional overrides and zero-width formatting would reorder or hide what the
    // terminal shows around them.
    if ((ch >= 0x200B && ch <= 0x200F) || (ch >= 0x202A && ch <= 0x202E) ||
        (ch >= 0x2066 && ch <= 0x2069) || ch == 0xFEFF) {
        return kReplacementChar;
    }
    if ((ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF) return kReplacementChar;
    return ch;
}

void Canvas::resize(int cols, int rows) {
    cols_ = std::max(cols, 0);
    rows_ = std::max(rows, 0);
    cells_.assign(static_cast<size_t>(cols_) * rows_, Cell{});
}

void Canvas::clear() { std::fill(cells_.begin(), cells_.end(), Cell{}); }

std::vector<std::string> Canvas::lines() const {
    std::vector<std::string> result;
    result.reserve(rows_);
    for (int row = 0; row < rows_; ++row) {
        std::string line;
        for (int col = 0; col < cols_; ++col) appendUtf8(line, at(col, row).ch);
        line.erase(line.find_last_not_of(' ') + 1);
        result.push_back(std::move(line));
    }
    return result;
}

std::string Canvas::text() const {
    std::string result;
    bool first = true;
    for (const std::string& line : lines()) {
        if (!first) result += '\n';
        result += line;
        first = false;
    }
    return result;
}

Painter::Painter(Canvas& canvas, CellRect area, CellRect clip)
    : canvas_(canvas),
      area_(area),
      clip_(clip.intersect(area).intersect(CellRect{0, 0, canvas.cols(), canvas.rows()})) {}

void Painter::put(int col, int row, char32_t ch, uint8_t attr) {
    int x = area_.left + col;
    int y = area_.top + row;
    if (!clip_.contains(x, y)) return;
    Cell& cell = canvas_.at(x, y);
    cell.ch = visibleStandIn(ch);
    cell.attr = attr;
}

int Painter::text(int col, int row, std::string_view utf8, uint8_t attr, int maxCols) {
    if (maxCols < 0) maxCols = std::max(cols() - col, 0);
    int used = 0;
    size_t pos = 0;
    while (pos < utf8.size() && used < maxCols) {
        put(col + used, row, decodeUtf8(utf8, pos), attr);
        ++used;
    }
    return used;
}

void Painter::fill(CellRect rect, char32_t ch, uint8_t attr) {
    CellRect target = CellRect{rect.left + area_.left, rect.top + area_.top,
                               rect.right + area_.left, rect.bottom + area_.top}
                          .intersect(clip_);
    char32_t shown = visibleStandIn(ch);
    for (int y = target.top; y < target.bottom; ++y) {
        for (int x = target.left; x < target.right; ++x) canvas_.at(x, y) = Cell{shown, attr};
    }
}

void Painter::setAttr(CellRect rect, uint8_t attr) {
    CellRect target = CellRect{rect.left + area_.left, rect.top + area_.top,
                               rect.right + area_.left, rect.bottom + area_.top}
                          .intersect(clip_);
    for (int y = target.top; y < target.bottom; ++y) {
        for (int x = target.left; x < target.right; ++x) {
            Cell& cell = canvas_.at(x, y);
            cell.attr = static_cast<uint8_t>(cell.attr | attr);
        }
    }
}

}  // namespace winapi
