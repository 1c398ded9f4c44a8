// The cell grid every window paints into, and the pixel-to-cell scale; knows nothing of
// any terminal library.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace winapi {

// One cell is 7 x 15 pixels: the 400-pixel tree is 57 columns, the 40-pixel "Width:"
// label holds its six characters, and the data pane (y = 30) starts two rows down.
constexpr int kPixelsPerColumn = 7;
constexpr int kPixelsPerRow = 15;

enum CellAttr : uint8_t {
    kAttrNone = 0,
    kAttrReverse = 1,    // selection, focused item
    kAttrBold = 2,       // focus, headings
    kAttrUnderline = 4,  // menu mnemonics
    kAttrDim = 8,        // grayed items
};

struct Cell {
    char32_t ch = U' ';
    uint8_t attr = kAttrNone;
    bool operator==(const Cell& other) const { return ch == other.ch && attr == other.attr; }
    bool operator!=(const Cell& other) const { return !(*this == other); }
};

// A rectangle of cells; right and bottom are exclusive.
struct CellRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right > left ? right - left : 0; }
    int height() const { return bottom > top ? bottom - top : 0; }
    bool contains(int col, int row) const {
        return col >= left && col < right && row >= top && row < bottom;
    }
    CellRect intersect(const CellRect& other) const;
};

// Maps a pixel rectangle to the cells it covers: edges are divided down, and a
// rectangle with a nonzero size covers at least one cell each way.
CellRect pixelsToCells(int left, int top, int right, int bottom);

class Canvas {
public:
    void resize(int cols, int rows);
    int cols() const { return cols_; }
    int rows() const { return rows_; }
    void clear();
    Cell& at(int col, int row) { return cells_[static_cast<size_t>(row) * cols_ + col]; }
    const Cell& at(int col, int row) const { return cells_[static_cast<size_t>(row) * cols_ + col]; }
    // One line of text per row, as UTF-8, trailing spaces removed.
    std::vector<std::string> lines() const;
    std::string text() const;  // lines() joined with '\n'

private:
    int cols_ = 0;
    int rows_ = 0;
    std::vector<Cell> cells_;
};

// Draws into an area of a canvas, clipped; coordinates are relative to the area's origin.
class Painter {
public:
    Painter(Canvas& canvas, CellRect area, CellRect clip);
    int cols() const { return area_.width(); }
    int rows() const { return area_.height(); }
    void put(int col, int row, char32_t ch, uint8_t attr = kAttrNone);
    // Draws UTF-8 text from (col, row) for at most maxCols columns (-1: to the area's
    // edge), one column per character. Control characters and malformed bytes appear as
    // visible stand-ins, never raw. Returns the columns used.
    int text(int col, int row, std::string_view utf8, uint8_t attr = kAttrNone, int maxCols = -1);
    void fill(CellRect rect, char32_t ch = U' ', uint8_t attr = kAttrNone);
    void setAttr(CellRect rect, uint8_t attr);  // adds attr to every cell of rect

private:
    Canvas& canvas_;
    CellRect area_;
    CellRect clip_;
};

// The stand-in shown for a character that must never reach a terminal raw.
char32_t visibleStandIn(char32_t ch);

}  // namespace winapi
