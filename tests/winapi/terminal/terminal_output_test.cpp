// The characters and control strings the terminal device writes.
#include "display/terminal_output.h"

#include <clocale>

#include <gtest/gtest.h>

#include "display/canvas.h"

namespace winapi {
namespace {

bool isControl(char32_t ch) { return ch < 0x20 || (ch >= 0x7F && ch < 0xA0); }

TEST(TerminalOutput, Base64EncodesEveryTailLength) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},          {"f", "Zg=="},         {"fo", "Zm8="},
        {"foo", "Zm9v"},   {"foobar", "Zm9vYmFy"}, {std::string("\xff\x00\x80", 3), "/wCA"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(base64(input), expected) << input;
}

TEST(TerminalOutput, ClipboardSequenceCarriesTheTextInBase64WithHostLineBreaks) {
    EXPECT_EQ(clipboardSequence("00 01 | ..\r\n"), "\x1b]52;c;" + base64("00 01 | ..\n") + "\a");
    EXPECT_EQ(clipboardSequence("a\rb\r\r\nc"), "\x1b]52;c;" + base64("a\rb\r\nc") + "\a");
}

TEST(TerminalOutput, TitleSequenceLeavesOutControlCharactersAndMalformedBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"Tarnholm", "Tarnholm"},
        {"evil\x1b]0;x\a\x1b[2J.zmk", "evil]0;x[2J.zmk"},
        {"caf\xc3\xa9 \xe4\xb8\xad", "caf\xc3\xa9 \xe4\xb8\xad"},  // UTF-8 stays
        {"a\xc2\x9c" "b", "ab"},                                   // C1 string terminator
        {"a\xff\xc3(b\xe4\xb8", "a(b"},                            // malformed and cut short
        {"a\xc0\xafz", "az"},                                      // overlong encoding
    };
    for (const auto& [title, shown] : cases)
        EXPECT_EQ(titleSequence(title), "\x1b]0;" + shown + "\a") << title;
}

TEST(TerminalOutput, NeverWritesAControlCharacterAndKeepsEveryCellOneColumn) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    for (char32_t ch : {U'\0', U'\x1b', U'\a', U'\x7f', U'\x85', U'\x9b'}) {
        EXPECT_FALSE(isControl(terminalChar(ch, true))) << static_cast<unsigned>(ch);
        EXPECT_FALSE(isControl(terminalChar(ch, false))) << static_cast<unsigned>(ch);
        EXPECT_LT(terminalChar(ch, false), 0x80u) << static_cast<unsigned>(ch);
    }
    const std::pair<char32_t, char32_t> utf8[] = {
        {U'A', U'A'}, {U'\u00e9', U'\u00e9'}, {U'\u2502', U'\u2502'},
        {U'\u4e2d', U'\ufffd'},  // two columns wide
        {U'\u0301', U'\ufffd'},  // combining: no column of its own
    };
    for (const auto& [ch, shown] : utf8)
        EXPECT_EQ(terminalChar(ch, true), shown) << static_cast<unsigned>(ch);
    const std::pair<char32_t, char32_t> ascii[] = {
        {U'A', U'A'}, {U'\u2500', U'-'}, {U'\u2502', U'|'}, {U'\u250c', U'+'},
        {U'\u253c', U'+'}, {U'\u25bc', U'v'}, {U'\u229e', U'+'}, {U'\u229f', U'-'},
        {U'\u2591', U':'}, {U'\u2588', U'#'}, {U'\u00e9', U'?'}, {U'\u4e2d', U'?'},
    };
    for (const auto& [ch, shown] : ascii)
        EXPECT_EQ(terminalChar(ch, false), shown) << static_cast<unsigned>(ch);
    std::setlocale(LC_CTYPE, "C");
}

}  // namespace
}  // namespace winapi
