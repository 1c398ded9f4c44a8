// The tree-view's items and the notifications it sends, as the platform behaves.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>

#include "comctl_fixture.h"

namespace comctl_test {
namespace {

using Lines = std::vector<std::string>;

class TreeViewModelTest : public ComctlFixture {
protected:
    // Root 100 with children 101, 102, 103; top-level siblings 10, 11, 12 after it.
    void buildFamily() {
        tree = createTree();
        items[100] = insert(tree, TVI_ROOT, "100", 100, 1);
        for (LPARAM id : {101, 102, 103}) items[id] = insert(tree, items[100], std::to_string(id), id);
        for (LPARAM id : {10, 11, 12}) items[id] = insert(tree, TVI_ROOT, std::to_string(id), id);
    }
    BOOL select(HTREEITEM item) { return static_cast<BOOL>(SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))); }
    BOOL remove(HTREEITEM item) { return static_cast<BOOL>(SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item))); }
    LRESULT expand(HTREEITEM item, UINT code = TVE_EXPAND) {
        return SendMessageA(tree, TVM_EXPAND, code, reinterpret_cast<LPARAM>(item));
    }
    HTREEITEM caret() const { return next(tree, nullptr, TVGN_CARET); }

    HWND tree = nullptr;
    std::map<LPARAM, HTREEITEM> items;
};

TEST_F(TreeViewModelTest, EmptyTreeAnswersNullAndInsertingSelectsNothing) {
    tree = createTree();
    for (UINT relation : {TVGN_ROOT, TVGN_CARET, TVGN_CHILD, TVGN_FIRSTVISIBLE, TVGN_LASTVISIBLE}) {
        EXPECT_EQ(next(tree, nullptr, relation), nullptr) << relation;
    }
    EXPECT_EQ(next(tree, TVI_ROOT, TVGN_CHILD), nullptr);
    HTREEITEM root = insert(tree, TVI_ROOT, "Chunk File", -1, 1);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(caret(), nullptr);
    EXPECT_EQ(state(tree, root) & TVIS_SELECTED, 0u);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(events, Lines{});
}

TEST_F(TreeViewModelTest, GetNextItemRelations) {
    buildFamily();
    struct Case {
        HTREEITEM from;
        UINT relation;
        HTREEITEM expected;
    };
    const Case cases[] = {
        {nullptr, TVGN_ROOT, items[100]},       {nullptr, TVGN_CHILD, items[100]},
        {TVI_ROOT, TVGN_CHILD, items[100]},     {items[100], TVGN_CHILD, items[101]},
        {items[101], TVGN_CHILD, nullptr},      {items[101], TVGN_NEXT, items[102]},
        {items[103], TVGN_NEXT, nullptr},       {items[102], TVGN_PREVIOUS, items[101]},
        {items[101], TVGN_PREVIOUS, nullptr},   {items[102], TVGN_PARENT, items[100]},
        {items[100], TVGN_PARENT, nullptr},     {items[100], TVGN_NEXT, items[10]},
        // 100 is collapsed: its children are not visible.
        {items[100], TVGN_NEXTVISIBLE, items[10]}, {items[101], TVGN_NEXTVISIBLE, nullptr},
        {items[10], TVGN_PREVIOUSVISIBLE, items[100]}, {nullptr, TVGN_LASTVISIBLE, items[12]},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(next(tree, c.from, c.relation), c.expected)
            << "from " << (c.from ? param(tree, c.from) : 0) << " relation " << c.relation;
    }
    expand(items[100]);
    EXPECT_EQ(next(tree, items[100], TVGN_NEXTVISIBLE), items[101]);
    EXPECT_EQ(next(tree, items[10], TVGN_PREVIOUSVISIBLE), items[103]);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 7);
}

TEST_F(TreeViewModelTest, InsertPositions) {
    tree = createTree();
    HTREEITEM b = insert(tree, TVI_ROOT, "b", 2);
    HTREEITEM d = insert(tree, TVI_ROOT, "d", 4);
    insert(tree, TVI_ROOT, "a", 1, -1, TVI_FIRST);
    insert(tree, TVI_ROOT, "c", 3, -1, b);
    insert(tree, TVI_ROOT, "C2", 35, -1, TVI_SORT);  // after "c" without regard to case
    insert(tree, TVI_ROOT, "e", 5, -1, TVI_LAST);
    std::vector<LPARAM> order;
    for (HTREEITEM item = next(tree, nullptr, TVGN_ROOT); item; item = next(tree, item, TVGN_NEXT)) {
        order.push_back(param(tree, item));
    }
    EXPECT_EQ(order, (std::vector<LPARAM>{1, 2, 3, 35, 4, 5}));
    HTREEITEM child = insert(tree, d, "x", 9);
    EXPECT_EQ(insert(tree, b, "wrong parent for 'after'", 10, -1, child), nullptr);
    EXPECT_EQ(insert(tree, reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(99999)), "no parent", 11), nullptr);
}

TEST_F(TreeViewModelTest, SetItemChangesOnlyTheGivenMembersKeepsStateAndSendsNothing) {
    buildFamily();
    expand(items[100]);
    select(items[100]);
    events.clear();
    TVITEMA data{};
    data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    data.hItem = items[100];
    data.pszText = const_cast<char*>("renamed");
    data.lParam = 77;
    data.cChildren = 0;
    EXPECT_EQ(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data)), 1);
    EXPECT_EQ(text(tree, items[100]), "renamed");
    EXPECT_EQ(param(tree, items[100]), 77);
    EXPECT_EQ(state(tree, items[100]), UINT{TVIS_SELECTED | TVIS_EXPANDED | TVIS_EXPANDEDONCE});
    EXPECT_EQ(caret(), items[100]);
    EXPECT_EQ(events, Lines{});
}

TEST_F(TreeViewModelTest, GetItemCopiesTextWithinTheBuffer) {
    tree = createTree();
    HTREEITEM item = insert(tree, TVI_ROOT, "00000012h (00000010h)", 1);
    char buffer[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = 5;
    EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)));
    EXPECT_STREQ(buffer, "0000");
    EXPECT_EQ(buffer[5], 'x');
    data.hItem = nullptr;
    EXPECT_FALSE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)));
}

TEST_F(TreeViewModelTest, DeletingTheSelectedItemMovesTheSelectionAfterTheDeletions) {
    struct Case {
        LPARAM selected;
        LPARAM deleted;
        LPARAM expectedSelection;  // 0: none
        Lines expectedEvents;
    };
    const Case cases[] = {
        {101, 101, 102, {"delete 101", "selchanging 0->102 by 0", "selchanged 0->102 state 2"}},
        {103, 103, 100, {"delete 103", "selchanging 0->100 by 0", "selchanged 0->100 state 98"}},
        {12, 12, 11, {"delete 12", "selchanging 0->11 by 0", "selchanged 0->11 state 2"}},
        // A selected descendant goes with its ancestor: as if the ancestor were selected.
        {102, 100, 10, {"delete 101", "delete 102", "delete 103", "delete 100", "selchanging 0->10 by 0",
                        "selchanged 0->10 state 2"}},
        // Deleting something else leaves the selection alone.
        {102, 11, 102, {"delete 11"}},
    };
    for (const Case& c : cases) {
        buildFamily();
        select(items[c.selected]);
        events.clear();
        EXPECT_EQ(remove(items[c.deleted]), TRUE);
        EXPECT_EQ(events, c.expectedEvents) << "deleting " << c.deleted;
        HTREEITEM expected = c.expectedSelection ? items[c.expectedSelection] : nullptr;
        EXPECT_EQ(caret(), expected) << "deleting " << c.deleted;
        if (expected) {
            EXPECT_EQ(state(tree, expected) & TVIS_SELECTED, UINT{TVIS_SELECTED});
        }
        DestroyWindow(tree);
        items.clear();
    }
}

TEST_F(TreeViewModelTest, WhenNothingCanTakeTheSelectionOnlyDeletionsAreSent) {
    tree = createTree();
    HTREEITEM only = insert(tree, TVI_ROOT, "only", 1);
    insert(tree, only, "child", 2);
    select(only);
    events.clear();
    remove(only);
    EXPECT_EQ(events, (Lines{"delete 2", "delete 1"}));
    EXPECT_EQ(caret(), nullptr);

    buildFamily();
    select(items[102]);
    events.clear();
    EXPECT_EQ(remove(TVI_ROOT), TRUE);
    EXPECT_EQ(events, (Lines{"delete 101", "delete 102", "delete 103", "delete 100", "delete 10", "delete 11",
                             "delete 12"}));
    EXPECT_EQ(caret(), nullptr);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(remove(items[10]), FALSE);  // a deleted item's handle is stale
}

TEST_F(TreeViewModelTest, ExpandNotifiesTheFirstTimeOnly) {
    tree = createTree();
    HTREEITEM empty = insert(tree, TVI_ROOT, "promises children", 1, 1);
    HTREEITEM parent = insert(tree, TVI_ROOT, "has children", 2, 1);
    insert(tree, parent, "child", 3);

    // A promise without children: asked every time, never expanded.
    for (int attempt = 0; attempt < 2; ++attempt) {
        events.clear();
        EXPECT_EQ(expand(empty), 0);
        EXPECT_EQ(events, Lines{"expanding 1 2"});
        EXPECT_EQ(state(tree, empty), 0u);
    }

    events.clear();
    EXPECT_EQ(expand(parent), 1);
    EXPECT_EQ(events, (Lines{"expanding 2 2", "expanded 2 2"}));
    EXPECT_EQ(state(tree, parent), UINT{TVIS_EXPANDED | TVIS_EXPANDEDONCE});

    events.clear();
    EXPECT_EQ(expand(parent, TVE_COLLAPSE), 1);
    EXPECT_EQ(state(tree, parent), UINT{TVIS_EXPANDEDONCE});
    EXPECT_EQ(expand(parent, TVE_EXPAND), 1);
    EXPECT_EQ(expand(parent, TVE_TOGGLE), 1);
    EXPECT_EQ(expand(parent, TVE_TOGGLE), 1);
    EXPECT_EQ(state(tree, parent), UINT{TVIS_EXPANDED | TVIS_EXPANDEDONCE});
    EXPECT_EQ(events, Lines{});
}

TEST_F(TreeViewModelTest, ChildrenInsertedWhileExpandingAreShownAndAVetoKeepsTheItemClosed) {
    tree = createTree();
    HTREEITEM lazy = insert(tree, TVI_ROOT, "lazy", 1, 1);
    onNotify = [&](NMHDR* header) -> LRESULT {
        if (header->code == TVN_ITEMEXPANDINGA) insert(tree, lazy, "loaded", 2);
        return 0;
    };
    EXPECT_EQ(expand(lazy), 1);
    EXPECT_EQ(events, (Lines{"expanding 1 2", "expanded 1 2"}));
    EXPECT_NE(next(tree, lazy, TVGN_NEXTVISIBLE), nullptr);

    HTREEITEM vetoed = insert(tree, TVI_ROOT, "vetoed", 3);
    insert(tree, vetoed, "child", 4);
    onNotify = [](NMHDR* header) -> LRESULT { return header->code == TVN_ITEMEXPANDINGA ? TRUE : 0; };
    events.clear();
    EXPECT_EQ(expand(vetoed), 0);
    EXPECT_EQ(events, Lines{"expanding 3 2"});
    EXPECT_EQ(state(tree, vetoed), 0u);
}

TEST_F(TreeViewModelTest, ExpandedItemStaysExpandedWhenItsChildrenGoAndShowsNewOnesAtOnce) {
    buildFamily();
    expand(items[100]);
    for (LPARAM id : {101, 102, 103}) remove(items[id]);
    EXPECT_EQ(state(tree, items[100]) & TVIS_EXPANDED, UINT{TVIS_EXPANDED});
    HTREEITEM child = insert(tree, items[100], "new", 104);
    EXPECT_EQ(next(tree, items[100], TVGN_NEXTVISIBLE), child);
}

TEST_F(TreeViewModelTest, SelectingInsideACollapsedParentExpandsItBetweenTheNotifications) {
    buildFamily();
    EXPECT_EQ(select(items[102]), TRUE);
    EXPECT_EQ(events, (Lines{"selchanging 0->102 by 0", "expanding 100 2", "expanded 100 2",
                             "selchanged 0->102 state 2"}));
    EXPECT_EQ(state(tree, items[100]) & TVIS_EXPANDED, UINT{TVIS_EXPANDED});

    events.clear();
    EXPECT_EQ(select(items[102]), TRUE);  // already selected: nothing to say
    EXPECT_EQ(events, Lines{});

    EXPECT_EQ(select(nullptr), TRUE);
    EXPECT_EQ(events, (Lines{"selchanging 102->0 by 0", "selchanged 102->0 state 0"}));
    EXPECT_EQ(caret(), nullptr);
    EXPECT_EQ(state(tree, items[102]) & TVIS_SELECTED, 0u);
}

TEST_F(TreeViewModelTest, SelectionChangeCanBeVetoed) {
    buildFamily();
    select(items[10]);
    onNotify = [](NMHDR* header) -> LRESULT { return header->code == TVN_SELCHANGINGA ? TRUE : 0; };
    events.clear();
    EXPECT_EQ(select(items[11]), FALSE);
    EXPECT_EQ(events, Lines{"selchanging 10->11 by 0"});
    EXPECT_EQ(caret(), items[10]);
}

TEST_F(TreeViewModelTest, CollapsingTheParentOfTheSelectionSelectsTheParentWithNotifications) {
    buildFamily();
    select(items[102]);
    events.clear();
    EXPECT_EQ(expand(items[100], TVE_COLLAPSE), 1);
    EXPECT_EQ(events, (Lines{"selchanging 102->100 by 0", "selchanged 102->100 state 66"}));
    EXPECT_EQ(caret(), items[100]);
}

TEST_F(TreeViewModelTest, DestroyingTheTreeDeletesEveryItemWithItsNotification) {
    buildFamily();
    select(items[101]);
    events.clear();
    DestroyWindow(tree);
    EXPECT_EQ(events, (Lines{"delete 101", "delete 102", "delete 103", "delete 100", "delete 10", "delete 11",
                             "delete 12"}));
}

// Notification handlers may call back into the tree while it deletes.
TEST_F(TreeViewModelTest, HandlersMayReadAndDeleteDuringADeletion) {
    buildFamily();
    expand(items[100]);
    select(items[101]);
    Lines seen;
    onNotify = [&](NMHDR* header) -> LRESULT {
        if (header->code != TVN_DELETEITEMA) return 0;
        auto* info = reinterpret_cast<NMTREEVIEWA*>(header);
        // The item being deleted can still be read, and the rest of the tree is whole.
        seen.push_back(std::to_string(param(tree, info->itemOld.hItem)) + " root " +
                       std::to_string(param(tree, next(tree, nullptr, TVGN_ROOT))));
        if (info->itemOld.lParam == 102) {
            EXPECT_EQ(remove(items[103]), TRUE);  // inside the subtree going: already on its way
            EXPECT_EQ(remove(items[12]), TRUE);   // elsewhere: deleted at once
        }
        return 0;
    };
    events.clear();
    EXPECT_EQ(remove(items[100]), TRUE);
    EXPECT_EQ(seen, (Lines{"101 root 10", "102 root 10", "12 root 10", "103 root 10", "100 root 10"}));
    EXPECT_EQ(events, (Lines{"delete 101", "delete 102", "delete 12", "delete 103", "delete 100",
                             "selchanging 0->10 by 0", "selchanged 0->10 state 2"}));
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 2);
}

TEST_F(TreeViewModelTest, InsertingIntoASubtreeBeingDeletedFails) {
    buildFamily();
    HTREEITEM refused = reinterpret_cast<HTREEITEM>(1);
    onNotify = [&](NMHDR* header) -> LRESULT {
        auto* info = reinterpret_cast<NMTREEVIEWA*>(header);
        if (header->code == TVN_DELETEITEMA && info->itemOld.lParam == 101) refused = insert(tree, items[100], "late", 5);
        return 0;
    };
    remove(items[100]);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 3);
}

TEST_F(TreeViewModelTest, ItemsDeepInsideASubtreeBeingDeletedRefuseChangesWhileOthersAccept) {
    tree = createTree();
    HTREEITEM top = insert(tree, TVI_ROOT, "top", 1);
    HTREEITEM middle = insert(tree, top, "middle", 2);
    insert(tree, middle, "first", 3);
    HTREEITEM second = insert(tree, middle, "second", 4);
    insert(tree, second, "leaf", 5);
    HTREEITEM outside = insert(tree, TVI_ROOT, "outside", 6);
    HTREEITEM intoSecond = reinterpret_cast<HTREEITEM>(1);
    HTREEITEM intoOutside = nullptr;
    LRESULT expanded = -1;
    onNotify = [&](NMHDR* header) -> LRESULT {
        auto* info = reinterpret_cast<NMTREEVIEWA*>(header);
        if (header->code != TVN_DELETEITEMA || info->itemOld.lParam != 3) return 0;
        intoSecond = insert(tree, second, "late", 7);
        expanded = SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(second));
        intoOutside = insert(tree, outside, "fine", 8);
        return 0;
    };
    remove(top);
    EXPECT_EQ(intoSecond, nullptr);
    EXPECT_EQ(expanded, FALSE);
    ASSERT_NE(intoOutside, nullptr);
    EXPECT_EQ(text(tree, intoOutside), "fine");
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 2);
}

// Short labels are kept inside the item and long ones apart: both read back whole, and a
// label can move between the two and survive its item's number being reused.
TEST_F(TreeViewModelTest, LabelsOfEveryLengthReadBackWholeAndCanBeRenamed) {
    tree = createTree();
    for (int length : {0, 1, 22, 23, 24, 25, 200}) {
        const std::string label(static_cast<size_t>(length), static_cast<char>('a' + length % 26));
        HTREEITEM item = insert(tree, TVI_ROOT, label, 1);
        EXPECT_EQ(text(tree, item), label) << length;
        for (const std::string& renamed : {std::string(40, 'L'), std::string("short"), label}) {
            TVITEMA data{};
            data.mask = TVIF_TEXT;
            data.hItem = item;
            data.pszText = const_cast<char*>(renamed.c_str());
            EXPECT_TRUE(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data)));
            EXPECT_EQ(text(tree, item), renamed) << length;
        }
        remove(item);
    }
    HTREEITEM reused = insert(tree, TVI_ROOT, "00000012h (00000010h)", 2);
    EXPECT_EQ(text(tree, reused), "00000012h (00000010h)");
}

TEST_F(TreeViewModelTest, DestroyingTheTreeFromAHandlerStopsTheOperation) {
    buildFamily();
    select(items[101]);
    bool destroyed = false;
    onNotify = [&](NMHDR* header) -> LRESULT {
        if (header->code == TVN_DELETEITEMA && !destroyed) {
            destroyed = true;
            DestroyWindow(tree);
        }
        return 0;
    };
    events.clear();
    EXPECT_EQ(remove(items[100]), TRUE);
    EXPECT_FALSE(IsWindow(tree));
    // Every item is reported exactly once, though the window went during the first report.
    std::map<std::string, int> count;
    for (const std::string& line : events) ++count[line];
    EXPECT_EQ(count.size(), 7u) << join(events);
    for (const auto& entry : count) EXPECT_EQ(entry.second, 1) << entry.first;
    EXPECT_EQ(events.front(), "delete 101");
}

TEST_F(TreeViewModelTest, NotificationsCarryTheControlIdAndComeAsAnsi) {
    buildFamily();
    UINT_PTR id = 0;
    HWND from = nullptr;
    onNotify = [&](NMHDR* header) -> LRESULT {
        id = header->idFrom;
        from = header->hwndFrom;
        return 0;
    };
    select(items[10]);
    EXPECT_EQ(id, 5u);
    EXPECT_EQ(from, tree);
    winapi::MessageLog log;
    log.onlyWindows({parent_});
    select(items[11]);
    using winapi::ExpectedMessage;
    EXPECT_EQ(log.mismatch({ExpectedMessage(WM_NOTIFY).wparam(5).notify(TVN_SELCHANGINGA),
                            ExpectedMessage(WM_NOTIFY).wparam(5).notify(TVN_SELCHANGEDA)}),
              "");
}

}  // namespace
}  // namespace comctl_test
