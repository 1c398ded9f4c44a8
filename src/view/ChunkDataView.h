// The data pane's contents: a data chunk as a hex dump or as a mini-chunk listing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "view/ChunkTree.h"

// The listing of a mini-chunk list of `length` bytes: one block per mini-chunk, headed by
// its id and payload length, its payload dumped `width` bytes per row.
std::string formatMiniChunkList(const unsigned char* bytes, int32_t length, int32_t width);

// Fills the pane with a record's bytes (a negative length is a mini-chunk list); widths
// below 1 count as 1.
void showChunkData(HWND dataPane, const unsigned char* bytes, int32_t length, int32_t width);

// Shows the record behind a tree item's lParam at the width box's width (16 when the box
// holds no valid position); an index outside the table empties the pane.
void showRecord(const RecordsTable& records, HWND hwndUpDown, HWND dataPane, LPARAM index);
