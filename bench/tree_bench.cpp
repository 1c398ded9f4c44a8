// Painting the tree and moving its selection: 1,000,000 items must cost what 100 cost.
#include <windows.h>
#include <commctrl.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "display/headless.h"
#include "ratio_reporter.h"
#include "user32/paint.h"

namespace {

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HTREEITEM insertItem(HWND tree, HTREEITEM parent, const char* text, LPARAM lParam, int children) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.lParam = lParam;
    insert.item.cChildren = children;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

// The viewer's shape: a root over containers of `perContainer` data chunks, every
// container expanded, `items` items in all.
void fill(HWND tree, size_t items, size_t perContainer) {
    HTREEITEM root = insertItem(tree, TVI_ROOT, "Chunk File", -1, 1);
    size_t made = 1;
    char label[48];
    HTREEITEM container = nullptr;
    size_t inContainer = perContainer;
    while (made < items) {
        if (inContainer == perContainer) {
            std::snprintf(label, sizeof label, "%08zxh (%08zxh)", made, made);
            container = insertItem(tree, root, label, -1, 1);
            inContainer = 0;
            ++made;
            continue;
        }
        std::snprintf(label, sizeof label, "%08zxh (%08zxh)", made, made * 16);
        insertItem(tree, container, label, static_cast<LPARAM>(made), 0);
        ++inContainer;
        ++made;
    }
    for (HTREEITEM item = root; item;) {
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        HTREEITEM child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        item = item == root ? child
                            : reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
}

// One Down key in the focused tree and a repaint of the screen; back to the top at the end.
void downAndPaint(benchmark::State& state, size_t items) {
    winapi::ScopedHeadless headless(100, 40);
    InitCommonControls();
    WNDCLASSA cls{};
    cls.lpfnWndProc = parentProc;
    cls.lpszClassName = "TreeBenchParent";
    RegisterClassA(&cls);
    const HWND parent = CreateWindowExA(0, cls.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 700, 600, nullptr,
                                        nullptr, nullptr, nullptr);
    const HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                      WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0,
                                      400, 600, parent, nullptr, nullptr, nullptr);
    const auto start = std::chrono::steady_clock::now();
    fill(tree, items, 1000);
    const std::chrono::duration<double> loaded = std::chrono::steady_clock::now() - start;
    SetFocus(tree);
    SendMessageA(tree, WM_KEYDOWN, VK_HOME, 1);
    winapi::composeScreen();
    for (auto _ : state) {
        const LRESULT before = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
        SendMessageA(tree, WM_KEYDOWN, VK_DOWN, 1);
        if (SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == before) SendMessageA(tree, WM_KEYDOWN, VK_HOME, 1);
        winapi::composeScreen();
    }
    state.counters["items"] = static_cast<double>(SendMessageA(tree, TVM_GETCOUNT, 0, 0));
    state.counters["load_s"] = loaded.count();
    DestroyWindow(parent);
}
}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("DownAndPaint/100", downAndPaint, size_t{100})->Iterations(5000);
    benchmark::RegisterBenchmark("DownAndPaint/1000000", downAndPaint, size_t{1000000})->Iterations(5000);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto small = reporter.times.find("DownAndPaint/100");
    const auto large = reporter.times.find("DownAndPaint/1000000");
    if (small != reporter.times.end() && large != reporter.times.end() && small->second > 0) {
        const double ratio = large->second / small->second;
        std::printf("paint+Down, 1,000,000 vs 100 items: %.2fx (goal: within 2x) %s\n", ratio,
                    ratio <= 2.0 ? "ok" : "OVER");
    }
    benchmark::Shutdown();
    return 0;
}
