// The controls the chunk views talk to, in a headless window, for the fuzz targets.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "support/ViewWindows.h"
#include "view/ChunkTree.h"

// A main window with the tree, the width box and the data pane, made once per process and
// emptied before each input so that every input starts from the same state. Selection
// changes are shown as the program shows them, also while a load is rewriting the tree.
class ViewerHost : public ViewWindows {
public:
    // The one host of this process, on a headless device.
    static ViewerHost& instance();

    // Deletes every item and empties the records table and the pane.
    void reset();
    // Loads bytes as a chunk file into the tree and the table; false when the load failed.
    bool load(const std::string& bytes);
    // Selects the last item of the tree (depth first), as a user would before a reload.
    void selectLastItem();

    RecordsTable records;

private:
    ViewerHost();
    static LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
