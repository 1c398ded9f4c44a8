// The menu bar's layout, shared by its painting, its hit-testing and the modal run.
#pragma once

#include <windows.h>

#include <vector>

namespace winapi {

// One title of the bar, drawn as " Label " from column `left` (relative to the bar).
struct MenuBarTitle {
    int index = 0;  // position of the item in the bar's menu
    int left = 0;
    int width = 0;
};

std::vector<MenuBarTitle> menuBarLayout(HMENU menu);

// The title the running menu of `menu` highlights, or -1 when it is not running.
int menuBarHighlight(HMENU menu);

}  // namespace winapi
