// Painting and paging through the data pane: 300 MB of text must cost what 3 KB costs.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "display/headless.h"
#include "ratio_reporter.h"
#include "user32/paint.h"

namespace {

// Hex dump rows like the pane shows, with CR LF breaks, until `bytes` long.
std::string dumpText(size_t bytes) {
    const std::string row = "00000000  3f 41 42 43 44 45 46 47  48 49 4a 4b 4c 4d 4e 4f  | ?ABCDEFGHIJKLMNO\r\n";
    std::string text;
    text.reserve(bytes + row.size());
    unsigned offset = 0;
    char hex[9];
    while (text.size() < bytes) {
        std::snprintf(hex, sizeof hex, "%08x", offset);
        text += row;
        text.replace(text.size() - row.size(), 8, hex);
        offset += 16;
    }
    return text;
}

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// One PgDn in the focused pane and a repaint of the screen; back to the top at the end.
void pageAndPaint(benchmark::State& state, size_t bytes) {
    winapi::ScopedHeadless headless(100, 40);
    WNDCLASSA cls{};
    cls.lpfnWndProc = parentProc;
    cls.lpszClassName = "EditBenchParent";
    RegisterClassA(&cls);
    const HWND parent = CreateWindowExA(0, cls.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 700, 600, nullptr,
                                        nullptr, nullptr, nullptr);
    const HWND pane = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY,
                                      0, 30, 700, 570, parent, nullptr, nullptr, nullptr);
    {
        const std::string text = dumpText(bytes);
        SetWindowTextA(pane, text.c_str());
    }
    SetFocus(pane);
    winapi::composeScreen();
    for (auto _ : state) {
        const LRESULT before = SendMessageA(pane, EM_GETFIRSTVISIBLELINE, 0, 0);
        SendMessageA(pane, WM_KEYDOWN, VK_NEXT, 1);
        if (SendMessageA(pane, EM_GETFIRSTVISIBLELINE, 0, 0) == before) {
            SendMessageA(pane, EM_SETSEL, 0, 0);
            SendMessageA(pane, EM_SCROLLCARET, 0, 0);
        }
        winapi::composeScreen();
    }
    state.counters["lines"] = static_cast<double>(SendMessageA(pane, EM_GETLINECOUNT, 0, 0));
    DestroyWindow(parent);
}
}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("PageAndPaint/3KB", pageAndPaint, size_t{3} << 10)->Iterations(5000);
    benchmark::RegisterBenchmark("PageAndPaint/300MB", pageAndPaint, size_t{300} << 20)->Iterations(5000);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto small = reporter.times.find("PageAndPaint/3KB");
    const auto large = reporter.times.find("PageAndPaint/300MB");
    if (small != reporter.times.end() && large != reporter.times.end() && small->second > 0) {
        const double ratio = large->second / small->second;
        std::printf("paint+PgDn, 300 MB vs 3 KB: %.2fx (goal: within 2x) %s\n", ratio, ratio <= 2.0 ? "ok" : "OVER");
    }
    benchmark::Shutdown();
    return 0;
}
