// A small window holding the controls the views talk to: the tree, the width box (an edit
// with its up-down) and the data pane, created as the program creates them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "support/Platform.h"
#include "support/ViewWindows.h"
#include "view/ChunkTree.h"

class ViewHost : public ViewWindows {
public:
    ViewHost();
    ~ViewHost();
    ViewHost(const ViewHost&) = delete;
    ViewHost& operator=(const ViewHost&) = delete;

    // Loads the file at `path` into the tree and the table, as a command does.
    void load(const std::string& path);
    std::string paneText() const;
    void setWidthText(const char* text);

    RecordsTable records;

    // Every selection change the tree reported: the new item's lParam and the number of
    // records the table held at that moment. Each one is shown, as the program does.
    struct Selection {
        LPARAM index;
        size_t recordsAtThatTime;
    };
    std::vector<Selection> selections;

private:
    static LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    PlatformScope platform_;
};
