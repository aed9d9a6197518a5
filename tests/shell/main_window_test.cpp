// The main window at work: form types with their titles and amount box,
// the date box's check, the number and due date boxes with the business
// details, change tracking, the output kind, the plain button look and Help.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "form/form_file.h"
#include "runtime/file.h"
#include "runtime/paths.h"
#include "win/controls.h"
#include "runtime/wide.h"
#include "shell/main_window_fixture.h"
#include "ui/control_ids.h"

namespace plaxet::testing {
namespace {

// Whether anything is drawn inside the box besides its background.
bool showsSomething(HWND box) {
    UpdateWindow(box);
    RECT area{};
    GetClientRect(box, &area);
    HDC dc = GetDC(box);
    const COLORREF background = GetPixel(dc, 1, 1);
    bool drawn = false;
    for (int y = 0; y < area.bottom && !drawn; ++y)
        for (int x = 0; x < area.right && !drawn; ++x) drawn = GetPixel(dc, x, y) != background;
    ReleaseDC(box, dc);
    return drawn;
}

std::string cueBanner(HWND box) {
    wchar_t hint[64] = {};
    SendMessageW(box, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(hint), 64);
    return fromWide(hint);
}

TEST_F(MainWindowTest, FormTypeSetsTheTitleWithAndWithoutAFile) {
    open();
    click(kInvoiceButton);
    EXPECT_EQ(title(), "Plaxet - Invoice");
    EXPECT_EQ(form.formType, kInvoice);
    EXPECT_EQ(text(kAmountLabel), "Amount due:");
    click(kReceiptButton);
    EXPECT_EQ(title(), "Plaxet - Receipt");
    EXPECT_EQ(form.formType, kReceipt);
    EXPECT_EQ(text(kAmountLabel), "Amount Paid:");
    click(kEstimateButton);
    EXPECT_EQ(title(), "Plaxet - Estimate");
    EXPECT_EQ(form.formType, kEstimate);
    EXPECT_EQ(text(kAmountLabel), "Estimated Total:");

    editor.currentFilePath = "C:\\forms\\Smith Jobs\\smith.plx";
    click(kInvoiceButton);
    EXPECT_EQ(title(), "Invoice - smith.plx");
    click(kReceiptButton);
    EXPECT_EQ(title(), "Receipt - smith.plx");
    click(kEstimateButton);
    EXPECT_EQ(title(), "Estimate - smith.plx");
}

TEST_F(MainWindowTest, AmountBoxShowsTheTotalAsHintForReceiptsAndAsTextOtherwise) {
    open("\"" + writeSampleForm("sample.plx", kEstimate) + "\"");
    // 10 + 2.5, then 10% tax on it: 13.75.
    EXPECT_EQ(text(kAmountBox), "13.75");
    EXPECT_TRUE(styleOf(kAmountBox) & ES_READONLY);

    click(kReceiptButton);
    EXPECT_EQ(text(kAmountLabel), "Amount Paid:");
    EXPECT_EQ(text(kAmountBox), "") << "a new, empty box";
    EXPECT_FALSE(styleOf(kAmountBox) & ES_READONLY);
    EXPECT_TRUE(styleOf(kAmountBox) & ES_RIGHT);
    EXPECT_EQ(cueBanner(control(kAmountBox)), "13.75");
    EXPECT_TRUE(showsSomething(control(kAmountBox))) << "the hint is drawn in the empty box";
    // The new box keeps its place in the tab order, right after its label.
    EXPECT_EQ(GetWindow(control(kAmountLabel), GW_HWNDNEXT), control(kAmountBox));

    EXPECT_FALSE(editor.changed);
    setText(kAmountBox, "0");
    EXPECT_FALSE(editor.changed) << "a zero amount is no change";
    setText(kAmountBox, "12.00");
    EXPECT_TRUE(editor.changed);

    click(kInvoiceButton);
    EXPECT_EQ(text(kAmountLabel), "Amount due:");
    EXPECT_EQ(text(kAmountBox), "13.75");
    EXPECT_TRUE(styleOf(kAmountBox) & ES_READONLY);
    EXPECT_TRUE(styleOf(kAmountBox) & ES_RIGHT);
    click(kReceiptButton);
    EXPECT_EQ(text(kAmountBox), "") << "the typed amount paid is gone";

    // For other types the box's events are not the form's business.
    click(kEstimateButton);
    editor.changed = false;
    setText(kAmountBox, "99");
    EXPECT_FALSE(editor.changed);
}

TEST_F(MainWindowTest, DateBoxCanOnlyBeLeftWithAValidDate) {
    open();
    focus(kDateBox);
    setText(kDateBox, "13/45/2020");
    editor.changed = false;
    SetFocus(control(kNameBox));
    EXPECT_TRUE(pumpUntil(window, [this] { return GetFocus() == control(kDateBox); }));
    EXPECT_EQ(text(kDateBox), "13/45/2020") << "kept as typed";
    EXPECT_TRUE(editor.changed) << "leaving the date box counts as a change";
    EXPECT_TRUE(responder.asked().empty()) << "no message";

    setText(kDateBox, "");
    SetFocus(control(kNameBox));
    EXPECT_TRUE(pumpUntil(window, [this] { return GetFocus() == control(kDateBox); }));

    setText(kDateBox, " 1-5-07 ");
    SetFocus(control(kAddressBox));
    // Nothing calls the focus back: once no message is left waiting, the
    // focus is still in the address box.
    EXPECT_TRUE(pumpUntil(window, [this] {
        MSG waiting{};
        return GetFocus() == control(kAddressBox) &&
               !PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE);
    }));
    EXPECT_EQ(GetFocus(), control(kAddressBox));
    EXPECT_EQ(text(kDateBox), "01/05/2007");
}

TEST_F(MainWindowTest, BoxesTrackChangesAndTheNotesFollowTheRecord) {
    open();
    setText(kNameBox, "Ann");
    EXPECT_TRUE(editor.changed);
    editor.changed = false;
    setText(kPhoneBox, "555");
    EXPECT_TRUE(editor.changed);
    editor.changed = false;
    // Typed (a multi-line box does not report text set with WM_SETTEXT).
    SendMessageW(control(kNotesBox), EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(L"Paid by cheque\r\nThanks"));
    EXPECT_TRUE(editor.changed);
    EXPECT_EQ(form.notes, "Paid by cheque\r\nThanks");

    // A selection left in a box is removed at its next event.
    SendMessageW(control(kAddressBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"12 Elm"));
    SendMessageW(control(kAddressBox), EM_SETSEL, 0, -1);
    command(kAddressBox, EN_SETFOCUS);
    DWORD start = 0, end = 0;
    SendMessageW(control(kAddressBox), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end);
}

TEST_F(MainWindowTest, OutputKindOffersTheCreatedFileOfThatKind) {
    const std::string path = writeSampleForm("job.plx");
    ASSERT_TRUE(replaceFileContents(folder.file("job.htm"), "<html></html>").ok);
    open("\"" + path + "\"");
    EXPECT_FALSE(IsWindowEnabled(control(kShowFileButton)));
    click(kHtmButton);
    EXPECT_EQ(main->outputKind, DocumentKind::Html);
    EXPECT_TRUE(IsWindowEnabled(control(kShowFileButton)));
    EXPECT_TRUE(IsWindowEnabled(control(kCopyFileButton)));
    click(kRtfButton);
    EXPECT_EQ(main->outputKind, DocumentKind::Rtf);
    EXPECT_FALSE(IsWindowEnabled(control(kShowFileButton))) << "there is no RTF file";
    EXPECT_FALSE(IsWindowEnabled(control(kCopyFileButton)));
    click(kPdfButton);
    EXPECT_EQ(main->outputKind, DocumentKind::Pdf);
    EXPECT_FALSE(IsDlgButtonChecked(window, kRtfButton)) << "one choice of three";
    EXPECT_FALSE(IsWindowEnabled(control(kShowFileButton))) << "there is no PDF file";
    ASSERT_TRUE(replaceFileContents(folder.file("job.pdf"), "%PDF-1.7").ok);
    click(kPdfButton);
    EXPECT_TRUE(IsWindowEnabled(control(kShowFileButton)));
    EXPECT_TRUE(IsWindowEnabled(control(kCopyFileButton)));
}

TEST_F(MainWindowTest, CommandsGiveTheButtonsTheirPlainLookBack) {
    open();
    auto makeDefault = [this] {
        for (int id : {kCreateFilesButton, kShowFileButton, kCopyFileButton})
            SendMessageW(control(id), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    };
    auto looksPlain = [this] {
        for (int id : {kCreateFilesButton, kShowFileButton, kCopyFileButton})
            if ((styleOf(id) & BS_TYPEMASK) != BS_PUSHBUTTON) return false;
        return true;
    };
    makeDefault();
    setText(kNameBox, "Ann");
    EXPECT_TRUE(looksPlain());
    makeDefault();
    command(999); // no such command: ignored, but the look comes back
    EXPECT_TRUE(looksPlain());
    makeDefault();
    command(kAmountBox, EN_CHANGE); // the amount box of a form that is no receipt
    EXPECT_FALSE(looksPlain());
}

// The number and due date boxes hold the form's fields: typed, saved with
// the form, emptied by New and shown again by Open.
TEST_F(MainWindowTest, NumberAndDueDateAreTypedSavedClearedAndReopened) {
    const std::string path = writeSampleForm("numbered.plx", kInvoice);
    open("\"" + path + "\"");
    EXPECT_EQ(text(kNumberBox), "");
    EXPECT_EQ(text(kDueDateBox), "");
    setText(kNumberBox, "2024-0007");
    EXPECT_TRUE(editor.changed);
    EXPECT_EQ(form.number, "2024-0007");
    editor.changed = false;
    setText(kDueDateBox, "04/14/2024");
    EXPECT_TRUE(editor.changed);
    EXPECT_EQ(form.dueDate, "04/14/2024");

    responder.answerButton(IDYES); // Save this file now?
    command(kSaveCommand);
    EXPECT_FALSE(editor.changed);
    FormDocument saved;
    ASSERT_TRUE(loadFormFile(path, saved).ok);
    EXPECT_EQ(saved.number, "2024-0007");
    EXPECT_EQ(saved.dueDate, "04/14/2024");

    command(kNewCommand);
    EXPECT_EQ(text(kNumberBox), "");
    EXPECT_EQ(text(kDueDateBox), "");
    EXPECT_EQ(form.number, "");
    EXPECT_FALSE(editor.changed) << "New's own emptying is no typing";

    responder.answerPath(path);
    command(kOpenCommand);
    EXPECT_EQ(text(kNumberBox), "2024-0007");
    EXPECT_EQ(text(kDueDateBox), "04/14/2024");
    EXPECT_FALSE(editor.changed);
}

// Leaving the date box with a date fills an empty due date from the
// business details' payment days; a due date already there stays.
TEST_F(MainWindowTest, LeavingTheDateFillsTheDueDateFromThePaymentDays) {
    ASSERT_TRUE(replaceFileContents(folder.file("business.json"), R"({"paymentDays": 14})").ok);
    open();
    EXPECT_EQ(main->documentSettings.business.paymentDays, 14);
    EXPECT_EQ(main->businessFileError, "");
    focus(kDateBox);
    setText(kDateBox, "3/5/2024");
    focus(kNameBox);
    EXPECT_EQ(text(kDateBox), "03/05/2024");
    EXPECT_EQ(text(kDueDateBox), "03/19/2024");
    EXPECT_EQ(form.dueDate, "03/19/2024");

    setText(kDueDateBox, "04/30/2024");
    focus(kDateBox);
    setText(kDateBox, "03/20/2024");
    focus(kNameBox);
    EXPECT_EQ(text(kDueDateBox), "04/30/2024") << "typed: kept";
    EXPECT_TRUE(responder.asked().empty());
}

TEST_F(MainWindowTest, ADamagedBusinessFileIsNamedAndNotRead) {
    ASSERT_TRUE(replaceFileContents(folder.file("business.json"), R"({"paymentDays": "14"})").ok);
    open();
    EXPECT_EQ(main->businessFileError.find(main->folders.businessFilePath + " is damaged"), 0u)
        << main->businessFileError;
    EXPECT_FALSE(main->documentSettings.business.paymentDays);
    EXPECT_TRUE(responder.asked().empty()) << "said when it matters, by Create Files";
}

TEST_F(MainWindowTest, HelpContentsNamesTheMissingHelpFile) {
    open();
    command(kHelpContentsCommand);
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].text, "Help file not found");
    EXPECT_EQ(responder.asked()[0].title, main->folders.dataFolder + "plaxet.ahp");
    EXPECT_TRUE(samePathText(responder.asked()[0].title, folder.file("plaxet.ahp")));
    EXPECT_EQ(responder.asked()[0].style, static_cast<unsigned>(MB_OK | MB_ICONSTOP));

    // With a file there, the viewer reads it: this one is too short to hold
    // a topic count, so the viewer reports it and no window stays open.
    ASSERT_TRUE(replaceFileContents(folder.file("plaxet.ahp"), "x").ok);
    command(kHelpContentsCommand);
    ASSERT_EQ(responder.asked().size(), 2u);
    EXPECT_EQ(responder.asked()[1].title, "Help File");
    EXPECT_NE(responder.asked()[1].text, "Help file not found");
}

} // namespace
} // namespace plaxet::testing
