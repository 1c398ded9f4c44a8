// The open dialog as the layer runs it: a modal box listing a folder, with a file-name
// box, a file-type row and Open/Cancel buttons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "comdlg32/file_filter.h"

namespace winapi {

struct OpenDialogOptions {
    HWND owner = nullptr;
    std::string title = "Open";
    std::string folder;       // absolute: where the listing starts
    std::string initialName;  // put in the file-name box
    std::vector<FileFilter> filters;
    size_t filterIndex = 0;  // into filters
    std::string defaultExtension;
    bool pathMustExist = false;
    bool fileMustExist = false;
    bool showHidden = false;
};

struct OpenDialogResult {
    bool chosen = false;  // false: cancelled
    std::string path;     // absolute
    size_t filterIndex = 0;
};

// Runs the dialog modally on the window system's queue until a file is chosen or the
// dialog is cancelled (Esc, Cancel, or the input running out).
OpenDialogResult runOpenDialog(const OpenDialogOptions& options);

}  // namespace winapi
