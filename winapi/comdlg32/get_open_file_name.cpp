// GetOpenFileNameA and CommDlgExtendedError: the structure's checks, the dialog's
// options taken from it, and the chosen path written back without overrunning the buffer.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "comdlg32/folder_listing.h"
#include "comdlg32/open_dialog.h"

namespace winapi {

namespace {

DWORD g_lastError = 0;

// Hooks, templates and multiple selection are not offered by this dialog.
constexpr DWORD kUnsupportedFlags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE | OFN_ALLOWMULTISELECT;

BOOL fail(DWORD error) {
    g_lastError = error;
    return FALSE;
}

// `customFirst` tells whether the program's custom filter was put first, as index 0.
OpenDialogOptions optionsFrom(const OPENFILENAMEA& ofn, bool& customFirst) {
    OpenDialogOptions options;
    options.owner = ofn.hwndOwner;
    if (ofn.lpstrTitle && *ofn.lpstrTitle) options.title = ofn.lpstrTitle;
    std::vector<FileFilter> custom;
    if (ofn.lpstrCustomFilter && ofn.nMaxCustFilter > 0 && *ofn.lpstrCustomFilter) {
        custom = parseFilters(ofn.lpstrCustomFilter);
    }
    options.filters = parseFilters(ofn.lpstrFilter);
    if (ofn.nFilterIndex == 0 && !custom.empty()) {
        options.filters.insert(options.filters.begin(), custom.front());
        customFirst = true;
    } else if (ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= options.filters.size()) {
        options.filterIndex = ofn.nFilterIndex - 1;
    }
    options.folder = currentFolder();
    const std::string initial = ofn.lpstrFile ? std::string(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile)) : "";
    if (ofn.lpstrInitialDir && *ofn.lpstrInitialDir && isFolder(resolvePath(options.folder, ofn.lpstrInitialDir))) {
        options.folder = resolvePath(options.folder, ofn.lpstrInitialDir);
    }
    options.initialName = initial;
    if (ofn.lpstrDefExt) options.defaultExtension = ofn.lpstrDefExt;
    options.pathMustExist = (ofn.Flags & OFN_PATHMUSTEXIST) != 0;
    options.fileMustExist = (ofn.Flags & OFN_FILEMUSTEXIST) != 0;
    options.showHidden = (ofn.Flags & OFN_FORCESHOWHIDDEN) != 0;
    return options;
}

// Offsets of the name and of its extension, as the structure reports them: the extension
// offset is that of the terminating zero when there is none, and 0 for a trailing dot.
void fillOffsets(OPENFILENAMEA& ofn, const std::string& path) {
    const size_t nameStart = path.rfind('/') + 1;
    ofn.nFileOffset = static_cast<WORD>(std::min<size_t>(nameStart, 0xFFFF));
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        ofn.nFileExtension = static_cast<WORD>(std::min<size_t>(path.size(), 0xFFFF));
    } else if (dot + 1 == path.size()) {
        ofn.nFileExtension = 0;
    } else {
        ofn.nFileExtension = static_cast<WORD>(std::min<size_t>(dot + 1, 0xFFFF));
    }
}

}  // namespace

}  // namespace winapi

using namespace winapi;

extern "C" {

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) {
    g_lastError = 0;
    if (ofn == nullptr) return fail(CDERR_INITIALIZATION);
    if (ofn->lStructSize != sizeof(OPENFILENAMEA) && ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A) {
        return fail(CDERR_STRUCTSIZE);
    }
    if (ofn->lpstrFile == nullptr || ofn->nMaxFile == 0) return fail(CDERR_INITIALIZATION);
    if (ofn->Flags & kUnsupportedFlags) return fail(CDERR_DIALOGFAILURE);

    bool customFirst = false;
    const OpenDialogResult result = runOpenDialog(optionsFrom(*ofn, customFirst));
    if (!result.chosen) return FALSE;  // cancelled: error 0

    const std::string& path = result.path;
    if (path.size() + 1 > ofn->nMaxFile) {
        // The platform reports the size needed in the buffer's first two bytes.
        if (ofn->nMaxFile >= 2) {
            const WORD needed = static_cast<WORD>(std::min<size_t>(path.size() + 1, 0xFFFF));
            std::memcpy(ofn->lpstrFile, &needed, sizeof needed);
        }
        return fail(FNERR_BUFFERTOOSMALL);
    }
    std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
    fillOffsets(*ofn, path);
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
        const std::string title = path.substr(ofn->nFileOffset);
        const size_t copied = std::min<size_t>(title.size(), ofn->nMaxFileTitle - 1);
        std::memcpy(ofn->lpstrFileTitle, title.data(), copied);
        ofn->lpstrFileTitle[copied] = '\0';
    }
    ofn->nFilterIndex = static_cast<DWORD>(customFirst ? result.filterIndex : result.filterIndex + 1);
    return TRUE;
}

DWORD WINAPI CommDlgExtendedError(void) { return g_lastError; }

}  // extern "C"
