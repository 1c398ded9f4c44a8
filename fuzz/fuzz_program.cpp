// Fuzz target: the whole program driven headless by a script of keys, text, clicks, resizes,
// opens, refreshes and changes to the open file (see ProgramScript.h). Dialogs and message
// boxes take the same input; the run ends when the script is used up.
#include <unistd.h>

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ProgramScript.h"
#include "app/MainWindow.h"
#include "display/headless.h"
#include "support/ChunkFileBuilder.h"

namespace {

const unsigned kKeys[] = {VK_DOWN, VK_UP,   VK_RIGHT, VK_LEFT, VK_TAB,  VK_F5,    VK_RETURN,
                          VK_ESCAPE, VK_HOME, VK_END, VK_NEXT, VK_PRIOR, VK_BACK, VK_DELETE,
                          VK_F1,   VK_SPACE, 'A',     'C',     'O',      'X',      VK_F10,
                          VK_MENU, 'F',      'E',     'H'};

std::string sampleFile() {
    ChunkFileBuilder file;
    file.data(0x12, "Hi there!")
        .container(0x20,
                   [](ChunkFileBuilder& inside) {
                       inside.data(0x21, bytesOf({0x01, 0x02, 0x41, 0x42, 0x0a, 0x01, 0x7a}));
                       inside.data(0x22, std::string(40, 'x'));
                   })
        .data(0x30, "");
    return file.bytes();
}

// One fixture per process, rewritten to the sample before every input.
const std::string& fixturePath() {
    static const std::string path = [] {
        char folder[] = "/tmp/tarnholm-fuzz-XXXXXX";
        if (!mkdtemp(folder)) {
            std::perror("fuzz_program: mkdtemp");
            std::abort();
        }
        return std::string(folder) + "/sample.zmk";
    }();
    return path;
}

void writeFixture(const std::string& bytes) {
    std::ofstream out(fixturePath(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Turns the script into device input; file changes happen at once, before the run, so a
// script reads as "change the file, then F5".
void queueScript(winapi::HeadlessDevice& device, const uint8_t* data, size_t size) {
    size_t at = 0;
    auto take = [&](uint8_t& value) {
        if (at >= size) return false;
        value = data[at++];
        return true;
    };
    uint8_t op = 0, a = 0, b = 0, c = 0, d = 0, e = 0;
    while (take(op)) {
        switch (op % kOpCount) {
        case kOpKey:
            if (!take(a) || !take(b)) return;
            device.pushKey(kKeys[a % (sizeof kKeys / sizeof kKeys[0])], b & 7);
            break;
        case kOpType:
            if (!take(a)) return;
            device.type(std::string(1, static_cast<char>(a & 0x7F)));
            break;
        case kOpClick:
            if (!take(a) || !take(b)) return;
            device.click(a % 130, b % 50);
            break;
        case kOpResize:
            if (!take(a) || !take(b)) return;
            device.resize(1 + a % 200, 1 + b % 80);
            break;
        case kOpOpen:
            device.pressCtrl('O');
            device.type(fixturePath());
            device.pushKey(VK_RETURN);
            break;
        case kOpRefresh:
            device.pushKey(VK_F5);
            break;
        case kOpRewrite: {
            if (!take(a)) return;
            const size_t length = a < size - at ? a : size - at;
            writeFixture(std::string(reinterpret_cast<const char*>(data + at), length));
            at += length;
            break;
        }
        default:
            if (!take(a) || !take(b) || !take(c) || !take(d) || !take(e)) return;
            switch (a % 3) {
            case 0: device.doubleClick(b % 130, c % 50); break;
            case 1: device.drag(b % 130, c % 50, d % 130, e % 50); break;
            default: device.wheel(b % 130, c % 50, static_cast<int8_t>(d) % 5); break;
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFixture(sampleFile());
    winapi::ScopedHeadless headless(120, 40);
    {
        MainWindow state;
        state.hInstance = GetModuleHandleA(nullptr);
        InitCommonControls();
        createMainWindow(state);
        queueScript(headless.device(), data, size);
        runMessageLoop(state);
        // The window's user data points at `state`: the window goes first, as in WinMain.
        if (IsWindow(state.hwndMain)) DestroyWindow(state.hwndMain);
    }
    return 0;
}
