// UTF-8 for the layer's text: encoding one character and decoding one sequence safely.
#pragma once

#include <string>
#include <string_view>

namespace winapi {

constexpr char32_t kReplacementChar = 0xFFFD;

// Appends `ch` to `out` as UTF-8; a value past U+10FFFF appends nothing.
void appendUtf8(std::string& out, char32_t ch);

// Decodes the sequence at `pos` and moves past it. A malformed byte (stray continuation,
// overlong form, surrogate, truncated sequence, value past U+10FFFF) decodes as
// kReplacementChar and consumes exactly that byte, so the text after it survives.
char32_t decodeUtf8(std::string_view text, size_t& pos);

}  // namespace winapi
