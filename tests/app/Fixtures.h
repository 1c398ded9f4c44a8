// The chunk files the shell tests open, and the pane texts they expect.
#pragma once

#include <string>

#include "support/ChunkFileBuilder.h"

// A data chunk 12h holding `greeting`, a container 20h with a mini-chunk list 21h and
// the data chunk 22h "abc", and an empty data chunk 30h.
inline std::string sampleFile(const std::string& greeting = "Hi there!") {
    ChunkFileBuilder file;
    file.data(0x12, greeting)
        .container(0x20,
                   [](ChunkFileBuilder& inside) {
                       inside.data(0x21, bytesOf({0x01, 0x02, 0x41, 0x42, 0x0a, 0x01, 0x7a}));
                       inside.data(0x22, "abc");
                   })
        .data(0x30, "");
    return file.bytes();
}

// "Hi there!" dumped in one row of `width` bytes (width 9 or more).
inline std::string hiThereRow(int width) {
    return "48 69 20 74 68 65 72 65 21 " + std::string(static_cast<size_t>(width - 9) * 3, ' ') +
           " | Hi there!\r\n";
}

// "Hi there!" dumped one byte per row.
inline std::string hiThereByByte() {
    return "48  | H\r\n69  | i\r\n20  |  \r\n74  | t\r\n68  | h\r\n"
           "65  | e\r\n72  | r\r\n65  | e\r\n21  | !\r\n";
}

// "Hi there!" dumped eight bytes per row.
inline std::string hiThereByEight() {
    return "48 69 20 74 68 65 72 65  | Hi there\r\n21 " + std::string(21, ' ') + " | !\r\n";
}
