// The chunk tree builder: walks a chunk file into the tree control's items and the
// records table that holds every data chunk's bytes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

class File;
struct ChunkHeader;

// One data chunk's bytes. A negative length marks a mini-chunk list of -length bytes.
struct ChunkData {
    int32_t length = 0;
    unsigned char* bytes = nullptr;
};

// The records of every data chunk in file order, depth first; owns every byte array.
class RecordsTable {
public:
    RecordsTable() = default;
    RecordsTable(const RecordsTable&) = delete;
    RecordsTable& operator=(const RecordsTable&) = delete;
    ~RecordsTable() { clear(); }

    // Frees every record's bytes and empties the table.
    void clear();
    // Appends a record; the table takes ownership of its bytes.
    void append(ChunkData record);
    size_t size() const { return records_.size(); }
    const ChunkData& operator[](size_t index) const { return records_[index]; }
    // The record at a tree item's lParam, or null when the index lies outside the table.
    const ChunkData* find(LPARAM index) const;

private:
    std::vector<ChunkData> records_;
};

// Containers nested deeper than this make the load fail: no real file comes near it, and
// it keeps a hostile file from exhausting the stack.
constexpr int kMaxChunkDepth = 1000;

// Loads `file` into the tree, reusing its existing items, and refills the records table.
void loadFile(HWND tree, RecordsTable& records, File* file);

// Shows the chunk sequence of `file` as the children of `parentItem`; `depth` counts the
// containers above it.
void fillTree(HWND tree, RecordsTable& records, HTREEITEM parentItem, File* file, int depth = 0);

// Deletes every descendant of `item`; the item itself stays.
void deleteSubtree(HWND tree, HTREEITEM item);

// The tree label of a chunk: type and body length, eight lower-case hex digits each.
std::string chunkLabel(uint32_t type, uint32_t sizeWord);

// The same label written into a buffer, terminated, without an allocation (the load makes
// one per chunk).
constexpr size_t kChunkLabelSize = sizeof("00000000h (00000000h)");
void formatChunkLabel(uint32_t type, uint32_t sizeWord, char (&out)[kChunkLabelSize]);
