// Loading a file of 1,000,000 chunks (and of 10,000) into the tree control and the records
// table, against the floor: an in-memory walk that only copies each body into its own array
// and appends a record. With --open-peak=PATH it opens PATH in the headless viewer and exits,
// for /usr/bin/time -v to read the peak resident memory.
#include <windows.h>
#include <commctrl.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <malloc.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench_files.h"
#include "bench_viewer.h"
#include "file/PhysicalFile.h"
#include "view/ChunkTree.h"

namespace {

std::string g_dataDir;

uint32_t wordAt(const std::string& bytes, size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// The design's floor: every body copied into its own new array, one record each, nothing
// else (no tree, no file reads, no labels).
void walkInMemory(const std::string& bytes, size_t begin, size_t end, std::vector<ChunkData>& records) {
    size_t at = begin;
    while (at + 8 <= end) {
        const uint32_t sizeWord = wordAt(bytes, at + 4);
        const size_t length = sizeWord & 0x7FFFFFFFu;
        const size_t body = at + 8;
        if (body + length > end) break;
        if (sizeWord & 0x80000000u) {
            walkInMemory(bytes, body, body + length, records);
        } else {
            auto* copy = new unsigned char[length];
            std::memcpy(copy, bytes.data() + body, length);
            records.push_back(ChunkData{static_cast<int32_t>(length), copy});
        }
        at = body + length;
    }
}

// Every round loads into fresh memory, as the first open of a file does: what the previous
// round freed is handed back to the system first (otherwise it would come back warm).
void handBackFreedMemory() { malloc_trim(0); }

void freeRecords(std::vector<ChunkData>& records) {
    for (ChunkData& record : records) delete[] record.bytes;
    records = std::vector<ChunkData>();
}

void floorWalk(benchmark::State& state) {
    const size_t chunks = static_cast<size_t>(state.range(0));
    const std::string bytes = bench::readFile(bench::loadFile(g_dataDir, chunks));
    std::vector<ChunkData> records;
    for (auto _ : state) {
        state.PauseTiming();
        freeRecords(records);
        handBackFreedMemory();
        state.ResumeTiming();
        walkInMemory(bytes, 0, bytes.size(), records);
    }
    state.counters["records"] = static_cast<double>(records.size());
    state.counters["ns_per_chunk"] = benchmark::Counter(static_cast<double>(chunks),
                                                        benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
    freeRecords(records);
}

LRESULT CALLBACK treeParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND createTree(HWND parent) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                           WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, 400,
                           600, parent, nullptr, nullptr, nullptr);
}

// An open: a new PhysicalFile, loadFile into an empty tree control and records table, the
// file released. The tree and table of the previous round go outside the timing.
void loadIntoTree(benchmark::State& state) {
    const size_t chunks = static_cast<size_t>(state.range(0));
    const std::string path = bench::loadFile(g_dataDir, chunks);
    winapi::ScopedHeadless headless(120, 40);
    InitCommonControls();
    WNDCLASSA cls{};
    cls.lpfnWndProc = treeParentProc;
    cls.lpszClassName = "LoadBenchParent";
    RegisterClassA(&cls);
    const HWND parent = CreateWindowExA(0, cls.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 840, 600,
                                        nullptr, nullptr, nullptr, nullptr);
    HWND tree = nullptr;
    RecordsTable records;
    for (auto _ : state) {
        state.PauseTiming();
        records.clear();
        if (tree) DestroyWindow(tree);
        handBackFreedMemory();
        tree = createTree(parent);
        state.ResumeTiming();
        File* file = new PhysicalFile(path);
        loadFile(tree, records, file);
        file->release();
    }
    state.counters["records"] = static_cast<double>(records.size());
    state.counters["items"] = static_cast<double>(SendMessageA(tree, TVM_GETCOUNT, 0, 0));
    state.counters["ns_per_chunk"] = benchmark::Counter(static_cast<double>(chunks),
                                                        benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
    DestroyWindow(parent);
}

// Opens `path` in the headless viewer, as Ctrl+O does; an empty path only starts the viewer.
int openForPeak(const std::string& path) {
    bench::HeadlessViewer viewer;
    if (!path.empty()) viewer.open(path);
    std::printf("items %zu records %zu\n", viewer.treeCount(), viewer.state.records.size());
    return viewer.state.records.size() > 0 || path.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    g_dataDir = bench::takeDataDir(argc, argv);
    const std::string write = bench::takeOption(argc, argv, "write-data");
    if (!write.empty()) {
        std::printf("%s\n", bench::loadFile(g_dataDir, std::stoul(write)).c_str());
        return 0;
    }
    bool peak = false;
    for (int i = 1; i < argc; ++i) peak = peak || std::strncmp(argv[i], "--open-peak=", 12) == 0;
    if (peak) return openForPeak(bench::takeOption(argc, argv, "open-peak"));

    for (long chunks : {10000L, 1000000L}) {
        benchmark::RegisterBenchmark("Load/floor", floorWalk)->Arg(chunks)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark("Load/loadFile", loadIntoTree)->Arg(chunks)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
