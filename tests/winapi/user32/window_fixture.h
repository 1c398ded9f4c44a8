// A headless window system per test, a window class whose procedure a test can script,
// and a message loop runner.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "display/headless.h"
#include "user32/messagelog.h"

namespace winapi::testing {

// Returns true when it handled the message and stored the result.
using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

class WindowTest : public ::testing::Test {
protected:
    WindowTest() { handler() = nullptr; }
    ~WindowTest() override { handler() = nullptr; }

    static Handler& handler() {
        static Handler current;
        return current;
    }

    static LRESULT CALLBACK scriptedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = 0;
        if (handler() && handler()(hwnd, message, wParam, lParam, result)) return result;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    static ATOM registerClass(const char* name, UINT style = 0, int wndExtra = 0) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = style;
        wc.lpfnWndProc = scriptedProc;
        wc.cbWndExtra = wndExtra;
        wc.lpszClassName = name;
        return RegisterClassExA(&wc);
    }

    // A shown top-level window filling the screen, of class "TestWindow".
    HWND createTopLevel(const char* title = "Test", void* param = nullptr) {
        if (!GetClassInfoExA(nullptr, "TestWindow", &info_)) registerClass("TestWindow");
        HWND hwnd = CreateWindowExA(0, "TestWindow", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                    nullptr, nullptr, param);
        return hwnd;
    }

    HWND createChild(HWND parent, int x, int y, int width, int height, int id = 0,
                     const char* cls = "TestWindow") {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                               nullptr);
    }

    // Runs a message loop until GetMessageA returns 0; returns the last message.
    static MSG runLoop() {
        MSG msg{};
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return msg;
    }

    ScopedHeadless screen_{40, 10};
    WNDCLASSEXA info_ = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        return wc;
    }();
};

}  // namespace winapi::testing
