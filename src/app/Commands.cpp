// The commands behind the menu and the accelerators, and the width typed into the box.
#include "app/Commands.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "app/MainWindow.h"
#include "app/resource.h"
#include "file/PhysicalFile.h"
#include "view/ChunkDataView.h"
#include "view/ChunkTree.h"

namespace {

// Pairs of description and patterns; the literal's own zero ends the list.
const char kOpenFilter[] =
    "Ostrel Chunk Files (*.zmk, *.zmr, *.qvx, *.qzt, *.wyf)\0*.ZMK; *.ZMR; *.QVX; *.QZT; *.WYF\0"
    "All Files (*.*)\0*.*\0";

const DWORD kPathSize = 260;

const char kOpenFailed[] = "Unable to open the specified file";
const char kRefreshFailed[] = "Unable to refresh the opened file";

const char kAboutCaption[] = "About Tarnholm";
const char kAboutText[] =
    "Tarnholm\n\n"
    "A read-only viewer for chunk files: the file's chunks as a tree, and the selected "
    "data chunk's bytes as a hex dump or a mini-chunk listing.\n\n"
    "Ctrl+O opens a file, F5 reads it again, the Width box sets the bytes per row.";

// Holds the reference the command took on a file it opened, whatever way the command ends.
class FileReference {
public:
    explicit FileReference(File* file) : file_(file) {}
    ~FileReference() { file_->release(); }
    FileReference(const FileReference&) = delete;
    FileReference& operator=(const FileReference&) = delete;
    File* get() const { return file_; }

private:
    File* file_ = nullptr;
};

// Asks for a chunk file; false when the user cancelled or the dialog failed.
bool askForFile(const MainWindow& state, char (&path)[kPathSize]) {
    OPENFILENAMEA dialog = {};
    // The size without the later extension fields; it differs between 32 and 64 bits.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = state.hwndMain;
    dialog.hInstance = state.hInstance;
    dialog.lpstrFilter = kOpenFilter;
    dialog.nFilterIndex = 0;
    path[0] = '\0';
    dialog.lpstrFile = path;
    dialog.nMaxFile = kPathSize;
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    return GetOpenFileNameA(&dialog) != 0;
}

// The record index kept by the selected item, or nothing when no item is selected.
bool selectedIndex(const MainWindow& state, LPARAM& index) {
    HTREEITEM selected = reinterpret_cast<HTREEITEM>(
        SendMessageA(state.hwndTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!selected) return false;
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = selected;
    SendMessageA(state.hwndTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    index = item.lParam;
    return true;
}

void showError(const char* text) {
    MessageBoxA(nullptr, text, nullptr, MB_ICONERROR);
}

}  // namespace

void onOpen(MainWindow& state) {
    char path[kPathSize];
    if (!askForFile(state, path)) return;
    try {
        // Taken before the open, so a later Refresh works on the path the user chose.
        state.filePath = path;
        FileReference file(new PhysicalFile(state.filePath));
        SetWindowTextA(state.hwndData, "");
        loadFile(state.hwndTree, state.records, file.get());
        EnableMenuItem(GetMenu(state.hwndMain), ID_FILE_REFRESH, MF_BYCOMMAND | MF_ENABLED);
        SetFocus(state.hwndTree);
    } catch (const std::exception&) {
        showError(kOpenFailed);
    }
}

void onRefresh(MainWindow& state) {
    try {
        {
            FileReference file(new PhysicalFile(state.filePath));
            loadFile(state.hwndTree, state.records, file.get());
        }
        LPARAM index = 0;
        if (selectedIndex(state, index))
            showRecord(state.records, state.hwndUpDown, state.hwndData, index);
    } catch (const std::exception&) {
        showError(kRefreshFailed);
    }
}

void selectAll() {
    HWND focus = GetFocus();
    char className[256] = "";
    GetClassNameA(focus, className, sizeof className);
    // Only the system's edit class answers to exactly this spelling.
    if (std::strcmp(className, "Edit") == 0) SendMessageA(focus, EM_SETSEL, 0, -1);
}

void showAbout(MainWindow& state) {
    MessageBoxA(state.hwndMain, kAboutText, kAboutCaption, MB_OK | MB_ICONINFORMATION);
}

int32_t parseWidthText(const char* text) {
    // strtoul is 32 bits wide on Windows and 64 on Linux: convert the magnitude with the
    // library (its base rules), then saturate and negate in 32 bits as Windows does.
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    // strtoul takes one sign right before the digits; a second sign or a space there
    // leaves it without digits.
    if (*p == '-' || *p == '+' || std::isspace(static_cast<unsigned char>(*p))) return 0;
    unsigned long long magnitude = std::strtoull(p, nullptr, 0);
    uint32_t value = 0xFFFFFFFFu;
    if (magnitude <= 0xFFFFFFFFull) {
        value = static_cast<uint32_t>(magnitude);
        if (negative) value = 0u - value;
    }
    return static_cast<int32_t>(value);
}

void onWidthTyped(MainWindow& state) {
    char text[32] = "";
    GetWindowTextA(state.hwndWidthEdit, text, sizeof text);
    showWithWidth(state, parseWidthText(text));
}

void showWithWidth(MainWindow& state, int32_t width) {
    LPARAM index = 0;
    if (!selectedIndex(state, index) || index == -1) return;
    if (const ChunkData* record = state.records.find(index)) {
        showChunkData(state.hwndData, record->bytes, record->length, width);
    } else {
        // An index left behind by a failed load points at no record.
        SetWindowTextA(state.hwndData, "");
    }
}
