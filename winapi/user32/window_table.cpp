// The handle table: windows are found by handle in constant time, and a handle of a
// destroyed window never reaches a new one (each slot counts its reuses).
#include <algorithm>

#include "user32/window.h"

namespace winapi {
namespace {

struct Slot {
    std::unique_ptr<Window> window;
    uintptr_t generation = 1;
};

// Never destroyed: windows a process still has when it ends keep their records (and what
// their controls hang on them) reachable, as they are until the process is gone, and no
// window outlives its table during the exit's destructors.
std::vector<Slot>& slots() {
    static auto* table = new std::vector<Slot>();
    return *table;
}

std::vector<size_t>& freeSlots() {
    static std::vector<size_t> list;
    return list;
}

constexpr unsigned kIndexBits = sizeof(uintptr_t) * 4;
constexpr uintptr_t kIndexMask = (uintptr_t(1) << kIndexBits) - 1;

HWND makeHandle(size_t index, uintptr_t generation) {
    // Index + 1 keeps every handle away from null and the small HWND_* constants' range
    // is never produced because the generation sits in the high half.
    uintptr_t value = (generation << kIndexBits) | (static_cast<uintptr_t>(index) + 1);
    return reinterpret_cast<HWND>(value);
}

}  // namespace

Window* findWindow(HWND hwnd) {
    uintptr_t value = reinterpret_cast<uintptr_t>(hwnd);
    uintptr_t low = value & kIndexMask;
    if (low == 0) return nullptr;
    size_t index = static_cast<size_t>(low - 1);
    auto& table = slots();
    if (index >= table.size()) return nullptr;
    Slot& slot = table[index];
    if (!slot.window || (value >> kIndexBits) != (slot.generation & (kIndexMask))) return nullptr;
    return slot.window.get();
}

Window& allocateWindow() {
    auto& table = slots();
    size_t index;
    if (!freeSlots().empty()) {
        index = freeSlots().back();
        freeSlots().pop_back();
    } else {
        index = table.size();
        table.emplace_back();
    }
    Slot& slot = table[index];
    slot.window = std::make_unique<Window>();
    slot.window->handle = makeHandle(index, slot.generation & kIndexMask);
    return *slot.window;
}

void freeWindow(HWND hwnd) {
    if (!findWindow(hwnd)) return;
    size_t index = static_cast<size_t>((reinterpret_cast<uintptr_t>(hwnd) & kIndexMask) - 1);
    Slot& slot = slots()[index];
    slot.window.reset();
    slot.generation = (slot.generation + 1) & kIndexMask;
    if (slot.generation == 0) slot.generation = 1;
    freeSlots().push_back(index);
}

std::vector<HWND> allWindows() {
    std::vector<HWND> result;
    for (const Slot& slot : slots()) {
        if (slot.window) result.push_back(slot.window->handle);
    }
    return result;
}

std::vector<HWND>& topLevelOrder() {
    static std::vector<HWND> order;
    return order;
}

HWND rootOf(HWND hwnd) {
    Window* window = findWindow(hwnd);
    while (window && window->parent) {
        Window* parent = findWindow(window->parent);
        if (!parent) break;
        window = parent;
    }
    return window ? window->handle : nullptr;
}

}  // namespace winapi
