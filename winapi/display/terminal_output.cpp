// The characters and control strings the terminal device writes.
#include "display/terminal_output.h"

#include <wchar.h>

#include "display/canvas.h"
#include "display/utf8.h"

namespace winapi {

namespace {

bool isControl(char32_t ch) { return ch < 0x20 || (ch >= 0x7F && ch < 0xA0); }

// Box drawing and a few symbols in plain ASCII, for terminals that are not UTF-8.
char asciiLookAlike(char32_t ch) {
    switch (ch) {
    case 0x2500: case 0x2501: case 0x2504: case 0x2505: case 0x2508: case 0x2509:
    case 0x254C: case 0x254D: case 0x2550:
        return '-';
    case 0x2502: case 0x2503: case 0x2506: case 0x2507: case 0x250A: case 0x250B:
    case 0x254E: case 0x254F: case 0x2551:
        return '|';
    case 0x25B2: case 0x25B4: return '^';
    case 0x25BC: case 0x25BE: return 'v';
    case 0x25C0: case 0x25C4: return '<';
    case 0x25B6: case 0x25BA: return '>';
    case 0x229E: return '+';  // the tree's expand and collapse buttons
    case 0x229F: return '-';
    case 0x2713: case 0x2714: return '*';
    case 0x2591: return ':';  // a scroll bar's track, lighter than its thumb
    case 0x2588: case 0x2592: case 0x2593: return '#';
    case 0x00B7: case 0x2026: return '.';
    case 0x2022: return '*';
    default:
        break;
    }
    if (ch >= 0x2500 && ch <= 0x257F)
        return '+';
    return '?';
}

}  // namespace

char32_t terminalChar(char32_t ch, bool utf8) {
    if (isControl(ch))
        ch = visibleStandIn(ch);
    if (isControl(ch))  // a stand-in must never be a control character itself
        return U'?';
    if (!utf8)
        return ch < 0x80 ? ch : static_cast<char32_t>(asciiLookAlike(ch));
    if (ch >= 0xD800 && ch <= 0xDFFF)
        return U'\uFFFD';
    return ::wcwidth(static_cast<wchar_t>(ch)) == 1 ? ch : U'\uFFFD';
}

std::string titleSequence(std::string_view title) {
    std::string sequence = "\x1b]0;";
    for (size_t i = 0; i < title.size();) {
        size_t start = i;
        const char32_t ch = decodeUtf8(title, i);
        if (ch != kReplacementChar && !isControl(ch))
            sequence.append(title.substr(start, i - start));
    }
    sequence += '\a';
    return sequence;
}

std::string clipboardSequence(std::string_view text) {
    std::string hostText;
    hostText.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        hostText += text[i];
    }
    return "\x1b]52;c;" + base64(hostText) + '\a';
}

std::string base64(std::string_view bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t left = bytes.size() - i;
        uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (left > 1)
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (left > 2)
            group |= static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[(group >> 18) & 63];
        out += kDigits[(group >> 12) & 63];
        out += left > 1 ? kDigits[(group >> 6) & 63] : '=';
        out += left > 2 ? kDigits[group & 63] : '=';
    }
    return out;
}

}  // namespace winapi
