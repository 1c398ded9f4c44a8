// Window classes: registration, lookup by name (case-insensitive) or atom, and the
// layer's own "Edit" and "Static" classes.
#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "user32/edit.h"
#include "user32/static.h"
#include "user32/window.h"

namespace winapi {
namespace {

constexpr ATOM kFirstAtom = 0xC000;

std::string lowered(std::string_view name) {
    std::string result(name);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

struct Registry {
    std::unordered_map<std::string, std::shared_ptr<WindowClass>> byName;
    std::unordered_map<ATOM, std::shared_ptr<WindowClass>> byAtom;
    ATOM nextAtom = kFirstAtom;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

ATOM add(std::shared_ptr<WindowClass> cls) {
    Registry& reg = registry();
    std::string key = lowered(cls->name);
    if (reg.byName.count(key)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    cls->atom = reg.nextAtom++;
    if (reg.nextAtom == 0) reg.nextAtom = kFirstAtom;
    reg.byName[key] = cls;
    reg.byAtom[cls->atom] = cls;
    return cls->atom;
}

void remove(const std::shared_ptr<WindowClass>& cls) {
    Registry& reg = registry();
    reg.byName.erase(lowered(cls->name));
    reg.byAtom.erase(cls->atom);
}

void registerSystemClass(const char* name, WNDPROC proc) {
    auto cls = std::make_shared<WindowClass>();
    cls->name = name;
    cls->style = CS_GLOBALCLASS | CS_DBLCLKS;
    cls->proc = proc;
    cls->system = true;
    add(cls);
}

}  // namespace

void ensureSystemClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    registerSystemClass("Edit", editWindowProc);
    registerSystemClass("Static", staticWindowProc);
}

std::shared_ptr<WindowClass> findClass(LPCSTR nameOrAtom) {
    ensureSystemClasses();
    if (!nameOrAtom) return nullptr;
    Registry& reg = registry();
    if (IS_INTRESOURCE(nameOrAtom)) {
        auto it = reg.byAtom.find(static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom)));
        return it == reg.byAtom.end() ? nullptr : it->second;
    }
    auto it = reg.byName.find(lowered(nameOrAtom));
    return it == reg.byName.end() ? nullptr : it->second;
}

void unregisterProgramClasses() {
    Registry& reg = registry();
    std::vector<std::shared_ptr<WindowClass>> doomed;
    for (auto& entry : reg.byName) {
        if (!entry.second->system && !(entry.second->style & CS_GLOBALCLASS)) {
            doomed.push_back(entry.second);
        }
    }
    for (auto& cls : doomed) remove(cls);
}

}  // namespace winapi

using namespace winapi;

extern "C" {

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    ensureSystemClasses();
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName || !wc->lpfnWndProc ||
        wc->cbClsExtra < 0 || wc->cbWndExtra < 0 || IS_INTRESOURCE(wc->lpszClassName) ||
        !*wc->lpszClassName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto cls = std::make_shared<WindowClass>();
    cls->name = wc->lpszClassName;
    cls->style = wc->style;
    cls->proc = wc->lpfnWndProc;
    cls->clsExtra = wc->cbClsExtra;
    cls->wndExtra = wc->cbWndExtra;
    cls->instance = wc->hInstance;
    cls->icon = wc->hIcon;
    cls->cursor = wc->hCursor;
    cls->background = wc->hbrBackground;
    if (wc->lpszMenuName && !IS_INTRESOURCE(wc->lpszMenuName)) {
        cls->menuName = wc->lpszMenuName;
        cls->menuId = nullptr;
    } else {
        cls->menuId = wc->lpszMenuName;
    }
    cls->iconSmall = wc->hIconSm;
    ATOM atom = add(cls);
    if (atom && !cls->menuName.empty()) cls->menuId = cls->menuName.c_str();
    return atom;
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXA ex{};
    ex.cbSize = sizeof(ex);
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return RegisterClassExA(&ex);
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance) {
    (void)instance;
    auto cls = findClass(name);
    if (!cls || cls->system) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (cls->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    remove(cls);
    return TRUE;
}

BOOL WINAPI GetClassInfoExA(HINSTANCE instance, LPCSTR name, LPWNDCLASSEXA wc) {
    (void)instance;
    auto cls = findClass(name);
    if (!cls || !wc) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    wc->style = cls->style;
    wc->lpfnWndProc = cls->proc;
    wc->cbClsExtra = cls->clsExtra;
    wc->cbWndExtra = cls->wndExtra;
    wc->hInstance = cls->instance;
    wc->hIcon = cls->icon;
    wc->hCursor = cls->cursor;
    wc->hbrBackground = cls->background;
    wc->lpszMenuName = cls->menuId;
    wc->lpszClassName = cls->name.c_str();
    wc->hIconSm = cls->iconSmall;
    return cls->atom;
}

int WINAPI GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
    Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (!buffer || size <= 0) return 0;
    size_t count = std::min(window->cls->name.size(), static_cast<size_t>(size - 1));
    window->cls->name.copy(buffer, count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

}  // extern "C"
