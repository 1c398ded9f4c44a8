// The chunk walk: reads chunk headers and bodies and rewrites the tree items in place.
#include "view/ChunkTree.h"

#include <algorithm>
#include <cstring>

#include "chunk/ChunkReader.h"
#include "chunk/MiniChunkList.h"
#include "file/File.h"
#include "file/SubFile.h"
#include "file/IOException.h"

void RecordsTable::clear() {
    for (ChunkData& record : records_) delete[] record.bytes;
    records_.clear();
}

void RecordsTable::append(ChunkData record) {
    try {
        records_.push_back(record);
    } catch (...) {
        delete[] record.bytes;
        throw;
    }
}

const ChunkData* RecordsTable::find(LPARAM index) const {
    if (index < 0 || static_cast<size_t>(index) >= records_.size()) return nullptr;
    return &records_[static_cast<size_t>(index)];
}

void formatChunkLabel(uint32_t type, uint32_t sizeWord, char (&out)[kChunkLabelSize]) {
    static const char digits[] = "0123456789abcdef";
    const uint32_t length = sizeWord & 0x7FFFFFFF;
    std::memcpy(out, "00000000h (00000000h)", kChunkLabelSize);
    for (int i = 0; i < 8; ++i) {
        out[7 - i] = digits[(type >> (4 * i)) & 0xF];
        out[18 - i] = digits[(length >> (4 * i)) & 0xF];
    }
}

std::string chunkLabel(uint32_t type, uint32_t sizeWord) {
    char label[kChunkLabelSize];
    formatChunkLabel(type, sizeWord, label);
    return label;
}

namespace {

// Releases a header's body however the walk leaves the chunk.
class BodyGuard {
public:
    explicit BodyGuard(ChunkHeader& header) : header_(header) {}
    BodyGuard(const BodyGuard&) = delete;
    BodyGuard& operator=(const BodyGuard&) = delete;
    ~BodyGuard() { releaseChunkBody(header_); }

private:
    ChunkHeader& header_;
};

HTREEITEM nextItem(HWND tree, HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

TVITEMA itemData(HTREEITEM item, char* label, bool container, LPARAM index) {
    TVITEMA data = {};
    data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    data.hItem = item;
    data.pszText = label;
    data.cChildren = container ? 1 : 0;
    data.lParam = container ? -1 : index;
    return data;
}

HTREEITEM insertItem(HWND tree, HTREEITEM parent, HTREEITEM after, TVITEMA data) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item = data;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void deleteItem(HWND tree, HTREEITEM item) {
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

// Appends a data chunk's body to the table, marking a mini-chunk list by a negative length.
void appendRecord(RecordsTable& records, const ChunkHeader& header) {
    unsigned char* bytes = readChunkData(header);
    int32_t length = static_cast<int32_t>(header.bodyLength());
    if (header.bodyLength() < miniChunkListLimit && isMiniChunkList(bytes, header.bodyLength()))
        length = -length;
    records.append(ChunkData{length, bytes});
}

}  // namespace

void deleteSubtree(HWND tree, HTREEITEM item) {
    while (HTREEITEM child = nextItem(tree, item, TVGN_CHILD)) {
        deleteSubtree(tree, child);
        deleteItem(tree, child);
    }
}

void fillTree(HWND tree, RecordsTable& records, HTREEITEM parentItem, File* file, int depth) {
    HTREEITEM reuse = nextItem(tree, parentItem, TVGN_CHILD);
    while (!file->eof()) {
        ChunkHeader header;
        readChunkHeader(header, *file);
        BodyGuard guard(header);
        const uint32_t dataStart = file->tell();
        const uint32_t length = header.bodyLength();
        const bool container = header.isContainer();

        char label[kChunkLabelSize];
        formatChunkLabel(header.type, header.sizeWord, label);
        TVITEMA data = itemData(reuse, label, container, static_cast<LPARAM>(records.size()));
        HTREEITEM item;
        if (reuse) {
            if (!container) deleteSubtree(tree, reuse);
            SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
            item = reuse;
        } else {
            item = insertItem(tree, parentItem, TVI_LAST, data);
        }

        if (container) {
            if (depth + 1 >= kMaxChunkDepth) throw IOException("Chunks nested too deeply");
            fillTree(tree, records, item, header.body, depth + 1);
        } else {
            appendRecord(records, header);
        }

        // The end of the body may lie past 4 GiB; stopping at the end of the file ends the
        // sequence instead of wrapping around to an earlier position.
        const uint64_t next = static_cast<uint64_t>(dataStart) + length;
        file->seek(static_cast<uint32_t>(std::min<uint64_t>(next, 0xFFFFFFFFu)));
        reuse = nextItem(tree, item, TVGN_NEXT);
    }
    while (reuse) {
        HTREEITEM next = nextItem(tree, reuse, TVGN_NEXT);
        deleteItem(tree, reuse);
        reuse = next;
    }
}

void loadFile(HWND tree, RecordsTable& records, File* file) {
    records.clear();
    HTREEITEM root = nextItem(tree, nullptr, TVGN_ROOT);
    if (!root) {
        char text[] = "Chunk File";
        root = insertItem(tree, nullptr, TVI_ROOT, itemData(nullptr, text, true, -1));
    }
    fillTree(tree, records, root, file);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}
