// The item grid on the screen: typing into the cells reaches the grid's model
// and the rows, the scroll bar and the amount box show it; the keys, the bar,
// the wheel and Tab out of row 12, the row commands from the menu ids and the
// cells' popup menu. The grid's rules themselves are tested natively
// (tests/form/item_grid_test.cpp).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "form/form_file.h"
#include "runtime/file.h"
#include "runtime/text.h"
#include "runtime/wide.h"
#include "shell/main_window_fixture.h"
#include "ui/control_ids.h"
#include "ui/item_rows.h"
#include "win/controls.h"

namespace plaxet::testing {
namespace {

int dateCell(int row) {
    return kDateColumn + row;
}
int descriptionCell(int row) {
    return kDescriptionColumn + row;
}
int costCell(int row) {
    return kCostColumn + row;
}

// Chooses an entry of the popup menu that the cells show, by keys, once it
// is on screen. The menu runs its own loop while the test waits inside the
// message that opened it; a thread timer acts from within that loop.
class PopupMenuChoice {
  public:
    // entry 1..3 (Clear, Insert, Delete item), 0 to dismiss the menu.
    explicit PopupMenuChoice(int entry) {
        state().entry = entry;
        state().shown = false;
        state().deadline = GetTickCount64() + 10000;
        timer_ = SetTimer(nullptr, 0, 20, tick);
    }
    ~PopupMenuChoice() { KillTimer(nullptr, timer_); }
    PopupMenuChoice(const PopupMenuChoice&) = delete;
    PopupMenuChoice& operator=(const PopupMenuChoice&) = delete;

    bool menuWasShown() const { return state().shown; }

  private:
    struct State {
        int entry = 0;
        bool shown = false;
        ULONGLONG deadline = 0;
    };
    static State& state() {
        static State current;
        return current;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        State& s = state();
        HWND menu = FindWindowW(L"#32768", nullptr); // the system's popup menu class
        if (menu && IsWindowVisible(menu) && !s.shown) {
            s.shown = true;
            for (int k = 0; k < s.entry; ++k) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(menu, WM_KEYDOWN, s.entry == 0 ? VK_ESCAPE : VK_RETURN, 0);
            return;
        }
        if (GetTickCount64() > s.deadline) EndMenu(); // fail instead of hanging
    }
    UINT_PTR timer_ = 0;
};

class ItemGridTest : public MainWindowTest {
  protected:
    // A form file of `count` items "Item k" costing k, opened at start.
    void openWithItems(int count) {
        FormDocument sample;
        sample.formType = kInvoice;
        for (int k = 1; k <= count; ++k) {
            editItem(sample, k).description = "Item " + std::to_string(k);
            editItem(sample, k).cost = std::to_string(k);
            sample.itemCount = k;
        }
        const std::string path = folder.file("items.plx");
        ASSERT_TRUE(writeFormFile(sample, path).ok);
        open("\"" + path + "\"");
        ASSERT_EQ(form.itemCount, count);
    }

    // Types the text key by key into the cell, which has the focus.
    void type(int id, const std::string& keys) {
        ASSERT_EQ(GetFocus(), control(id));
        for (char key : keys)
            SendMessageW(control(id), WM_CHAR, static_cast<unsigned char>(key), 1);
    }

    // Runs every message waiting, posted ones included.
    void settle() {
        pumpUntil(window, [] {
            MSG waiting{};
            return !PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE);
        });
    }

    // Presses a key in the focused control; the focus is expected in `id` after it.
    void pressAndExpectFocus(UINT key, int id) {
        pressKey(key);
        EXPECT_TRUE(pumpUntil(window, [this, id] { return GetFocus() == control(id); }))
            << "focus in " << GetDlgCtrlID(GetFocus()) << ", expected " << id;
        settle();
    }

    // Date, description and cost of one row, moving on with Tab.
    void typeRow(int row, const std::string& date, const std::string& description,
                 const std::string& cost) {
        focus(dateCell(row));
        type(dateCell(row), date);
        pressAndExpectFocus(VK_TAB, descriptionCell(row));
        type(descriptionCell(row), description);
        pressAndExpectFocus(VK_TAB, costCell(row));
        type(costCell(row), cost);
    }

    SCROLLINFO scrollBar() const {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(control(kItemScrollBar), SB_CTL, &info);
        return info;
    }

    void scroll(int request, int thumb = 0) {
        SendMessageW(window, WM_VSCROLL, MAKEWPARAM(request, thumb),
                     reinterpret_cast<LPARAM>(control(kItemScrollBar)));
    }

    void wheel(int id, int delta) {
        SendMessageW(control(id), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
    }

    // Opens the popup menu of a cell as a right-click there would.
    void rightClick(int id) {
        RECT bounds{};
        GetWindowRect(control(id), &bounds);
        SendMessageW(control(id), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control(id)),
                     MAKELPARAM(bounds.left + 5, bounds.top + 5));
        settle();
    }

    std::string cueBanner(int id) const {
        wchar_t hint[64] = {};
        SendMessageW(control(id), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(hint), 64);
        return fromWide(hint);
    }
};

TEST_F(ItemGridTest, TypedItemsGoIntoTheListsAndCountOnceTheirRowIsComplete) {
    open();
    typeRow(1, "03/01/2024", "Paint", "12.50 each");
    EXPECT_EQ(itemAt(form, 1).date, "03/01/2024");
    EXPECT_TRUE(editor.changed);

    pressAndExpectFocus(VK_TAB, dateCell(2));
    EXPECT_EQ(form.itemCount, 1);
    EXPECT_EQ(text(costCell(1)), "12.50");
    EXPECT_EQ(text(kAmountBox), "12.50") << "the total";

    // Text set into a cell (WM_SETTEXT) counts as typed too.
    editor.changed = false;
    setText(descriptionCell(1), "Wall paint");
    EXPECT_EQ(itemAt(form, 1).description, "Wall paint");
    EXPECT_TRUE(editor.changed);
}

TEST_F(ItemGridTest, ComputedRowsCountAndShowTheirAmounts) {
    open();
    click(kInvoiceButton);
    typeRow(1, "", "Labour", "100");
    pressAndExpectFocus(VK_TAB, dateCell(2));

    // Subtotal and Tab: the row counts and the focus passes its cost cell.
    focus(descriptionCell(2));
    type(descriptionCell(2), "Subtotal");
    pressAndExpectFocus(VK_TAB, dateCell(3));
    EXPECT_EQ(form.itemCount, 2);
    const std::string label = text(descriptionCell(2));
    EXPECT_EQ(Trim(label), "Subtotal");
    EXPECT_GT(label.size(), std::string("Subtotal").size()) << "pushed to the right";
    EXPECT_EQ(text(costCell(2)), "100.00");

    // For a receipt the total is the empty box's hint; a typed amount stays.
    click(kReceiptButton);
    setText(kAmountBox, "150");
    typeRow(3, "", "Delivery", "8");
    pressAndExpectFocus(VK_TAB, dateCell(4));
    EXPECT_EQ(cueBanner(kAmountBox), "108.00");
    EXPECT_EQ(text(kAmountBox), "150");

    // Leaving a computed row's cell by a click leaves the focus where it went.
    focus(descriptionCell(4));
    type(descriptionCell(4), "tax, 10%");
    focus(kNameBox);
    settle();
    EXPECT_EQ(GetFocus(), control(kNameBox));
    EXPECT_EQ(form.itemCount, 4);
}

TEST_F(ItemGridTest, ScrollingShowsOtherItemsWithoutChangingTheForm) {
    openWithItems(30);
    ASSERT_TRUE(replaceFileContents(folder.file("items.rtf"), "{\\rtf1}").ok);
    click(kRtfButton); // offers the created file again
    ASSERT_TRUE(IsWindowEnabled(control(kShowFileButton)));
    SCROLLINFO bar = scrollBar();
    EXPECT_EQ(bar.nMax, 20);
    EXPECT_EQ(bar.nPage, 4u) << "3.8 rounded";

    scroll(SB_THUMBTRACK, 10);
    EXPECT_EQ(main->grid.topItem, 10);
    EXPECT_EQ(scrollBar().nPos, 10);
    EXPECT_EQ(text(descriptionCell(1)), "Item 10");
    EXPECT_EQ(text(costCell(12)), "21.00");
    struct Request {
        int request;
        int thumb;
        int32_t top;
    };
    for (const Request r : {Request{SB_PAGEDOWN, 0, 14}, Request{SB_LINEUP, 0, 13},
                            Request{SB_PAGEUP, 0, 9}, Request{SB_ENDSCROLL, 0, 9},
                            Request{SB_THUMBPOSITION, 16, 16}, Request{SB_LINEDOWN, 0, 20}}) {
        scroll(r.request, r.thumb);
        EXPECT_EQ(main->grid.topItem, r.top) << "request " << r.request;
    }
    EXPECT_EQ(text(descriptionCell(1)), "Item 20");

    // The wheel: one line per event, up for a turn away from the user.
    wheel(descriptionCell(5), WHEEL_DELTA);
    EXPECT_EQ(main->grid.topItem, 19);
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(main->grid.topItem, 20);

    EXPECT_FALSE(editor.changed);
    EXPECT_TRUE(IsWindowEnabled(control(kShowFileButton))) << "the form was not changed";
    // Any other refresh leaves the documents behind the form.
    refreshRows(*main);
    EXPECT_FALSE(editor.changed);
    EXPECT_FALSE(IsWindowEnabled(control(kShowFileButton)));
    EXPECT_FALSE(IsWindowEnabled(control(kCopyFileButton)));
}

TEST_F(ItemGridTest, ACompleteRowScrolledAwayWithTheFocusInItKeepsItsCost) {
    openWithItems(20);
    scroll(SB_THUMBPOSITION, 10);
    typeRow(12, "", "Item 21", "21");
    // The wheel turns with the focus still in the cost cell.
    wheel(costCell(12), WHEEL_DELTA);
    EXPECT_EQ(form.itemCount, 21);
    EXPECT_EQ(main->grid.topItem, 9);
    EXPECT_EQ(itemAt(form, 21).cost, "21.00");
}

TEST_F(ItemGridTest, TabOutOfRow12ContinuesInANewBottomRow) {
    openWithItems(11);
    EXPECT_EQ(scrollBar().nMax, 1);
    typeRow(12, "", "Item 12", "12");
    pressAndExpectFocus(VK_TAB, dateCell(12));
    EXPECT_EQ(form.itemCount, 12);
    EXPECT_EQ(main->grid.topItem, 2) << "one row down";
    EXPECT_EQ(text(descriptionCell(11)), "Item 12");
    EXPECT_EQ(text(descriptionCell(12)), "");
    EXPECT_EQ(scrollBar().nMax, 2);

    // A subtotal typed in row 12 counts too, and Tab goes on below it.
    focus(descriptionCell(12));
    type(descriptionCell(12), "Subtotal");
    pressAndExpectFocus(VK_TAB, dateCell(12));
    EXPECT_EQ(form.itemCount, 13);
    EXPECT_EQ(main->grid.topItem, 3);
    EXPECT_EQ(text(costCell(11)), "78.00");

    // Shift+Tab from the notes passes the same way into row 12.
    focus(kNotesBox);
    SendMessageW(window, WM_NEXTDLGCTL, 1, FALSE);
    EXPECT_TRUE(pumpUntil(window, [this] { return GetFocus() == control(dateCell(12)); }));
}

TEST_F(ItemGridTest, ArrowAndEnterKeysMoveBetweenCells) {
    openWithItems(20);
    focus(descriptionCell(3));
    pressAndExpectFocus(VK_DOWN, descriptionCell(4));
    DWORD start = 1, end = 1;
    SendMessageW(control(descriptionCell(4)), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u) << "the caret at the start";
    pressAndExpectFocus(VK_UP, descriptionCell(3));
    EXPECT_EQ(main->grid.topItem, 1);

    focus(costCell(12));
    pressAndExpectFocus(VK_DOWN, costCell(12));
    EXPECT_EQ(main->grid.topItem, 2) << "row 12 scrolls, the focus stays";
    EXPECT_EQ(text(descriptionCell(12)), "Item 13");
    focus(dateCell(1));
    pressAndExpectFocus(VK_UP, dateCell(1));
    EXPECT_EQ(main->grid.topItem, 1);

    // Enter goes to the next stop, and never presses a default button.
    SendMessageW(window, DM_SETDEFID, kCreateFilesButton, 0);
    pressAndExpectFocus(VK_RETURN, descriptionCell(1));
    EXPECT_TRUE(responder.asked().empty());
    EXPECT_FALSE(editor.changed);
}

TEST_F(ItemGridTest, RowCommandsActOnTheFocusedRow) {
    openWithItems(5);
    focus(costCell(3));
    command(kInsertItemCommand);
    EXPECT_EQ(form.itemCount, 6);
    EXPECT_EQ(text(descriptionCell(3)), "");
    EXPECT_EQ(text(descriptionCell(6)), "Item 5");
    EXPECT_EQ(text(costCell(6)), "5.00");
    EXPECT_EQ(main->grid.currentItem, 3);
    EXPECT_TRUE(editor.changed);
    EXPECT_EQ(GetFocus(), control(dateCell(3)));

    editor.changed = false;
    focus(descriptionCell(4));
    command(kDeleteItemCommand);
    EXPECT_EQ(form.itemCount, 5);
    EXPECT_EQ(text(descriptionCell(4)), "Item 4");
    EXPECT_TRUE(editor.changed);
    EXPECT_EQ(text(kAmountBox), "12.00") << "1 + 2 + the blank item + 4 + 5";

    focus(dateCell(1));
    command(kClearItemCommand);
    EXPECT_EQ(form.itemCount, 5);
    EXPECT_EQ(text(descriptionCell(1)), "");
    EXPECT_EQ(text(kAmountBox), "11.00");

    // No row: the focus outside the cells.
    focus(kNameBox);
    command(kDeleteItemCommand);
    EXPECT_EQ(form.itemCount, 5);
}

TEST_F(ItemGridTest, PopupMenuOffersTheRowCommandsForItemsInUse) {
    openWithItems(5);
    focus(dateCell(1));
    {
        PopupMenuChoice choice(0);
        rightClick(descriptionCell(8));
        EXPECT_FALSE(choice.menuWasShown()) << "no menu past the last item";
        EXPECT_EQ(main->grid.currentItem, 8);
    }
    focus(dateCell(1));
    {
        // Delete item on row 4 while the focus was in row 1.
        PopupMenuChoice choice(3);
        rightClick(descriptionCell(4));
        EXPECT_TRUE(choice.menuWasShown());
    }
    EXPECT_EQ(form.itemCount, 4);
    EXPECT_EQ(itemAt(form, 1).description, "Item 1");
    EXPECT_EQ(itemAt(form, 4).description, "Item 5");
    EXPECT_EQ(main->grid.currentItem, 4);
    EXPECT_EQ(GetFocus(), control(dateCell(4)));
    {
        PopupMenuChoice choice(2); // Insert item on row 2
        rightClick(costCell(2));
        EXPECT_TRUE(choice.menuWasShown());
    }
    EXPECT_EQ(form.itemCount, 5);
    EXPECT_EQ(itemAt(form, 2).description, "");
    EXPECT_EQ(itemAt(form, 3).description, "Item 2");
    {
        PopupMenuChoice choice(0); // dismissed: nothing happens
        rightClick(descriptionCell(1));
        EXPECT_TRUE(choice.menuWasShown());
    }
    EXPECT_EQ(form.itemCount, 5);
    EXPECT_EQ(itemAt(form, 1).description, "Item 1");
}

TEST_F(ItemGridTest, SavingWithTheFocusInAJustTypedRowKeepsThatItem) {
    const std::string path = writeSampleForm("job.plx", kInvoice);
    open("\"" + path + "\"");
    ASSERT_EQ(form.itemCount, 3);
    // A fourth item, typed while the focus never leaves its cost cell, and a
    // blank row left between the items (Insert item leaves one).
    typeRow(5, "", "Varnish", "7");
    ASSERT_EQ(form.itemCount, 3) << "not counted before its cell is left";
    responder.answerButton(IDYES);
    command(kSaveCommand);
    EXPECT_FALSE(editor.changed);

    FormDocument saved;
    ASSERT_TRUE(loadFormFile(path, saved).ok);
    ASSERT_EQ(saved.itemCount, 4);
    EXPECT_EQ(itemAt(saved, 4).description, "Varnish");
    EXPECT_EQ(itemAt(saved, 4).cost, "7.00") << "counted as on leaving the cell";
    // The grid shows the items as saved, the gap closed.
    EXPECT_EQ(text(descriptionCell(4)), "Varnish");
    EXPECT_EQ(text(descriptionCell(5)), "");
}

} // namespace
} // namespace plaxet::testing
