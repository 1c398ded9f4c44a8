// Returning the window system to its starting state between tests.
#include "user32/testing.h"

#include "user32/window.h"

namespace winapi {

void resetForTests() {
    // Program procedures may refer to a test's locals that are gone by now: only the
    // layer's own controls hear of their destruction, so they can free their state.
    for (HWND hwnd : allWindows()) {
        Window* window = findWindow(hwnd);
        if (!window) continue;
        bool layerClass = window->cls->system || (window->cls->style & CS_GLOBALCLASS);
        window->proc = layerClass ? window->cls->proc : DefWindowProcA;
    }
    resetInputState();
    for (HWND hwnd : std::vector<HWND>(topLevelOrder())) {
        if (findWindow(hwnd)) DestroyWindow(hwnd);
    }
    for (HWND hwnd : allWindows()) DestroyWindow(hwnd);
    unregisterProgramClasses();
    resetQueue();
    resetInputState();
    resetCaret();
    resetClipboard();
}

}  // namespace winapi
