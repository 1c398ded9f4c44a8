// The edit's text model on its own: characters, columns and moves over odd bytes.
#include <gtest/gtest.h>

#include <string>

#include "user32/edit_text.h"

namespace {

using winapi::EditText;
using winapi::utf8CharLength;

TEST(EditTextModel, CharacterLengthsOfWellFormedAndMalformedBytes) {
    struct Case {
        std::string text;
        size_t length;
    };
    const Case cases[] = {
        {"a", 1},
        {"\xC3\xA9", 2},
        {"\xE2\x82\xAC", 3},
        {"\xF0\x9F\x98\x80", 4},
        {"\xC3", 1},              // cut short
        {"\xC3z", 1},             // no continuation
        {"\x80", 1},              // stray continuation
        {"\xC0\xAF", 1},          // overlong
        {"\xE0\x80\xAF", 1},      // overlong
        {"\xED\xA0\x80", 1},      // surrogate
        {"\xF4\x90\x80\x80", 1},  // past U+10FFFF
        {"\xFF", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(utf8CharLength(c.text, 0), c.length) << c.text;
}

TEST(EditTextModel, ColumnsAndMovesAgreeOverMalformedBytes) {
    // 'a', a stray continuation, 'é', a cut-short lead, 'b': five characters.
    EditText text;
    text.assign("a\x80\xC3\xA9\xC3" "b");
    EXPECT_EQ(text.longestLineColumns(), 5u);
    size_t pos = 0;
    std::vector<size_t> stops;
    while (pos < text.size()) {
        pos = text.next(pos);
        stops.push_back(pos);
    }
    EXPECT_EQ(stops, (std::vector<size_t>{1, 2, 4, 5, 6}));
    for (size_t i = 0; i < stops.size(); ++i) {
        EXPECT_EQ(text.columnOf(stops[i]), i + 1);
        EXPECT_EQ(text.positionAtColumn(0, i + 1), stops[i]);
    }
    EXPECT_EQ(text.snap(3), 2u);  // inside 'é'
    EXPECT_EQ(text.previous(4), 2u);
}

TEST(EditTextModel, EditsReindexTheLines) {
    EditText text;
    text.assign("ab\r\ncd");
    text.replace(1, 5, "X\nY");  // "aX\nYd"
    EXPECT_EQ(text.str(), "aX\nYd");
    EXPECT_EQ(text.lineCount(), 2u);
    EXPECT_EQ(text.lineStart(1), 3u);
    text.replace(2, 3, "");  // joining the lines
    EXPECT_EQ(text.lineCount(), 1u);
    EXPECT_EQ(text.longestLineColumns(), 4u);
}

TEST(EditTextModel, WordsForDoubleClickAndControlArrows) {
    EditText text;
    text.assign("int x_1 = foo(2);");
    size_t start = 0;
    size_t end = 0;
    text.wordAt(5, start, end);
    EXPECT_EQ(text.slice(start, end), "x_1");
    text.wordAt(13, start, end);
    EXPECT_EQ(text.slice(start, end), "(");
    EXPECT_EQ(text.nextWord(0), 4u);
    EXPECT_EQ(text.nextWord(4), 8u);
    EXPECT_EQ(text.previousWord(8), 4u);
    EXPECT_EQ(text.previousWord(4), 0u);
}

}  // namespace
