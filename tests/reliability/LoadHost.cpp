// The headless host the reliability tests load chunk files into.
#include "LoadHost.h"

#include <exception>
#include <stdexcept>

#include "file/File.h"
#include "file/PhysicalFile.h"
#include "view/ChunkDataView.h"

namespace {

const char kHostClass[] = "ReliabilityHost";

HTREEITEM nextItem(HWND tree, HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

bool isReadFailure(const std::string& message) {
    return message == "Unable to read chunk header" || message == "Unable to read chunk data";
}

LoadHost::LoadHost() {
    static_cast<ViewWindows&>(*this) = createViewWindows(kHostClass, DefWindowProcA, this);
}

LoadHost::~LoadHost() { destroyViewWindows(*this, kHostClass); }

std::string LoadHost::load(File* file) {
    std::string failure;
    try {
        loadFile(tree, records, file);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    file->release();
    return failure;
}

std::string LoadHost::loadPath(const std::string& path) {
    File* file = nullptr;
    try {
        file = new PhysicalFile(path);
    } catch (const std::exception& e) {
        return e.what();
    }
    return load(file);
}

std::vector<ShownItem> LoadHost::items() const {
    std::vector<ShownItem> shown;
    HTREEITEM item = nextItem(tree, nullptr, TVGN_ROOT);
    int depth = 0;
    while (item) {
        char text[64] = "";
        TVITEMA query = {};
        query.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
        query.hItem = item;
        query.pszText = text;
        query.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
        shown.push_back({depth, text, query.lParam, query.cChildren});
        HTREEITEM next = nextItem(tree, item, TVGN_CHILD);
        if (next) {
            ++depth;
        } else {
            while (item && !(next = nextItem(tree, item, TVGN_NEXT))) {
                item = nextItem(tree, item, TVGN_PARENT);
                --depth;
            }
        }
        item = next;
    }
    return shown;
}

void LoadHost::showEveryItem(int32_t width) {
    for (const ShownItem& item : items()) {
        if (item.children) continue;
        const ChunkData* record = records.find(item.index);
        if (record)
            showChunkData(pane, record->bytes, record->length, width);
        else
            showRecord(records, nullptr, pane, item.index);
    }
}

std::string LoadHost::paneText() const {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(pane)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(pane, &text[0], static_cast<int>(text.size()))));
    return text;
}
