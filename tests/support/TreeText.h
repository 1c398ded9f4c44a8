// Reads a tree control back through its messages, as text, for exact comparisons.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// One line per item, depth first, indented two spaces per level:
// "<text> lParam=<n> children=<n>" plus " expanded" and " selected" where they hold.
std::string describeTree(HWND tree);

// Every item's handle, depth first.
std::vector<HTREEITEM> treeItems(HWND tree);

// An item's lParam.
LPARAM itemParam(HWND tree, HTREEITEM item);

// The item `path` leads to: indices of children from the top-level items down
// ({0} is the first top-level item, {0, 2} its third child); null when there is none.
HTREEITEM itemAt(HWND tree, const std::vector<int>& path);
