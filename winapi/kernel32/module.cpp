// Module handles and Sleep: the program is one image, so there is one module.
#include <winbase.h>

#include <chrono>
#include <thread>

namespace {
// Any fixed non-null value serves; this is the usual image base of an executable.
const HMODULE programModule = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x400000));
}  // namespace

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    if (lpModuleName == nullptr) return programModule;
    // No libraries are loaded by name in this layer.
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

extern "C" void WINAPI Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}
