// Start-up: the window class, the main window, the message loop and the program's entry.
#include <windows.h>
#include <commctrl.h>

#include <stdexcept>

#include "app/MainWindow.h"
#include "app/resource.h"

namespace {

const char kClassName[] = "Kestrova";
const char kTitle[] = "Tarnholm";

void registerMainClass(const MainWindow& state) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = state.hInstance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    windowClass.lpszClassName = kClassName;
    windowClass.hIconSm = nullptr;
    if (!RegisterClassExA(&windowClass))
        throw std::runtime_error("Unable to register window class");
}

}  // namespace

void createMainWindow(MainWindow& state) {
    registerMainClass(state);
    state.hwndMain = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                     state.hInstance, &state);
    if (!state.hwndMain) {
        UnregisterClassA(kClassName, state.hInstance);
        throw std::runtime_error("Unable to create main window");
    }
}

int runMessageLoop(MainWindow& state) {
    ShowWindow(state.hwndMain, SW_SHOW);
    HACCEL accelerators = LoadAcceleratorsA(state.hInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    MSG message;
    // GetMessageA answers -1 on failure; that must end the loop, not spin it.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(state.hwndMain, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    MainWindow state;
    state.hInstance = hInstance;
    try {
        createMainWindow(state);
        runMessageLoop(state);
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), nullptr, MB_OK);
    }
    // Exit leaves the window alive, and its user data points at `state`: destroy the
    // window while the state is still there, so no later message can reach a dead one.
    if (state.hwndMain && IsWindow(state.hwndMain))
        DestroyWindow(state.hwndMain);
    return 0;
}
