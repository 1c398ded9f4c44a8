// The common-control tests' parent window: it writes every notification down as a line.
#include "comctl_fixture.h"

#include <sstream>

namespace comctl_test {
namespace {

const char kParentClass[] = "ComctlTestParent";
ComctlFixture* current = nullptr;

std::string itemName(const TVITEMA& item) {
    return item.hItem ? std::to_string(item.lParam) : "0";
}

std::string describeTree(const NMHDR* header) {
    const auto* info = reinterpret_cast<const NMTREEVIEWA*>(header);
    std::ostringstream line;
    switch (header->code) {
    case TVN_DELETEITEMA:
        line << "delete " << itemName(info->itemOld);
        break;
    case TVN_SELCHANGINGA:
        line << "selchanging " << itemName(info->itemOld) << "->" << itemName(info->itemNew) << " by "
             << info->action;
        break;
    case TVN_SELCHANGEDA:
        line << "selchanged " << itemName(info->itemOld) << "->" << itemName(info->itemNew) << " state "
             << (info->itemNew.state & 0xFF);
        break;
    case TVN_ITEMEXPANDINGA:
        line << "expanding " << itemName(info->itemNew) << " " << info->action;
        break;
    case TVN_ITEMEXPANDEDA:
        line << "expanded " << itemName(info->itemNew) << " " << info->action;
        break;
    case TVN_KEYDOWN:
        line << "keydown " << reinterpret_cast<const NMTVKEYDOWN*>(header)->wVKey;
        break;
    default:
        return "";
    }
    return line.str();
}

std::string describe(const NMHDR* header) {
    if (header->code == UDN_DELTAPOS) {
        const auto* change = reinterpret_cast<const NMUPDOWN*>(header);
        std::ostringstream line;
        line << "deltapos " << change->iPos << " " << (change->iDelta >= 0 ? "+" : "") << change->iDelta;
        return line.str();
    }
    if (header->code == NM_CLICK) return "click";
    if (header->code == NM_DBLCLK) return "dblclk";
    if (header->code == NM_SETFOCUS || header->code == NM_KILLFOCUS) return "";
    return describeTree(header);
}

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (current && message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        std::string line = describe(header);
        if (!line.empty()) current->events.push_back(line);
        return current->onNotify ? current->onNotify(header) : 0;
    }
    if (current && message == WM_COMMAND && lParam != 0) {
        if (HIWORD(wParam) == EN_UPDATE) current->events.push_back("update");
        if (HIWORD(wParam) == EN_CHANGE) current->events.push_back("change");
        return 0;
    }
    if (current && message == WM_VSCROLL && LOWORD(wParam) == SB_THUMBPOSITION) {
        current->events.push_back("vscroll " + std::to_string(static_cast<short>(HIWORD(wParam))));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

std::string join(const std::vector<std::string>& lines) {
    std::string result;
    for (const std::string& line : lines) result += line + "\n";
    return result;
}

ComctlFixture::ComctlFixture() {
    current = this;
    InitCommonControls();
    WNDCLASSEXA cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = parentProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = kParentClass;
    RegisterClassExA(&cls);
    parent_ = CreateWindowExA(0, kParentClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 80 * winapi::kPixelsPerColumn,
                              25 * winapi::kPixelsPerRow, nullptr, nullptr, cls.hInstance, nullptr);
    EXPECT_NE(parent_, nullptr);
}

ComctlFixture::~ComctlFixture() {
    onNotify = nullptr;
    current = nullptr;
}

HWND ComctlFixture::createCells(const char* className, DWORD style, int col, int row, int cols, int rows, int id) {
    using winapi::kPixelsPerColumn;
    using winapi::kPixelsPerRow;
    HWND child = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, col * kPixelsPerColumn,
                                 row * kPixelsPerRow, cols * kPixelsPerColumn, rows * kPixelsPerRow, parent_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(child, nullptr);
    return child;
}

HWND ComctlFixture::createTree(DWORD style, int rows, int cols) {
    return createCells(WC_TREEVIEWA, style, 0, 0, cols, rows);
}

HTREEITEM ComctlFixture::insert(HWND tree, HTREEITEM parent, const std::string& text, LPARAM lParam, int cChildren,
                                HTREEITEM after) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | (cChildren >= 0 ? TVIF_CHILDREN : 0);
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.lParam = lParam;
    insert.item.cChildren = cChildren;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM ComctlFixture::next(HWND tree, HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

UINT ComctlFixture::state(HWND tree, HTREEITEM item) const {
    TVITEMA data{};
    data.mask = TVIF_STATE;
    data.hItem = item;
    data.stateMask = 0xFF;
    EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)));
    return data.state;
}

LPARAM ComctlFixture::param(HWND tree, HTREEITEM item) const {
    TVITEMA data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)));
    return data.lParam;
}

std::string ComctlFixture::text(HWND tree, HTREEITEM item) const {
    char buffer[256] = {};
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = sizeof(buffer);
    EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)));
    return buffer;
}

void ComctlFixture::runInput() {
    MSG msg{};
    while (headless_->pendingInput() > 0 || PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::vector<std::string> ComctlFixture::screen() {
    winapi::composeScreen();
    return headless_->screenLines();
}

const winapi::Canvas& ComctlFixture::canvas() {
    winapi::composeScreen();
    return headless_->screen();
}

}  // namespace comctl_test
