// The hex dump text, byte for byte.
#include "view/HexDump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

std::string dump(const std::string& bytes, int32_t width, const std::string& prefix = "") {
    return formatHexDump(reinterpret_cast<const unsigned char*>(bytes.data()),
                         static_cast<int32_t>(bytes.size()), width, prefix);
}

// The rows built one step at a time, the plain way, to hold the fast writer to.
std::string referenceDump(const std::string& bytes, int32_t width, const std::string& prefix) {
    std::string text;
    const int32_t count = static_cast<int32_t>(bytes.size());
    for (int32_t i = 0; i < count; ++i) {
        const int32_t column = i % width;
        if (column == 0) text += prefix;
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x ", static_cast<unsigned char>(bytes[i]));
        text += pair;
        if (column == width - 1 || i == count - 1) {
            text.append(3 * size_t(width - 1 - column), ' ');
            text += " | ";
            for (int32_t j = (i / width) * width; j <= i; ++j) {
                const unsigned char c = bytes[j];
                text += c >= 0x20 && c <= 0x7E ? char(c) : '.';
            }
            text += "\r\n";
        }
    }
    return text;
}

TEST(FormatHexDump, HelloWorldInRowsOfEight) {
    const std::string text = dump("Hello, world!", 8);
    const std::string row1 = "48 65 6c 6c 6f 2c 20 77  | Hello, w\r\n";
    const std::string row2 = "6f 72 6c 64 21           | orld!\r\n";
    EXPECT_EQ(text, row1 + row2);
    EXPECT_EQ(row1.size(), 37u);
    EXPECT_EQ(row2.size(), 34u);
    EXPECT_EQ(row1.find('|'), 25u);
    EXPECT_EQ(row2.find('|'), 25u);
}

TEST(FormatHexDump, RowShapes) {
    struct Case {
        const char* what;
        std::string bytes;
        int32_t width;
        std::string prefix;
        std::string text;
    } cases[] = {
        {"nothing", "", 16, "", ""},
        {"width 1", "AB", 1, "", "41  | A\r\n42  | B\r\n"},
        {"exact multiple: no padding", "abcd", 2, "", "61 62  | ab\r\n63 64  | cd\r\n"},
        {"prefix once per row, not before padding",
         "abc", 2, "       ", "       61 62  | ab\r\n       63     | c\r\n"},
        {"one byte, wide row", "z", 4, "", "7a           | z\r\n"},
        {"shown characters: only 0x20 to 0x7E", std::string("\x00\x1f\x20\x7e\x7f\x80\xff", 7), 7,
         "", "00 1f 20 7e 7f 80 ff  | .. ~...\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(dump(c.bytes, c.width, c.prefix), c.text) << c.what;
}

TEST(FormatHexDump, NegativeCountGivesNothing) {
    const unsigned char byte = 0x41;
    EXPECT_EQ(formatHexDump(&byte, -1, 16, ""), "");
}

TEST(FormatHexDump, MatchesTheRowByRowRuleForAnyShape) {
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(random() % 300, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        const int32_t width = 1 + random() % 40;
        const std::string prefix(random() % 3 == 0 ? 7 : 0, ' ');
        ASSERT_EQ(dump(bytes, width, prefix), referenceDump(bytes, width, prefix))
            << bytes.size() << " bytes, width " << width;
    }
}

TEST(FormatHexDump, WidthsUpToTheLargerOf4096AndTheCountAreExact) {
    const std::string few = "abc";
    EXPECT_EQ(dump(few, 4096, "> "), referenceDump(few, 4096, "> "));
    const std::string many(5000, 'm');
    EXPECT_EQ(dump(many, 5000), referenceDump(many, 5000, ""));
    EXPECT_EQ(dump(many, 4999), referenceDump(many, 4999, ""));
}

// Beyond that the row is formatted as if it were that wide: a few bytes at the width box's
// largest value stay a few kilobytes of text.
TEST(FormatHexDump, WiderRowsAreFormattedAtTheLargerOf4096AndTheCount) {
    const std::string few = "abc";
    for (int32_t width : {4097, 100000, 2147483647}) {
        EXPECT_EQ(dump(few, width), dump(few, 4096)) << width;
    }
    EXPECT_EQ(dump(few, 2147483647).size(), 3u * 4096 + 5 + 3);
    const std::string many(5000, 'm');
    EXPECT_EQ(dump(many, 2147483647), dump(many, 5000));
}

TEST(AppendHexDump, AddsToWhatIsThere) {
    std::string text = "head\r\n";
    const unsigned char bytes[] = {0x01, 0x41};
    appendHexDump(text, bytes, 2, 4, "  ");
    EXPECT_EQ(text, "head\r\n  01 41        | .A\r\n");
}

// Callers that fill their own buffer get the same text, in exactly the length announced,
// and nothing written past it.
TEST(WriteHexDump, WritesExactlyTheAnnouncedLengthOfTheSameText) {
    std::mt19937 random(777);
    for (int round = 0; round < 100; ++round) {
        std::string bytes(random() % 200, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        const int32_t width = round % 10 == 0 ? 2147483647 : static_cast<int32_t>(random() % 40) - 2;
        const std::string prefix(random() % 2 == 0 ? 7 : 0, ' ');
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
        const int32_t count = static_cast<int32_t>(bytes.size());
        const std::string expected = formatHexDump(data, count, width, prefix);
        ASSERT_EQ(hexDumpLength(count, width, prefix.size()), expected.size());
        std::string buffer(expected.size() + 1, '#');
        char* end = writeHexDump(&buffer[0], data, count, width, prefix);
        ASSERT_EQ(static_cast<size_t>(end - buffer.data()), expected.size());
        EXPECT_EQ(buffer, expected + "#") << bytes.size() << " bytes, width " << width;
    }
    EXPECT_EQ(hexDumpLength(-5, 16, 0), 0u);
}

}  // namespace
