// What the terminal device writes besides cells: the characters a terminal can show,
// and the title and clipboard control strings; no terminal library involved.
#pragma once

#include <string>
#include <string_view>

namespace winapi {

// The character to write for a canvas cell: control characters become their visible
// stand-ins, and a character that would not take exactly one column (wide, combining,
// or not representable when the terminal is not UTF-8) becomes a one-column look-alike
// or '?', so a row never shifts.
char32_t terminalChar(char32_t ch, bool utf8);

// ESC ] 0 ; title BEL with every control character and malformed byte of the UTF-8
// title left out, so a file name can never end the sequence early or start another.
std::string titleSequence(std::string_view title);

// ESC ] 52 ; c ; base64 BEL: puts text on the clipboard of terminals that allow it, with
// the program's CR LF line breaks as the host's LF, so a paste elsewhere has no stray CRs.
std::string clipboardSequence(std::string_view text);

// Standard base64 with padding.
std::string base64(std::string_view bytes);

// Text longer than this is kept on the layer's clipboard only: terminals drop such
// long control strings, and writing them would stall the screen.
constexpr size_t kMaxTerminalClipboardBytes = 1 << 20;

}  // namespace winapi
