// Fuzz target: any bytes loaded as a chunk file into the tree, every record shown at several
// widths, then other bytes loaded into the same tree (the refresh path).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ViewerHost.h"
#include "view/ChunkDataView.h"

namespace {

// Separates the first file from the second; without it the second load reads the first
// file cut short by a third, as a refresh after the file lost its tail.
const std::string kReloadMark = "--tarnholm-reload--";

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_load: %s\n", what);
    std::abort();
}

// Every data item's lParam is a record index, every container's -1, and all of them lie in
// the table after a load that succeeded.
void checkTreeAgreesWithTable(ViewerHost& host) {
    HWND tree = host.tree;
    size_t dataItems = 0;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    // Depth first without recursion: files nest deeply.
    while (item) {
        TVITEMA query = {};
        query.mask = TVIF_PARAM | TVIF_CHILDREN;
        query.hItem = item;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
        if (query.cChildren == 0) {
            check(query.lParam == static_cast<LPARAM>(dataItems), "data items out of order");
            ++dataItems;
        } else {
            check(query.lParam == -1, "container item with a record index");
        }
        HTREEITEM next = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        while (!next && item) {
            next = reinterpret_cast<HTREEITEM>(
                SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
            if (!next)
                item = reinterpret_cast<HTREEITEM>(SendMessageA(
                    tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
        }
        item = next;
    }
    check(dataItems == host.records.size(), "tree and table disagree on the data chunks");
}

void showEveryRecord(ViewerHost& host) {
    for (int32_t width : {0, 1, 16, 4097}) {
        for (size_t i = 0; i < host.records.size(); ++i) {
            const ChunkData& record = host.records[i];
            showChunkData(host.pane, record.bytes, record.length, width);
        }
    }
    // Through the width box, and with indices a failed load can leave behind.
    for (LPARAM index = -1; index <= static_cast<LPARAM>(host.records.size()); ++index)
        showRecord(host.records, host.upDown, host.pane, index);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string first = input;
    std::string second;
    const size_t mark = input.find(kReloadMark);
    if (mark != std::string::npos) {
        first = input.substr(0, mark);
        second = input.substr(mark + kReloadMark.size());
    } else {
        second = input.substr(0, size - size / 3);
    }

    ViewerHost& host = ViewerHost::instance();
    host.reset();
    if (host.load(first)) checkTreeAgreesWithTable(host);
    showEveryRecord(host);

    host.selectLastItem();
    if (host.load(second)) checkTreeAgreesWithTable(host);
    showEveryRecord(host);
    return 0;
}
