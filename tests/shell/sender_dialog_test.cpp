// The sender dialog over the real main window: its layout, change tracking,
// Ok with and without saving, the close box, and a save that fails. The
// business details dialog, from the File menu and from the sender dialog:
// saved with the keys the file had, cancelled, problems refused, a damaged
// file and a refused save; its layout at every display scale. The Buyer
// Details dialog: typed and taken, cancelled, and a wrong country.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "form/business_details.h"
#include "runtime/file.h"
#include "shell/main_window_fixture.h"
#include "ui/business_dialog.h"
#include "ui/buyer_dialog.h"
#include "ui/control_ids.h"
#include "ui/sender_dialog.h"
#include "win/controls.h"
#include "win/forms.h"

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
    const Buyer expected{"BE",           "69001",   "Lyon",          "2 rue Neuve",
                         "BE0123456789", "PO 4711", "ap@example.com"};
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

// The business details dialog, from the File menu and from the sender
// dialog's button, over business.json in the data folder.
class BusinessDetailsTest : public SenderDialogTest {
  protected:
    std::string businessFile() const { return folder.file("business.json"); }

    // Runs `open` (which opens the dialog) and `action` on the dialog while
    // its modal loop runs; returns once the dialog is gone.
    void withBusinessDialog(const std::function<void()>& open,
                            const std::function<void(HWND)>& action) {
        WhenWindowAppears watch("Business Details", action);
        open();
        EXPECT_TRUE(watch.acted());
        EXPECT_FALSE(watch.timedOut());
        EXPECT_FALSE(findWindowTitled("Business Details"));
    }
    void fromMenu(const std::function<void(HWND)>& action) {
        withBusinessDialog([this] { command(kBusinessDetailsCommand); }, action);
    }
    static void click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    static bool checked(HWND dialog, int id) {
        return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
    }

    static constexpr const char* kEarlierFile =
        R"({"name": "Berg GmbH", "iban": "DE89 3704 0044 0532 0130 00", "vat": "exempt",
            "exemptionReason": "No VAT under the small business rule.", "paymentDays": 14,
            "numbers": {"invoice": "{YYYY}-{####}", "later": "kept"}, "laterKey": [1, 2]})";
};

TEST_F(BusinessDetailsTest, TypedDetailsAreSavedBesideTheKeysTheFileHad) {
    ASSERT_TRUE(replaceFileContents(businessFile(), kEarlierFile).ok);
    open();
    main->businessFileError = "read at start: damaged";
    fromMenu([&](HWND dialog) {
        EXPECT_FALSE(IsWindowEnabled(window)) << "modal over the main window";
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
        EXPECT_EQ(ControlGetText(dialog, kBusinessNameBox), "Berg GmbH");
        EXPECT_EQ(ControlGetText(dialog, kBusinessIbanBox), "DE89 3704 0044 0532 0130 00");
        EXPECT_EQ(ControlGetText(dialog, kPaymentDaysBox), "14");
        EXPECT_EQ(ControlGetText(dialog, kInvoicePatternBox), "{YYYY}-{####}");
        EXPECT_EQ(ControlGetText(dialog, kReceiptPatternBox), "");
        EXPECT_TRUE(checked(dialog, kVatExemptButton));
        EXPECT_FALSE(checked(dialog, kVatStandardButton));

        ControlSetText(dialog, kBusinessStreetBox,
                       "  Hauptstra\xC3\x9F"
                       "e 1 ");
        ControlSetText(dialog, kBusinessCityBox, "K\xC3\xB6ln");
        ControlSetText(dialog, kBusinessCountryBox, "DE");
        ControlSetText(dialog, kBusinessCurrencyBox, "EUR");
        ControlSetText(dialog, kPaymentDaysBox, "30");
        ControlSetText(dialog, kReceiptPatternBox, "R-{YY}{MM}-{###}");
        ControlSetText(dialog, kBusinessEmailBox, "info@berg.example");
        click(dialog, kVatStandardButton);
        pressOk(dialog);
    });
    EXPECT_TRUE(responder.asked().empty()) << "no problem, no question";

    BusinessDetails saved;
    ASSERT_TRUE(loadBusinessDetails(businessFile(), saved).ok);
    EXPECT_EQ(saved.name, "Berg GmbH");
    EXPECT_EQ(saved.street, "  Hauptstra\xC3\x9F"
                            "e 1 ")
        << "blanks stay as typed";
    EXPECT_EQ(saved.city, "K\xC3\xB6ln");
    EXPECT_EQ(saved.country, "DE");
    EXPECT_EQ(saved.email, "info@berg.example");
    EXPECT_EQ(saved.paymentDays, 30);
    EXPECT_EQ(saved.vat, "standard");
    EXPECT_EQ(saved.exemptionReason, "No VAT under the small business rule.");
    EXPECT_EQ(numberPatternFor(saved, kInvoice), "{YYYY}-{####}");
    EXPECT_EQ(numberPatternFor(saved, kReceipt), "R-{YY}{MM}-{###}");
    const std::string written = readWholeFile(businessFile()).value_or("");
    EXPECT_NE(written.find("\"laterKey\""), std::string::npos) << written;
    EXPECT_NE(written.find("\"later\": \"kept\""), std::string::npos) << written;
    EXPECT_EQ(written.find("\"bic\""), std::string::npos) << "empty boxes add no keys";

    EXPECT_EQ(main->documentSettings.business.city, "K\xC3\xB6ln") << "the documents use them";
    EXPECT_EQ(main->documentSettings.business.paymentDays, 30);
    EXPECT_EQ(main->businessFileError, "");
    EXPECT_TRUE(IsWindowEnabled(window));
}

TEST_F(BusinessDetailsTest, CancelLeavesTheFileAndTheDocumentsAlone) {
    open();
    main->documentSettings.business.name = "As at start";
    fromMenu([&](HWND dialog) {
        EXPECT_TRUE(checked(dialog, kVatStandardButton)) << "no file: a business that charges VAT";
        ControlSetText(dialog, kBusinessNameBox, "Not kept");
        click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(fileExists(businessFile())) << "no file is made";

    ASSERT_TRUE(replaceFileContents(businessFile(), kEarlierFile).ok);
    for (const bool closeBox : {true, false})
        fromMenu([&](HWND dialog) {
            ControlSetText(dialog, kBusinessNameBox, "Not kept");
            SetFocus(GetDlgItem(dialog, kBusinessNameBox));
            if (closeBox)
                SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
                pressKey(VK_ESCAPE);
        });
    EXPECT_EQ(readWholeFile(businessFile()), kEarlierFile);
    EXPECT_EQ(main->documentSettings.business.name, "As at start");
    EXPECT_TRUE(responder.asked().empty());
}

TEST_F(BusinessDetailsTest, ProblemsAreNamedTogetherAndTheDialogStaysOpenAsTyped) {
    open();
    fromMenu([&](HWND dialog) {
        ControlSetText(dialog, kBusinessIbanBox, "DE88 3704 0044 0532 0130 00");
        ControlSetText(dialog, kBusinessCountryBox, "de");
        ControlSetText(dialog, kPaymentDaysBox, "2 weeks");
        ControlSetText(dialog, kInvoicePatternBox, "INV-{N}");
        click(dialog, kVatExemptButton);
        responder.answerButton(IDOK);
        pressOk(dialog);

        ASSERT_TRUE(IsWindow(dialog)) << "still open";
        ASSERT_EQ(responder.asked().size(), 1u) << "one message for all";
        const UserRequest& said = responder.asked()[0];
        EXPECT_EQ(said.title, "Business Details");
        EXPECT_EQ(said.style, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
        for (const char* named : {"IBAN: ", "Country: \"de\"", "Payment days: \"2 weeks\"",
                                  "Invoice number pattern: ", "Exemption sentence: "})
            EXPECT_NE(said.text.find(named), std::string::npos) << named << " in " << said.text;
        EXPECT_EQ(ControlGetText(dialog, kBusinessIbanBox), "DE88 3704 0044 0532 0130 00");
        EXPECT_EQ(ControlGetText(dialog, kBusinessCountryBox), "de") << "not upper-cased";
        EXPECT_EQ(ControlGetText(dialog, kPaymentDaysBox), "2 weeks");
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kPaymentDaysBox)) << "at the first problem";
        EXPECT_FALSE(fileExists(businessFile()));

        ControlSetText(dialog, kBusinessIbanBox, "DE89 3704 0044 0532 0130 00");
        ControlSetText(dialog, kBusinessCountryBox, "DE");
        ControlSetText(dialog, kPaymentDaysBox, "0");
        ControlSetText(dialog, kInvoicePatternBox, "INV-{####}");
        ControlSetText(dialog, kExemptionReasonBox, "Exempt under the small business rule.");
        pressOk(dialog);
    });
    EXPECT_EQ(responder.asked().size(), 1u);
    BusinessDetails saved;
    ASSERT_TRUE(loadBusinessDetails(businessFile(), saved).ok);
    EXPECT_EQ(saved.iban, "DE89 3704 0044 0532 0130 00");
    EXPECT_EQ(saved.paymentDays, 0);
    EXPECT_EQ(saved.vat, "exempt");

    // A vat kind this version does not know shows on neither option button
    // and is kept, so Ok names it until the user chooses one.
    responder.forget();
    ASSERT_TRUE(replaceFileContents(businessFile(), R"({"vat": "reduced"})").ok);
    fromMenu([&](HWND dialog) {
        EXPECT_FALSE(checked(dialog, kVatStandardButton));
        EXPECT_FALSE(checked(dialog, kVatExemptButton));
        responder.answerButton(IDOK);
        pressOk(dialog);
        ASSERT_EQ(responder.messages().size(), 1u);
        EXPECT_NE(responder.messages()[0].find("VAT: \"reduced\""), std::string::npos);
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(readWholeFile(businessFile()), R"({"vat": "reduced"})");
}

TEST_F(BusinessDetailsTest, ADamagedFileIsNamedAndNeverWrittenOver) {
    const std::string damaged = R"({"name": "Berg GmbH", "paymentDays": "14"})";
    ASSERT_TRUE(replaceFileContents(businessFile(), damaged).ok);
    open();
    responder.answerButton(IDOK);
    {
        WhenWindowAppears watch(
            "Business Details",
            [](HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, 500ms);
        command(kBusinessDetailsCommand);
        EXPECT_FALSE(watch.acted()) << "the dialog is not opened on empty details";
    }
    ASSERT_EQ(responder.asked().size(), 1u);
    const UserRequest& said = responder.asked()[0];
    EXPECT_EQ(said.title, "Business Details");
    EXPECT_EQ(said.style, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
    EXPECT_NE(said.text.find(main->folders.businessFilePath + " is damaged"), std::string::npos)
        << said.text;
    EXPECT_NE(said.text.find("paymentDays"), std::string::npos) << said.text;
    EXPECT_EQ(readWholeFile(businessFile()), damaged);
}

TEST_F(BusinessDetailsTest, ARefusedSaveKeepsTheEarlierFileAndWhatWasTyped) {
    ASSERT_TRUE(replaceFileContents(businessFile(), kEarlierFile).ok);
    ASSERT_TRUE(setAttributes(businessFile(), kAttrReadOnly));
    open();
    main->documentSettings.business.name = "As at start";
    // The dialog shows again after the failed save, for a second watch.
    std::optional<WhenWindowAppears> again;
    std::string shownAgain;
    {
        WhenWindowAppears first("Business Details", [&](HWND dialog) {
            ControlSetText(dialog, kBusinessNameBox, "Berg & Sohn GmbH");
            responder.answerButton(IDOK);
            pressOk(dialog);
            again.emplace("Business Details", [&](HWND shown) {
                shownAgain = ControlGetText(shown, kBusinessNameBox);
                click(shown, IDCANCEL);
            });
        });
        command(kBusinessDetailsCommand);
        EXPECT_TRUE(first.acted());
        ASSERT_TRUE(again);
        EXPECT_TRUE(again->acted());
        again.reset();
    }
    EXPECT_EQ(shownAgain, "Berg & Sohn GmbH") << "what was typed is shown again";
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].style, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
    EXPECT_NE(responder.asked()[0].text.find("not saved"), std::string::npos);
    EXPECT_NE(responder.asked()[0].text.find("read-only"), std::string::npos);
    ASSERT_TRUE(setAttributes(businessFile(), 0));
    EXPECT_EQ(readWholeFile(businessFile()), kEarlierFile);
    EXPECT_EQ(main->documentSettings.business.name, "As at start");
}

TEST_F(BusinessDetailsTest, OpensOverTheSenderDialogFromItsButton) {
    form.senderLines = {"Berg Gardening", "", "", "", "", ""};
    open();
    withDialog([&](HWND sender) {
        EXPECT_EQ(ControlGetText(sender, kSenderBusinessButton), "&Business Details...");
        withBusinessDialog([&] { click(sender, kSenderBusinessButton); },
                           [&](HWND dialog) {
                               EXPECT_EQ(GetWindow(dialog, GW_OWNER), sender);
                               EXPECT_FALSE(IsWindowEnabled(sender))
                                   << "modal over the sender dialog";
                               ControlSetText(dialog, kBusinessNameBox, "Berg Gardening Ltd");
                               pressOk(dialog);
                           });
        EXPECT_TRUE(IsWindowEnabled(sender));
        EXPECT_EQ(ControlGetText(sender, kSenderLineBoxBase + 1), "Berg Gardening");
        SendMessageW(sender, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    BusinessDetails saved;
    ASSERT_TRUE(loadBusinessDetails(businessFile(), saved).ok);
    EXPECT_EQ(saved.name, "Berg Gardening Ltd");
    EXPECT_EQ(main->documentSettings.business.name, "Berg Gardening Ltd");
    EXPECT_TRUE(responder.asked().empty());
}

// At every display scale the dialog is its layout's size, and its rows,
// option buttons and buttons lie inside it without overlapping.
TEST_F(BusinessDetailsTest, FitsItsLayoutAtEveryScale) {
    open();
    const int dpi = requestedDpi();
    fromMenu([&](HWND dialog) {
        EXPECT_EQ(FormDpi(dialog), dpi);
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, atDpi(730, dpi));
        EXPECT_EQ(client.bottom, atDpi(442, dpi));
        const size_t placed = expectPlacedApart(dialog, [](HWND child, const RECT&) {
                                  return !isGroupBox(child);
                              }).size();
        EXPECT_EQ(placed, 2u * 20 + 1 + 2 + 2)
            << "a label and a box per row, the hint, two option buttons and two buttons";
        click(dialog, IDCANCEL);
    });
}

} // namespace
} // namespace plaxet::testing
