// InitCommonControls and InitCommonControlsEx: registering the common control classes.
#include <windows.h>
#include <commctrl.h>

#include "comctl32/treeview.h"
#include "comctl32/updown.h"

namespace winapi {
namespace {

// Global classes, so that they outlive the program's own registrations, as the
// system's do. Registering again is harmless.
bool registerControlClass(const char* name, WNDPROC proc, int wndExtra = 0) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(nullptr, name, &existing)) return true;
    WNDCLASSEXA cls{};
    cls.cbSize = sizeof(cls);
    cls.style = CS_GLOBALCLASS | CS_DBLCLKS;
    cls.lpfnWndProc = proc;
    cls.cbWndExtra = wndExtra;
    cls.lpszClassName = name;
    return RegisterClassExA(&cls) != 0;
}

constexpr DWORD kOurClasses = ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS;

}  // namespace
}  // namespace winapi

using namespace winapi;

extern "C" {

void WINAPI InitCommonControls(void) {
    registerControlClass(WC_TREEVIEWA, treeViewWindowProc, kTreeViewWindowExtra);
    registerControlClass(UPDOWN_CLASSA, upDownWindowProc);
}

// Only the tree-view and the up-down exist here: a request that names any other class
// registers what it can and fails, rather than promising a class that is not there.
BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
    bool ok = (init->dwICC & ~kOurClasses) == 0;
    if (init->dwICC & ICC_TREEVIEW_CLASSES) ok = registerControlClass(WC_TREEVIEWA, treeViewWindowProc, kTreeViewWindowExtra) && ok;
    if (init->dwICC & ICC_UPDOWN_CLASS) ok = registerControlClass(UPDOWN_CLASSA, upDownWindowProc) && ok;
    return ok ? TRUE : FALSE;
}

}  // extern "C"
