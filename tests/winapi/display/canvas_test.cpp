// The cell canvas: pixel-to-cell mapping, clipped painting and the stand-ins for text that
// must not reach a terminal raw.
#include "display/canvas.h"

#include <gtest/gtest.h>

namespace winapi {
namespace {

struct PixelCase {
    int left, top, right, bottom;
    CellRect cells;
};

TEST(PixelsToCells, DividesEdgesDownAndKeepsNonEmptyRectanglesVisible) {
    const PixelCase cases[] = {
        {0, 0, 400, 300, {0, 0, 57, 20}},    // the tree: 57 columns
        {410, 6, 450, 18, {58, 0, 64, 1}},   // "Width:" keeps its six columns
        {400, 30, 840, 600, {57, 2, 120, 40}},  // the data pane starts two rows down
        {3, 3, 4, 4, {0, 0, 1, 1}},          // one pixel still covers a cell
        {10, 10, 10, 10, {1, 0, 1, 0}},      // empty stays empty
        {-7, -15, 0, 0, {-1, -1, 0, 0}},     // negative edges round down too
        {20, 20, 10, 10, {2, 1, 2, 1}},      // inverted: empty, never negative
    };
    for (const PixelCase& c : cases) {
        CellRect r = pixelsToCells(c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(r.left, c.cells.left) << c.left << "," << c.top;
        EXPECT_EQ(r.top, c.cells.top) << c.left << "," << c.top;
        EXPECT_EQ(r.right, c.cells.right) << c.left << "," << c.top;
        EXPECT_EQ(r.bottom, c.cells.bottom) << c.left << "," << c.top;
    }
}

struct TextCase {
    const char* name;
    std::string input;
    std::string shown;
};

TEST(PainterText, ShowsControlCharactersAndMalformedBytesAsVisibleStandIns) {
    const TextCase cases[] = {
        {"plain", "abc", "abc"},
        {"C0 controls", "a\x01" "b\x1b[31m", "a\u2401b\u241b[31m"},
        {"NUL inside", std::string("x\0y", 3), "x\u2400y"},
        {"DEL", "a\x7f", "a\u2421"},
        {"C1 control (CSI)", "a\xc2\x9b" "b", "a\ufffdb"},
        {"valid UTF-8", "\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9"},
        {"stray byte", "a\xff" "b", "a\ufffdb"},
        {"overlong slash", "\xc0\xaf", "\ufffd\ufffd"},
        {"encoded surrogate", "\xed\xa0\x80", "\ufffd\ufffd\ufffd"},
        {"truncated at end", "ab\xe2\x82", "ab\ufffd\ufffd"},
        {"bidi override", "a\xe2\x80\xae" "b", "a\ufffdb"},
    };
    for (const TextCase& c : cases) {
        Canvas canvas;
        canvas.resize(20, 1);
        Painter painter(canvas, CellRect{0, 0, 20, 1}, CellRect{0, 0, 20, 1});
        painter.text(0, 0, c.input);
        EXPECT_EQ(canvas.text(), c.shown) << c.name;
    }
}

TEST(PainterText, StaysInsideTheClipAndReportsColumnsUsed) {
    Canvas canvas;
    canvas.resize(10, 3);
    // Area starts at column 2, row 1; the clip cuts it to columns 2..5.
    Painter painter(canvas, CellRect{2, 1, 10, 3}, CellRect{0, 0, 6, 3});
    EXPECT_EQ(painter.text(1, 0, "abcdefghijkl"), 7);  // to the area's edge
    EXPECT_EQ(painter.text(0, 1, "xyz", kAttrReverse, 2), 2);
    EXPECT_EQ(canvas.lines(), (std::vector<std::string>{"", "   abc", "  xy"}));
    EXPECT_EQ(canvas.at(2, 2).attr, kAttrReverse);
    painter.put(-1, 0, U'!');   // left of the area
    painter.put(0, 5, U'!');    // below the canvas
    EXPECT_EQ(canvas.text().find('!'), std::string::npos);
}

TEST(PainterFill, FillsAndMarksOnlyTheClippedPart) {
    Canvas canvas;
    canvas.resize(6, 2);
    Painter painter(canvas, CellRect{1, 0, 6, 2}, CellRect{0, 0, 4, 2});
    painter.fill(CellRect{0, 0, 10, 1}, U'#');
    painter.setAttr(CellRect{0, 0, 10, 2}, kAttrBold);
    EXPECT_EQ(canvas.lines()[0], " ###");
    EXPECT_EQ(canvas.at(0, 0).attr, kAttrNone);
    EXPECT_EQ(canvas.at(3, 1).attr, kAttrBold);
    EXPECT_EQ(canvas.at(4, 1).attr, kAttrNone);
}

}  // namespace
}  // namespace winapi
