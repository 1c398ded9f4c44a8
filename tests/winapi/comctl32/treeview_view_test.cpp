// The tree-view as a person sees and drives it: lines, buttons, selection, scrolling,
// keys and the mouse.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>

#include <algorithm>

#include "comctl_fixture.h"

namespace comctl_test {
namespace {

using Lines = std::vector<std::string>;

class TreeViewViewTest : public ComctlFixture {
protected:
    // "Chunk File" (1) over A (2, children A1 = 21, A2 = 22) and B (3), the root expanded.
    void buildFile() {
        tree = createTree();
        root = insert(tree, TVI_ROOT, "Chunk File", 1, 1);
        a = insert(tree, root, "A", 2, 1);
        insert(tree, a, "A1", 21);
        insert(tree, a, "A2", 22);
        b = insert(tree, root, "B", 3, 0);
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
        events.clear();
    }
    // Top-level items "item 0" .. "item <count-1>" with lParam = index.
    void buildList(int count, int rows = 10) {
        tree = createTree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, rows);
        for (int i = 0; i < count; ++i) insert(tree, TVI_ROOT, "item " + std::to_string(i), i);
    }
    LPARAM selected() const {
        HTREEITEM item = next(tree, nullptr, TVGN_CARET);
        return item ? param(tree, item) : -1;
    }
    LPARAM firstVisible() const { return param(tree, next(tree, nullptr, TVGN_FIRSTVISIBLE)); }
    void select(HTREEITEM item) { SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)); }
    Lines treeRows(int rows) {
        Lines lines = screen();
        lines.resize(static_cast<size_t>(rows));
        return lines;
    }

    HWND tree = nullptr;
    HTREEITEM root = nullptr;
    HTREEITEM a = nullptr;
    HTREEITEM b = nullptr;
};

TEST_F(TreeViewViewTest, PaintsLinesButtonsAndTheSelection) {
    buildFile();
    select(b);
    SetFocus(tree);
    EXPECT_EQ(treeRows(4), (Lines{" ⊟ Chunk File", "  ├⊞ A", "  └─ B", ""}));
    const winapi::Canvas& shown = canvas();
    EXPECT_EQ(shown.at(5, 2).attr, winapi::kAttrReverse | winapi::kAttrBold);
    EXPECT_EQ(shown.at(5, 1).attr, winapi::kAttrNone);

    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
    EXPECT_EQ(treeRows(5), (Lines{" ⊟ Chunk File", "  ├⊟ A", "  │ ├─ A1", "  │ └─ A2", "  └─ B"}));

    // Without focus the selection stays visible, in reverse only.
    SetFocus(parent_);
    EXPECT_EQ(canvas().at(5, 4).attr, winapi::kAttrReverse);
}

TEST_F(TreeViewViewTest, WithoutLinesAtRootTopLevelItemsHaveNoButton) {
    tree = createTree(TVS_HASBUTTONS | TVS_HASLINES);
    HTREEITEM top = insert(tree, TVI_ROOT, "top", 1, 1);
    insert(tree, top, "child", 2);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(top));
    EXPECT_EQ(treeRows(2), (Lines{"top", "└─ child"}));
}

TEST_F(TreeViewViewTest, KeysMoveTheSelectionOverVisibleItemsAndExpand) {
    buildFile();
    select(root);
    SetFocus(tree);
    struct Step {
        WPARAM key;  // a virtual key, or a character when `typed`
        bool typed;
        LPARAM selection;
        Lines events;  // the expand notifications, if any
    };
    const Step steps[] = {
        {VK_DOWN, false, 2, {}},
        {VK_RIGHT, false, 2, {"expanding 2 2", "expanded 2 2"}},  // expands
        {VK_RIGHT, false, 21, {}},                                // then goes to the first child
        {VK_DOWN, false, 22, {}},
        {VK_LEFT, false, 2, {}},                                  // to the parent
        {VK_LEFT, false, 2, {"expanding 2 1", "expanded 2 1"}},   // collapses
        {VK_END, false, 3, {}},
        {VK_UP, false, 2, {}},
        {VK_HOME, false, 1, {}},
        {'-', true, 1, {"expanding 1 1", "expanded 1 1"}},
        {VK_DOWN, false, 1, {}},  // nothing below a collapsed lone root
        {VK_ADD, false, 1, {"expanding 1 2", "expanded 1 2"}},
        {'*', true, 1, {"expanding 2 2", "expanded 2 2"}},  // everything under the root
        {VK_RETURN, false, 1, {}},
    };
    for (const Step& step : steps) {
        events.clear();
        if (step.typed) {
            SendMessageA(tree, WM_CHAR, step.key, 1);
        } else {
            key(tree, static_cast<UINT>(step.key));
        }
        Lines expanding;
        for (const std::string& line : events) {
            if (line.rfind("expand", 0) == 0) expanding.push_back(line);
        }
        EXPECT_EQ(selected(), step.selection) << "key " << step.key;
        EXPECT_EQ(expanding, step.events) << "key " << step.key;
    }
    EXPECT_EQ(state(tree, a) & TVIS_EXPANDED, UINT{TVIS_EXPANDED});
}

TEST_F(TreeViewViewTest, KeyboardSelectionIsReportedAsByKeyboard) {
    buildFile();
    select(root);
    events.clear();
    key(tree, VK_DOWN);
    EXPECT_EQ(events, (Lines{"keydown 40", "selchanging 1->2 by 2", "selchanged 1->2 state 2"}));
}

TEST_F(TreeViewViewTest, MouseSelectsTogglesAndFocuses) {
    buildFile();
    SetFocus(parent_);
    headless_->click(5, 2);  // B's label
    runInput();
    EXPECT_EQ(selected(), 3);
    EXPECT_EQ(GetFocus(), tree);
    EXPECT_NE(std::find(events.begin(), events.end(), "selchanging 0->3 by 1"), events.end());

    headless_->click(3, 1);  // A's button
    runInput();
    EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(a), TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(selected(), 3);  // the button does not select

    headless_->doubleClick(5, 1);  // A's label: selects, then toggles
    runInput();
    EXPECT_EQ(selected(), 2);
    EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(a), TVIS_EXPANDED), 0);

    events.clear();
    headless_->click(20, 1);  // right of the label: nothing
    runInput();
    EXPECT_EQ(selected(), 2);
}

TEST_F(TreeViewViewTest, HitTestNamesThePartOfTheRow) {
    buildFile();
    using winapi::kPixelsPerColumn;
    using winapi::kPixelsPerRow;
    struct Case {
        int col;
        int row;
        UINT flags;
        HTREEITEM item;
    };
    const Case cases[] = {
        {3, 1, TVHT_ONITEMBUTTON, a}, {5, 1, TVHT_ONITEMLABEL, a}, {1, 1, TVHT_ONITEMINDENT, a},
        {9, 1, TVHT_ONITEMRIGHT, a},  {5, 7, TVHT_NOWHERE, nullptr},
    };
    for (const Case& c : cases) {
        TVHITTESTINFO hit{};
        hit.pt = {c.col * kPixelsPerColumn + 1, c.row * kPixelsPerRow + 1};
        HTREEITEM found = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        EXPECT_EQ(hit.flags, c.flags) << c.col << "," << c.row;
        EXPECT_EQ(found, c.item) << c.col << "," << c.row;
    }
    RECT rect{};
    std::memcpy(&rect, &b, sizeof b);  // the rectangle carries the item in
    EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    EXPECT_EQ(rect.left, 5 * kPixelsPerColumn);
    EXPECT_EQ(rect.top, 2 * kPixelsPerRow);
    EXPECT_EQ(rect.right, 6 * kPixelsPerColumn);
}

TEST_F(TreeViewViewTest, ScrollingKeepsTheSelectionOnScreen) {
    buildList(100);
    select(next(tree, nullptr, TVGN_ROOT));
    struct Step {
        UINT key;
        LPARAM selection;
        LPARAM top;
    };
    const Step steps[] = {
        {VK_NEXT, 9, 0},   {VK_DOWN, 10, 1}, {VK_END, 99, 90}, {VK_UP, 98, 90},
        {VK_PRIOR, 89, 89}, {VK_HOME, 0, 0},
    };
    for (const Step& step : steps) {
        key(tree, step.key);
        EXPECT_EQ(selected(), step.selection) << "key " << step.key;
        EXPECT_EQ(firstVisible(), step.top) << "key " << step.key;
    }
    key(tree, VK_END);
    Lines rows = treeRows(10);
    EXPECT_EQ(rows.front(), "├─ item 90");
    EXPECT_EQ(rows.back(), "└─ item 99");
    EXPECT_EQ(canvas().at(3, 9).attr & winapi::kAttrReverse, winapi::kAttrReverse);
}

TEST_F(TreeViewViewTest, WheelScrollsWithoutMovingTheSelection) {
    buildList(100);
    select(next(tree, nullptr, TVGN_ROOT));
    headless_->wheel(2, 2, -1);
    runInput();
    EXPECT_EQ(firstVisible(), 3);
    EXPECT_EQ(selected(), 0);
    headless_->wheel(2, 2, 1);
    runInput();
    EXPECT_EQ(firstVisible(), 0);
}

TEST_F(TreeViewViewTest, DeletingTheTopItemsKeepsTheScreenFull) {
    buildList(30);
    key(tree, VK_END);  // nothing selected yet: selects the first visible
    select(next(tree, nullptr, TVGN_LASTVISIBLE));
    ASSERT_EQ(firstVisible(), 20);
    for (int i = 0; i < 5; ++i) {
        SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(next(tree, nullptr, TVGN_LASTVISIBLE)));
    }
    // 25 items remain; the last ten fill the screen.
    EXPECT_EQ(firstVisible(), 15);
    EXPECT_EQ(treeRows(10).back(), "└─ item 24");
}

}  // namespace
}  // namespace comctl_test
