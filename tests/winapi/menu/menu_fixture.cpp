// The menu tests' window: class menu from the script, an edit child, a recording procedure.
#include "menu_fixture.h"

#include "user32/menu_bar.h"
#include "user32/messagebox.h"

namespace menu_test {

namespace {

const char kMainClass[] = "MenuTestMain";
const char kChildClass[] = "MenuTestChild";

LRESULT CALLBACK mainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Received entry{message, wParam, lParam, winapi::menuBarHighlight(GetMenu(hwnd)) >= 0};
    received().push_back(entry);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A focusable child that records the keys it is given.
LRESULT CALLBACK childProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_LBUTTONDOWN) editKeys().push_back(wParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

std::vector<Received>& received() {
    static std::vector<Received> log;
    return log;
}

std::vector<WPARAM>& editKeys() {
    static std::vector<WPARAM> keys;
    return keys;
}

MenuFixture::MenuFixture() {
    received().clear();
    editKeys().clear();
    winapi::clearMessageBoxes();
    WNDCLASSEXA cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = mainProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszMenuName = MAKEINTRESOURCEA(IDR_TEST_MENU);
    cls.lpszClassName = kMainClass;
    EXPECT_NE(RegisterClassExA(&cls), 0);
    WNDCLASSEXA child{};
    child.cbSize = sizeof child;
    child.lpfnWndProc = childProc;
    child.hInstance = cls.hInstance;
    child.lpszClassName = kChildClass;
    EXPECT_NE(RegisterClassExA(&child), 0);

    main_ = CreateWindowExA(0, kMainClass, "Menu test", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, cls.hInstance, nullptr);
    EXPECT_NE(main_, nullptr);
    edit_ = CreateWindowExA(0, kChildClass, "", WS_CHILD | WS_VISIBLE, 0, 100, 200, 30, main_, nullptr,
                            cls.hInstance, nullptr);
    ShowWindow(main_, SW_SHOW);
    SetFocus(edit_);
    menu_ = GetMenu(main_);
    EXPECT_NE(menu_, nullptr);
    accelerators_ = LoadAcceleratorsA(cls.hInstance, MAKEINTRESOURCEA(IDR_TEST_ACCEL));
    EXPECT_NE(accelerators_, nullptr);
    received().clear();
}

MenuFixture::~MenuFixture() { DestroyAcceleratorTable(accelerators_); }

void MenuFixture::runLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(main_, accelerators_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

std::vector<Received> MenuFixture::menuMessages() const {
    std::vector<Received> out;
    for (const Received& r : received()) {
        if (r.message == WM_INITMENU || r.message == WM_INITMENUPOPUP || r.message == WM_COMMAND) out.push_back(r);
    }
    return out;
}

std::vector<UINT> MenuFixture::commands() const {
    std::vector<UINT> ids;
    for (const Received& r : received()) {
        if (r.message == WM_COMMAND) ids.push_back(LOWORD(r.wParam));
    }
    return ids;
}

int MenuFixture::columnOf(const std::string& text, int row) {
    const std::vector<std::string> lines = screen();
    if (row < 0 || row >= static_cast<int>(lines.size())) return -1;
    // Count characters, not bytes: box-drawing characters take one column each.
    const size_t at = lines[static_cast<size_t>(row)].find(text);
    if (at == std::string::npos) return -1;
    int col = 0;
    for (size_t i = 0; i < at; ++i) col += (static_cast<unsigned char>(lines[static_cast<size_t>(row)][i]) & 0xC0) != 0x80;
    return col;
}

int MenuFixture::rowOf(const std::string& text) {
    const std::vector<std::string> lines = screen();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace menu_test
