// The sender dialog over the real main window: its layout, change tracking,
// Ok with and without saving, the close box, and a save that fails. The
// Buyer Details dialog: typed and taken, cancelled, and a wrong country.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "runtime/file.h"
#include "win/controls.h"
#include "shell/main_window_fixture.h"
#include "ui/control_ids.h"
#include "ui/buyer_dialog.h"
#include "ui/sender_dialog.h"

namespace plaxet::testing {
namespace {

class SenderDialogTest : public MainWindowTest {
  protected:
    // Opens the dialog with the Sender button and runs `action` on it while
    // its modal loop runs; returns once the dialog is gone.
    void withDialog(const std::function<void(HWND)>& action) {
        WhenWindowAppears watch("Define Sender", action);
        click(kSenderButton);
        EXPECT_TRUE(watch.acted());
        EXPECT_FALSE(watch.timedOut());
        EXPECT_FALSE(findWindowTitled("Define Sender"));
    }

    static void type(HWND dialog, int line, const std::string& text) {
        ControlSetText(dialog, kSenderLineBoxBase + line, text);
    }
    static void pressOk(HWND dialog) { SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }

    std::string senderFile() const { return folder.file("quillet.ini"); }
};

TEST_F(SenderDialogTest, ShowsTheSixLinesAndSavesThemOnYes) {
    form.senderLines = {"Acme Paints", "  1 Main St", "", "", "", "Est. 1990"};
    open();
    EXPECT_FALSE(editor.changed);
    withDialog([&](HWND dialog) {
        EXPECT_FALSE(IsWindowEnabled(window)) << "modal over the main window";
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, 400);
        EXPECT_EQ(client.bottom, 320);
        const LONG style = GetWindowLongW(dialog, GWL_STYLE);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
        for (int line = 1; line <= 6; ++line) {
            const int id = kSenderLineBoxBase + line;
            const ControlBounds box = ControlGetBounds(dialog, id);
            EXPECT_EQ(box.x, 20);
            EXPECT_EQ(box.y, 20 + 30 * line);
            EXPECT_EQ(box.width, 350);
            EXPECT_EQ(box.height, 20);
            EXPECT_EQ(ControlGetText(dialog, id), form.senderLines[static_cast<size_t>(line - 1)]);
            EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & ES_AUTOHSCROLL);
        }
        const ControlBounds ok = ControlGetBounds(dialog, IDOK);
        EXPECT_EQ(ok.x, 225);
        EXPECT_EQ(ok.y, 240);
        EXPECT_EQ(ok.width, 120);
        EXPECT_EQ(ok.height, 40);
        EXPECT_EQ(ControlGetText(dialog, IDOK), "&Ok");
        HWND label = GetWindow(GetWindow(dialog, GW_CHILD), GW_HWNDFIRST);
        EXPECT_EQ(windowText(label),
                  "Specify lines defining sender (will show as a centered header):");
        EXPECT_FALSE(editor.changed) << "filling the boxes is no change";

        type(dialog, 3, "Springfield");
        EXPECT_TRUE(editor.changed);
        type(dialog, 1, "Acme Paints & Sons");
        responder.answerButton(IDYES);
        pressOk(dialog);
    });
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].text, "Save data defining sender?");
    EXPECT_EQ(responder.asked()[0].title, "Save Data");
    EXPECT_EQ(responder.asked()[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(form.senderLines[0], "Acme Paints & Sons");
    EXPECT_EQ(form.senderLines[1], "  1 Main St") << "leading blanks stay";
    EXPECT_EQ(form.senderLines[2], "Springfield");
    EXPECT_EQ(readWholeFile(senderFile()),
              "Acme Paints & Sons\r\n  1 Main St\r\nSpringfield\r\n\r\n\r\nEst. 1990\r\n");
    EXPECT_TRUE(IsWindowEnabled(window));
}

TEST_F(SenderDialogTest, NoKeepsTheLinesForThisRunAndTheCloseBoxDropsThem) {
    form.senderLines = {"Acme Paints", "", "", "", "", ""};
    open();
    withDialog([&](HWND dialog) {
        responder.answerButton(IDNO);
        // The Enter key in a line box is Ok too.
        SetFocus(GetDlgItem(dialog, kSenderLineBoxBase + 2));
        pressKey(VK_RETURN);
    });
    EXPECT_EQ(responder.messages(), std::vector<std::string>{"Save data defining sender?"});
    EXPECT_FALSE(editor.changed) << "Ok alone changes nothing";
    EXPECT_EQ(form.senderLines[0], "Acme Paints");
    EXPECT_FALSE(fileExists(senderFile()));

    withDialog([&](HWND dialog) {
        type(dialog, 1, "");
        type(dialog, 2, "Second line");
        responder.answerButton(IDNO);
        pressOk(dialog);
    });
    EXPECT_EQ(form.senderLines[0], "");
    EXPECT_EQ(form.senderLines[1], "Second line");
    EXPECT_FALSE(fileExists(senderFile()));

    responder.forget();
    editor.changed = false;
    withDialog([&](HWND dialog) {
        type(dialog, 1, "Not kept");
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_TRUE(responder.asked().empty());
    EXPECT_EQ(form.senderLines[0], "") << "only Ok takes the lines";
    EXPECT_TRUE(editor.changed) << "typing counted all the same";
}

TEST_F(SenderDialogTest, AFailedSaveIsReportedAndTheLinesAreKept) {
    open();
    // A folder where the sender file should be: the file cannot be written.
    std::filesystem::create_directory(folder.path() / "quillet.ini");
    withDialog([&](HWND dialog) {
        type(dialog, 1, "Acme Paints");
        responder.answerButton(IDYES);
        pressOk(dialog);
    });
    ASSERT_EQ(responder.asked().size(), 2u);
    EXPECT_EQ(responder.asked()[1].title, "Save Data");
    EXPECT_NE(responder.asked()[1].text.find("not saved"), std::string::npos);
    EXPECT_EQ(responder.asked()[1].style, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(form.senderLines[0], "Acme Paints");
}

class BuyerDialogTest : public MainWindowTest {
  protected:
    // Opens the dialog with the Details button and runs `action` on it while
    // its modal loop runs; returns once the dialog is gone.
    void withDialog(const std::function<void(HWND)>& action) {
        WhenWindowAppears watch("Buyer Details", action);
        click(kBuyerDetailsButton);
        EXPECT_TRUE(watch.acted());
        EXPECT_FALSE(watch.timedOut());
        EXPECT_FALSE(findWindowTitled("Buyer Details"));
    }
    static void press(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
};

TEST_F(BuyerDialogTest, TypedDetailsAreTakenOnOkAndNotOnCancel) {
    form.buyer.city = "Lyon";
    form.buyer.country = "FR";
    open();
    withDialog([&](HWND dialog) {
        EXPECT_FALSE(IsWindowEnabled(window)) << "modal over the main window";
        EXPECT_EQ(ControlGetText(dialog, kBuyerCityBox), "Lyon");
        EXPECT_EQ(ControlGetText(dialog, kBuyerCountryBox), "FR");
        ControlSetText(dialog, kBuyerStreetBox, "2 rue Neuve");
        ControlSetText(dialog, kBuyerPostcodeBox, "69001");
        ControlSetText(dialog, kBuyerCountryBox, "BE");
        ControlSetText(dialog, kBuyerVatIdBox, "BE0123456789");
        ControlSetText(dialog, kBuyerReferenceBox, "PO 4711");
        ControlSetText(dialog, kBuyerEmailBox, "ap@example.com");
        press(dialog, IDOK);
    });
    const Buyer expected{"BE", "69001", "Lyon", "2 rue Neuve", "BE0123456789", "PO 4711",
                         "ap@example.com"};
    EXPECT_EQ(form.buyer, expected);
    EXPECT_TRUE(editor.changed);
    EXPECT_TRUE(responder.asked().empty());

    editor.changed = false;
    withDialog([&](HWND dialog) {
        ControlSetText(dialog, kBuyerCityBox, "Gent");
        press(dialog, IDCANCEL);
    });
    withDialog([&](HWND dialog) {
        ControlSetText(dialog, kBuyerCityBox, "Gent");
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    withDialog([&](HWND dialog) { press(dialog, IDOK); });
    EXPECT_EQ(form.buyer, expected);
    EXPECT_FALSE(editor.changed) << "cancelled, closed, and Ok without a change";
}

TEST_F(BuyerDialogTest, AWrongCountryIsNamedAndTheDialogKeepsWhatWasTyped) {
    open();
    withDialog([&](HWND dialog) {
        ControlSetText(dialog, kBuyerCityBox, "Wien");
        ControlSetText(dialog, kBuyerCountryBox, "at");
        responder.answerButton(IDOK);
        press(dialog, IDOK);
        EXPECT_TRUE(IsWindow(dialog)) << "still open";
        EXPECT_EQ(ControlGetText(dialog, kBuyerCityBox), "Wien");
        EXPECT_EQ(ControlGetText(dialog, kBuyerCountryBox), "at") << "nothing typed is changed";
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kBuyerCountryBox));
        ControlSetText(dialog, kBuyerCountryBox, "AT");
        press(dialog, IDOK);
    });
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].text,
              "The buyer's country \"at\" is not a two-letter country code (ISO 3166-1, in "
              "capitals).\r\nType its two-letter code, or leave the box empty.");
    EXPECT_EQ(responder.asked()[0].title, "Buyer Details");
    EXPECT_EQ(responder.asked()[0].style, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(form.buyer.country, "AT");
    EXPECT_EQ(form.buyer.city, "Wien");
}

} // namespace
} // namespace plaxet::testing
