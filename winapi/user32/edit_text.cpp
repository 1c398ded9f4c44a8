// The edit control's text and line index.
#include "user32/edit_text.h"

#include <algorithm>
#include <cstring>

namespace winapi {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// 0 blank, 1 word character, 2 any other mark: a double-click selects one run.
int charClass(unsigned char byte) {
    if (byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n') return 0;
    if (byte >= 0x80 || byte == '_' || (byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z'))
        return 1;
    return 2;
}

}  // namespace

size_t utf8CharLength(std::string_view text, size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 1;
    }
    if (pos + length > text.size()) return 1;
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    if (second < low || second > high) return 1;
    for (size_t i = 2; i < length; ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[pos + i]))) return 1;
    }
    return length;
}

EditText::EditText(bool multiLine) : multiLine_(multiLine) { index(); }

void EditText::assign(std::string text) {
    text_ = std::move(text);
    index();
}

void EditText::replace(size_t start, size_t end, std::string_view with) {
    start = std::min(start, text_.size());
    end = std::min(std::max(start, end), text_.size());
    text_.replace(start, end - start, with);
    // Edits are typed or pasted into small boxes; the large pane is only ever set whole,
    // so a full re-index keeps this simple without costing the pane anything.
    index();
}

std::string_view EditText::slice(size_t start, size_t end) const {
    start = std::min(start, text_.size());
    end = std::min(std::max(start, end), text_.size());
    return std::string_view(text_).substr(start, end - start);
}

void EditText::index() {
    lineStarts_.clear();
    longest_ = 0;
    const char* data = text_.data();
    const size_t size = text_.size();
    size_t start = 0;
    for (;;) {
        lineStarts_.push_back(start);
        const void* found = multiLine_ ? std::memchr(data + start, '\n', size - start) : nullptr;
        if (!found) {
            longest_ = std::max(longest_, columns(start, size));
            break;
        }
        const size_t newline = static_cast<size_t>(static_cast<const char*>(found) - data);
        const size_t end = (newline > start && data[newline - 1] == '\r') ? newline - 1 : newline;
        longest_ = std::max(longest_, columns(start, end));
        start = newline + 1;
    }
}

size_t EditText::columns(size_t start, size_t end) const {
    size_t count = 0;
    size_t pos = start;
    while (pos < end) {
        if (static_cast<unsigned char>(text_[pos]) < 0x80) {
            ++pos;
        } else {
            pos += utf8CharLength(text_, pos);
        }
        ++count;
    }
    return count;
}

size_t EditText::lineEnd(size_t line) const {
    if (line + 1 >= lineStarts_.size()) return text_.size();
    size_t end = lineStarts_[line + 1] - 1;  // the LF
    if (end > lineStarts_[line] && text_[end - 1] == '\r') --end;
    return end;
}

size_t EditText::lineOf(size_t pos) const {
    const auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), pos);
    return static_cast<size_t>(it - lineStarts_.begin()) - 1;
}

size_t EditText::snap(size_t pos) const {
    pos = std::min(pos, text_.size());
    const size_t line = lineOf(pos);
    const size_t end = lineEnd(line);
    if (pos >= end) return end;  // inside a CR LF
    // Walk from the line start so malformed bytes split exactly as painting splits them;
    // only a few bytes back are needed, since a character is at most four bytes.
    size_t walk = std::max(lineStarts_[line], pos >= 3 ? pos - 3 : 0);
    while (walk > lineStarts_[line] && isContinuation(static_cast<unsigned char>(text_[walk]))) --walk;
    while (walk < pos) {
        const size_t next = walk + utf8CharLength(text_, walk);
        if (next > pos) return walk;
        walk = next;
    }
    return pos;
}

size_t EditText::next(size_t pos) const {
    pos = snap(pos);
    const size_t line = lineOf(pos);
    if (pos >= lineEnd(line)) return line + 1 < lineCount() ? lineStarts_[line + 1] : pos;
    return pos + utf8CharLength(text_, pos);
}

size_t EditText::previous(size_t pos) const {
    pos = snap(pos);
    const size_t line = lineOf(pos);
    if (pos == lineStarts_[line]) return line > 0 ? lineEnd(line - 1) : 0;
    return snap(pos - 1);
}

size_t EditText::columnOf(size_t pos) const {
    pos = snap(pos);
    return columns(lineStarts_[lineOf(pos)], pos);
}

size_t EditText::positionAtColumn(size_t line, size_t column) const {
    size_t pos = lineStarts_[line];
    const size_t end = lineEnd(line);
    for (size_t i = 0; i < column && pos < end; ++i) pos += utf8CharLength(text_, pos);
    return pos;
}

void EditText::wordAt(size_t pos, size_t& start, size_t& end) const {
    pos = snap(pos);
    const size_t line = lineOf(pos);
    const size_t lineBegin = lineStarts_[line];
    const size_t lineStop = lineEnd(line);
    if (lineBegin == lineStop) {
        start = end = pos;
        return;
    }
    if (pos == lineStop) pos = snap(pos - 1);
    const int kind = charClass(static_cast<unsigned char>(text_[pos]));
    start = pos;
    while (start > lineBegin && charClass(static_cast<unsigned char>(text_[start - 1])) == kind) --start;
    end = pos;
    while (end < lineStop && charClass(static_cast<unsigned char>(text_[end])) == kind) ++end;
    start = snap(start);
}

size_t EditText::nextWord(size_t pos) const {
    pos = snap(pos);
    const size_t line = lineOf(pos);
    const size_t lineStop = lineEnd(line);
    if (pos >= lineStop) return next(pos);
    const int kind = charClass(static_cast<unsigned char>(text_[pos]));
    while (pos < lineStop && kind != 0 && charClass(static_cast<unsigned char>(text_[pos])) == kind) ++pos;
    while (pos < lineStop && charClass(static_cast<unsigned char>(text_[pos])) == 0) ++pos;
    return snap(pos);
}

size_t EditText::previousWord(size_t pos) const {
    pos = snap(pos);
    const size_t line = lineOf(pos);
    const size_t lineBegin = lineStarts_[line];
    if (pos == lineBegin) return previous(pos);
    while (pos > lineBegin && charClass(static_cast<unsigned char>(text_[pos - 1])) == 0) --pos;
    if (pos == lineBegin) return pos;
    const int kind = charClass(static_cast<unsigned char>(text_[pos - 1]));
    while (pos > lineBegin && charClass(static_cast<unsigned char>(text_[pos - 1])) == kind) --pos;
    return snap(pos);
}

}  // namespace winapi
