// The input language of fuzz_program: bytes read as a script of things a user does.
#pragma once

#include <cstdint>
#include <string>

// Each step starts with an opcode byte; the bytes it needs follow. A script that ends in the
// middle of a step ends there.
enum ProgramOp : uint8_t {
    kOpKey = 0,       // key index (into the table of keys the program knows), modifier bits
    kOpType = 1,      // one byte, typed as a character
    kOpClick = 2,     // column, row
    kOpResize = 3,    // columns, rows (kept in 1..200 and 1..80)
    kOpOpen = 4,      // Ctrl+O, the fixture's path, Enter
    kOpRefresh = 5,   // F5
    kOpRewrite = 6,   // length byte, then that many bytes become the fixture on disk
    kOpMouse = 7,     // kind (double click, drag, wheel), column, row, and a second cell
    kOpCount = 8,
};

// Appends steps to a script, for the seed corpus.
class ProgramScript {
public:
    ProgramScript& key(uint8_t index, uint8_t mods = 0) { return add({kOpKey, index, mods}); }
    ProgramScript& type(const std::string& text) {
        for (char c : text) add({kOpType, static_cast<uint8_t>(c)});
        return *this;
    }
    ProgramScript& click(uint8_t col, uint8_t row) { return add({kOpClick, col, row}); }
    ProgramScript& resize(uint8_t cols, uint8_t rows) { return add({kOpResize, cols, rows}); }
    ProgramScript& open() { return add({kOpOpen}); }
    ProgramScript& refresh() { return add({kOpRefresh}); }
    ProgramScript& rewrite(const std::string& bytes) {
        add({kOpRewrite, static_cast<uint8_t>(bytes.size())});
        bytes_ += bytes.substr(0, 255);
        return *this;
    }
    const std::string& bytes() const { return bytes_; }

private:
    ProgramScript& add(std::initializer_list<uint8_t> step) {
        for (uint8_t b : step) bytes_.push_back(static_cast<char>(b));
        return *this;
    }
    std::string bytes_;
};
