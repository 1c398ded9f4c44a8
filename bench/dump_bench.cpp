// The hex dump of 64 MiB in one data chunk, 16 bytes per row: the formatter against one copy
// of a buffer of its output's size, and the whole road from the key press to the filled pane.
#include <windows.h>
#include <commctrl.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "bench_files.h"
#include "bench_viewer.h"
#include "view/ChunkDataView.h"
#include "view/HexDump.h"

namespace {

constexpr size_t kDumpBytes = size_t{64} << 20;
constexpr int32_t kWidth = 16;

std::string g_dataDir;

const std::string& dumpBytes() {
    static const std::string bytes = [] {
        std::string raw;
        bench::dumpFiles(g_dataDir, kDumpBytes, &raw);
        return bench::readFile(raw);
    }();
    return bytes;
}

const unsigned char* dumpData() { return reinterpret_cast<const unsigned char*>(dumpBytes().data()); }

// The formatter alone: a fresh text of ~289 MB each time, as every selection makes one.
void formatHexDump64MiB(benchmark::State& state) {
    for (auto _ : state) {
        std::string text = formatHexDump(dumpData(), static_cast<int32_t>(kDumpBytes), kWidth, "");
        benchmark::DoNotOptimize(text.data());
        state.counters["text_bytes"] = static_cast<double>(text.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDumpBytes));
}

// The anchor: one memcpy of a ready text of the dump's size into a freshly allocated buffer
// (new char[], freed each time), so it pays the same fresh-page cost the formatter pays.
void copyDumpSizedBuffer(benchmark::State& state) {
    const std::string source = formatHexDump(dumpData(), static_cast<int32_t>(kDumpBytes), kWidth, "");
    for (auto _ : state) {
        std::unique_ptr<char[]> copy(new char[source.size()]);
        std::memcpy(copy.get(), source.data(), source.size());
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
    state.counters["text_bytes"] = static_cast<double>(source.size());
}

LRESULT CALLBACK paneParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// showRecord into a real read-only multi-line edit control: format, set the text, index it.
void showRecordIntoEdit(benchmark::State& state) {
    winapi::ScopedHeadless headless(120, 40);
    InitCommonControls();
    WNDCLASSA cls{};
    cls.lpfnWndProc = paneParentProc;
    cls.lpszClassName = "DumpBenchParent";
    RegisterClassA(&cls);
    const HWND parent = CreateWindowExA(0, cls.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 840, 600,
                                        nullptr, nullptr, nullptr, nullptr);
    const HWND pane = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY,
                                      400, 30, 440, 570, parent, nullptr, nullptr, nullptr);
    const HWND upDown = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent,
                                        nullptr, nullptr, nullptr);
    SendMessageA(upDown, UDM_SETRANGE32, 1, 0x7FFFFFFF);
    SendMessageA(upDown, UDM_SETPOS32, 0, kWidth);
    RecordsTable records;
    auto* bytes = new unsigned char[kDumpBytes];
    std::memcpy(bytes, dumpData(), kDumpBytes);
    records.append(ChunkData{static_cast<int32_t>(kDumpBytes), bytes});
    for (auto _ : state) {
        state.PauseTiming();
        SetWindowTextA(pane, "");
        state.ResumeTiming();
        showRecord(records, upDown, pane, 0);
    }
    state.counters["pane_bytes"] = static_cast<double>(GetWindowTextLengthA(pane));
    DestroyWindow(parent);
}

// What a person waits for: with the 64 MiB chunk's file open and the root selected, Down
// selects the chunk; the pane is filled and the screen painted before the loop runs dry.
void downKeyShowsChunk(benchmark::State& state) {
    const std::string path = bench::dumpFiles(g_dataDir, kDumpBytes);
    bench::HeadlessViewer viewer;
    viewer.open(path);
    viewer.press(VK_HOME);
    for (auto _ : state) {
        state.PauseTiming();
        viewer.press(VK_HOME);  // back to the root: the pane empties
        state.ResumeTiming();
        viewer.press(VK_DOWN);
        state.PauseTiming();
        if (viewer.paneLength() == 0) state.SkipWithError("Down did not fill the pane");
        state.ResumeTiming();
    }
    state.counters["pane_bytes"] = static_cast<double>(viewer.paneLength());
}

}  // namespace

int main(int argc, char** argv) {
    g_dataDir = bench::takeDataDir(argc, argv);
    // --write-data only makes the files, for the external dumpers run on the same bytes.
    if (bench::takeOption(argc, argv, "write-data") == "1") {
        std::string raw;
        std::printf("%s\n", bench::dumpFiles(g_dataDir, kDumpBytes, &raw).c_str());
        std::printf("%s\n", raw.c_str());
        return 0;
    }
    benchmark::RegisterBenchmark("Dump/formatHexDump", formatHexDump64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Dump/copyAnchor", copyDumpSizedBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Dump/showRecord", showRecordIntoEdit)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Dump/downKey", downKeyShowsChunk)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
