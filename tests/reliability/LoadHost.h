// A headless window with the tree and the data pane, loading files as the commands do and
// reading back what the tree shows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "support/Platform.h"
#include "support/ViewWindows.h"
#include "view/ChunkTree.h"

class File;

// One tree item as the user sees it, with the record index behind it.
struct ShownItem {
    int depth = 0;  // 0 for the root
    std::string text;
    LPARAM index = -1;
    int children = 0;
    bool operator==(const ShownItem& other) const {
        return depth == other.depth && text == other.text && index == other.index &&
               children == other.children;
    }
};

class LoadHost : public ViewWindows {
public:
    LoadHost();
    ~LoadHost();
    LoadHost(const LoadHost&) = delete;
    LoadHost& operator=(const LoadHost&) = delete;

    // Loads `file` (taking over the caller's reference) as a command does; returns "" when the
    // load succeeded, else the exception's text.
    std::string load(File* file);
    // The same for a file on disk.
    std::string loadPath(const std::string& path);
    // Every item, depth first, without recursion (files nest deeply).
    std::vector<ShownItem> items() const;
    // Shows the record behind every data item, and indices just outside the table, at the
    // given width; the pane's text for the last data item.
    void showEveryItem(int32_t width);
    std::string paneText() const;

    RecordsTable records;

private:
    PlatformScope platform_;
};

// The failures a load may report for a damaged file.
bool isReadFailure(const std::string& message);
