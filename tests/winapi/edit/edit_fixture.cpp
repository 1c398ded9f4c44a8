// The control tests' parent window: records the notifications it is sent.
#include "edit_fixture.h"

namespace edit_test {

std::vector<Notification>& notifications() {
    static std::vector<Notification> received;
    return received;
}

namespace {

const char kParentClass[] = "EditTestParent";

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam != 0) {
        notifications().push_back({HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam)});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

EditFixture::EditFixture() {
    notifications().clear();
    WNDCLASSA cls{};
    cls.lpfnWndProc = parentProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = kParentClass;
    RegisterClassA(&cls);
    parent_ = CreateWindowExA(0, kParentClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 80 * winapi::kPixelsPerColumn,
                              25 * winapi::kPixelsPerRow, nullptr, nullptr, cls.hInstance, nullptr);
    EXPECT_NE(parent_, nullptr);
}

EditFixture::~EditFixture() = default;

HWND EditFixture::create(const char* className, DWORD style, const char* text, int x, int y, int width, int height,
                         int id) {
    const HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                       nullptr);
    EXPECT_NE(child, nullptr);
    return child;
}

HWND EditFixture::createCells(DWORD style, const char* text, int col, int row, int cols, int rows, int id) {
    using winapi::kPixelsPerColumn;
    using winapi::kPixelsPerRow;
    return create("EDIT", style, text, col * kPixelsPerColumn, row * kPixelsPerRow, cols * kPixelsPerColumn,
                  rows * kPixelsPerRow, id);
}

std::string EditFixture::text(HWND edit) const {
    const auto length = static_cast<int>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    const auto copied = static_cast<int>(SendMessageA(edit, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data())));
    buffer.resize(static_cast<size_t>(copied));
    return buffer;
}

void EditFixture::selection(HWND edit, DWORD& start, DWORD& end) const {
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
}

void EditFixture::type(HWND edit, const std::string& chars) {
    for (const char ch : chars) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

void EditFixture::key(HWND edit, UINT vk) { SendMessageA(edit, WM_KEYDOWN, vk, 1); }

void EditFixture::runInput() {
    MSG msg{};
    while (headless_->pendingInput() > 0 || PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::vector<std::string> EditFixture::screen() {
    winapi::composeScreen();
    return headless_->screenLines();
}

bool EditFixture::reversed(int col, int row, int count) {
    winapi::composeScreen();
    const winapi::Canvas& canvas = headless_->screen();
    for (int i = 0; i < count; ++i) {
        if (!(canvas.at(col + i, row).attr & winapi::kAttrReverse)) return false;
    }
    return true;
}

}  // namespace edit_test
