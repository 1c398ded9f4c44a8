// The text of an edit control with its line index: stored once, indexed once per change.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace winapi {

// Bytes taken by the character at `pos`: a whole UTF-8 sequence when it is well formed,
// otherwise the single byte (shown as a stand-in). Every character is one column wide.
size_t utf8CharLength(std::string_view text, size_t pos);

// Narrow text split into lines at CR LF or a bare LF. Positions are byte offsets; a
// line's end is the offset of its break, so the break itself belongs to no line.
class EditText {
public:
    // A single-line text keeps its breaks inside its one line, shown as stand-ins.
    explicit EditText(bool multiLine = true);

    // Replaces the whole text and rebuilds the index.
    void assign(std::string text);
    // Replaces the bytes [start, end) with `with`; positions are clamped to the text.
    void replace(size_t start, size_t end, std::string_view with);

    const std::string& str() const { return text_; }
    size_t size() const { return text_.size(); }
    std::string_view slice(size_t start, size_t end) const;

    size_t lineCount() const { return lineStarts_.size(); }
    size_t lineStart(size_t line) const { return lineStarts_[line]; }
    size_t lineEnd(size_t line) const;
    size_t lineOf(size_t pos) const;
    // Columns of the widest line, found when the text is set.
    size_t longestLineColumns() const { return longest_; }

    // The character boundary at or before `pos`, never between the CR and LF of a break.
    size_t snap(size_t pos) const;
    // One character on; a line break counts as one character.
    size_t next(size_t pos) const;
    size_t previous(size_t pos) const;
    // Columns from the start of pos's line to pos.
    size_t columnOf(size_t pos) const;
    // The position on `line` at `column`, or the line's end when the line is shorter.
    size_t positionAtColumn(size_t line, size_t column) const;
    // The word around `pos`: a run of letters, digits and '_' (or of other non-blank
    // characters), as a double-click selects it.
    void wordAt(size_t pos, size_t& start, size_t& end) const;
    // Start of the next word after `pos`, and of the word before it (Ctrl+arrows).
    size_t nextWord(size_t pos) const;
    size_t previousWord(size_t pos) const;

private:
    size_t columns(size_t start, size_t end) const;
    void index();

    bool multiLine_ = true;
    std::string text_;
    std::vector<size_t> lineStarts_;
    size_t longest_ = 0;
};

}  // namespace winapi
