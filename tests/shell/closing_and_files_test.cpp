// Closing the main window (escape key, File > Exit, close box) through the
// one confirmation, the saves it leads to, and the form files: opening at
// start, New, Open, Save and Save As.
#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include "form/form_file.h"
#include "runtime/file.h"
#include "runtime/text.h"
#include "shell/main_window_fixture.h"
#include "ui/control_ids.h"
#include "win/controls.h"

namespace plaxet::testing {
namespace {

enum class CloseBy { EscapeKey, ExitCommand, CloseBox };

FormDocument readBack(const std::string& path) {
    FormDocument saved;
    const FormFileResult loaded = loadFormFile(path, saved);
    EXPECT_TRUE(loaded.ok) << loaded.error;
    return saved;
}

class ClosingTest : public MainWindowTest {
  protected:
    // Asks the window to close one way and runs messages until it has asked
    // something or gone.
    void askToClose(CloseBy way) {
        const size_t askedBefore = responder.asked().size();
        switch (way) {
        case CloseBy::EscapeKey:
            focus(kNameBox);
            pressKey(VK_ESCAPE);
            break;
        case CloseBy::ExitCommand:
            PostMessageW(window, WM_COMMAND, kExitCommand, 0);
            break;
        case CloseBy::CloseBox:
            PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        ASSERT_TRUE(
            pumpUntil(window, [&] { return !isOpen() || responder.asked().size() > askedBefore; }));
        pumpUntil(window, [] {
            MSG waiting{};
            return !PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE);
        });
    }

    const UserRequest& lastQuestion() const { return responder.asked().back(); }
};

TEST_F(ClosingTest, AnUnchangedFormWithoutItemsClosesAtOnce) {
    for (CloseBy way : {CloseBy::EscapeKey, CloseBy::ExitCommand, CloseBy::CloseBox}) {
        open();
        askToClose(way);
        EXPECT_FALSE(isOpen());
        EXPECT_TRUE(responder.asked().empty());
    }
}

TEST_F(ClosingTest, EveryWayAsksToQuitWhenTheFormHasItems) {
    open("\"" + writeSampleForm("job.plx") + "\"");
    ASSERT_EQ(form.itemCount, 3);
    ASSERT_FALSE(editor.changed);
    for (CloseBy way : {CloseBy::EscapeKey, CloseBy::ExitCommand, CloseBy::CloseBox}) {
        responder.answerButton(IDNO);
        askToClose(way);
        EXPECT_TRUE(isOpen());
        EXPECT_EQ(lastQuestion().text, "Quit Program now?");
        EXPECT_EQ(lastQuestion().title, "Exit Program");
        EXPECT_EQ(lastQuestion().style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
    }
    EXPECT_EQ(responder.asked().size(), 3u);
    responder.answerButton(IDYES);
    askToClose(CloseBy::CloseBox);
    EXPECT_FALSE(isOpen());
}

TEST_F(ClosingTest, EveryWayOffersToSaveAChangedForm) {
    open();
    setText(kNameBox, "Ann");
    for (CloseBy way : {CloseBy::EscapeKey, CloseBy::ExitCommand, CloseBy::CloseBox}) {
        responder.answerButton(IDCANCEL);
        askToClose(way);
        EXPECT_TRUE(isOpen());
        EXPECT_EQ(lastQuestion().text, "Save program data now?");
        EXPECT_EQ(lastQuestion().title, "Exit Program");
        EXPECT_EQ(lastQuestion().style, static_cast<unsigned>(MB_YESNOCANCEL | MB_ICONQUESTION));
    }
    responder.answerButton(IDNO);
    askToClose(CloseBy::ExitCommand);
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(responder.asked().size(), 4u) << "No closes without saving";
}

TEST_F(ClosingTest, YesSavesAFormWithoutFileThroughSaveAsThenCloses) {
    const std::string opened = writeSampleForm("job.plx");
    open("\"" + opened + "\"");
    editor.currentFilePath.clear(); // as if the form had never had a file
    setText(kNameBox, "Bob Jones");
    setText(kDateBox, "4/1/2024");
    click(kInvoiceButton);
    const std::string target = folder.file("saved.plx");
    responder.answerButton(IDYES);
    responder.answerPath(target);
    askToClose(CloseBy::EscapeKey);

    EXPECT_FALSE(isOpen());
    ASSERT_EQ(responder.asked().size(), 2u);
    const UserRequest& dialog = responder.asked()[1];
    EXPECT_EQ(dialog.kind, RequestKind::SaveFile);
    EXPECT_EQ(dialog.owner, window);
    EXPECT_EQ(dialog.title, "Save File");
    EXPECT_EQ(dialog.initialFolder, main->folders.dataFolder);
    EXPECT_EQ(dialog.initialFile, "");
    EXPECT_EQ(dialog.defaultExtension, "plx");
    ASSERT_EQ(dialog.filter.size(), 2u);
    EXPECT_EQ(dialog.filter[0].description, "plaxet");
    EXPECT_EQ(dialog.filter[0].pattern, "*.plx");
    EXPECT_EQ(dialog.filter[1].description, "All Files");
    EXPECT_TRUE(dialog.style & OFN_OVERWRITEPROMPT);

    // The gathered window went into the file.
    const FormDocument saved = readBack(target);
    EXPECT_EQ(saved.addresseeLines[0], "Bob Jones");
    EXPECT_EQ(saved.formDate, "4/1/2024  ") << "the date box was never left, so not rewritten";
    EXPECT_EQ(saved.formType, kInvoice);
    EXPECT_EQ(saved.itemCount, 3);
    EXPECT_EQ(saved.notes, "Thank you\r\nSee you soon");
    EXPECT_EQ(editor.currentFilePath, target);
}

TEST_F(ClosingTest, YesKeepsTheWindowOpenWhenTheSaveDoesNotHappen) {
    open("\"" + writeSampleForm("job.plx") + "\"");
    const std::string path = editor.currentFilePath;
    editor.currentFilePath.clear();
    setText(kNameBox, "Changed");

    // The save dialog cancelled: nothing is saved, so nothing is closed.
    responder.answerButton(IDYES);
    responder.answerPath("");
    askToClose(CloseBy::CloseBox);
    EXPECT_TRUE(isOpen());
    EXPECT_TRUE(editor.changed);

    // A save that fails is reported, and the window stays.
    editor.currentFilePath = path;
    ASSERT_TRUE(setAttributes(path, kAttrReadOnly));
    responder.answerButton(IDYES);
    askToClose(CloseBy::ExitCommand);
    EXPECT_TRUE(isOpen());
    ASSERT_EQ(responder.asked().size(), 4u);
    EXPECT_NE(lastQuestion().text.find("not saved"), std::string::npos);
    EXPECT_EQ(lastQuestion().style & MB_ICONSTOP, static_cast<unsigned>(MB_ICONSTOP));
    EXPECT_EQ(readBack(path).addresseeLines[0], "Ann Smith") << "the file is as it was";

    // Once the file can be written, Yes saves into it and closes.
    ASSERT_TRUE(setAttributes(path, 0));
    responder.answerButton(IDYES);
    askToClose(CloseBy::EscapeKey);
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(readBack(path).addresseeLines[0], "Changed");
}

TEST_F(ClosingTest, LoggingOffOffersToSaveAChangedFormAndCancelKeepsTheSession) {
    auto sessionMayEnd = [this] {
        return SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != 0;
    };
    open("\"" + writeSampleForm("job.plx") + "\"");
    const std::string path = editor.currentFilePath;
    EXPECT_TRUE(sessionMayEnd()) << "an unchanged form lets the session end";
    EXPECT_TRUE(responder.asked().empty()) << "without a question, items or not";

    setText(kNameBox, "Changed");
    responder.answerButton(IDCANCEL);
    EXPECT_FALSE(sessionMayEnd());
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(lastQuestion().text, "Save program data now?");
    EXPECT_EQ(lastQuestion().title, "Exit Program");
    EXPECT_EQ(lastQuestion().style, static_cast<unsigned>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_TRUE(isOpen());
    EXPECT_TRUE(editor.changed);

    // Yes with a file that cannot be written: the session is refused, the
    // file stays as it was.
    ASSERT_TRUE(setAttributes(path, kAttrReadOnly));
    responder.answerButton(IDYES);
    EXPECT_FALSE(sessionMayEnd());
    EXPECT_EQ(readBack(path).addresseeLines[0], "Ann Smith");
    ASSERT_TRUE(setAttributes(path, 0));

    // Yes saves as the close box does, and the session may end.
    responder.forget();
    responder.answerButton(IDYES);
    EXPECT_TRUE(sessionMayEnd());
    EXPECT_EQ(responder.messages(), std::vector<std::string>{"Save program data now?"});
    EXPECT_EQ(readBack(path).addresseeLines[0], "Changed");
    EXPECT_FALSE(editor.changed);
    EXPECT_TRUE(isOpen()) << "the window waits for the session's end itself";

    // No lets the session end unsaved; an end that another program called
    // off leaves the window working, the real end closes it.
    setText(kNameBox, "Changed again");
    responder.answerButton(IDNO);
    EXPECT_TRUE(sessionMayEnd());
    SendMessageW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(isOpen());
    EXPECT_TRUE(editor.changed);
    const size_t askedBefore = responder.asked().size();
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(responder.asked().size(), askedBefore) << "no question at the session's end";
    EXPECT_EQ(readBack(path).addresseeLines[0], "Changed");
}

TEST_F(MainWindowTest, FormNamedOnTheCommandLineOpensAtStart) {
    const std::string path = writeSampleForm("Job One.plx");
    open("\"" + path + "\"");
    EXPECT_EQ(editor.currentFilePath, path) << "letter case kept, quotes removed";
    EXPECT_EQ(title(), "Receipt - Job One.plx");
    EXPECT_FALSE(editor.changed);
    EXPECT_EQ(text(kNameBox), "Ann Smith");
    EXPECT_EQ(text(kAddressBox), "12 Elm Street");
    EXPECT_EQ(text(kCityBox), "Springfield, IL 62701");
    EXPECT_EQ(text(kPhoneBox), "555-0100");
    EXPECT_EQ(text(kDateBox), "03/15/2024");
    EXPECT_TRUE(IsDlgButtonChecked(window, kReceiptButton));
    EXPECT_EQ(text(kNotesBox), "Thank you\r\nSee you soon");
    EXPECT_EQ(form.itemCount, 3);
    EXPECT_EQ(text(kDateColumn + 1), "03/01/2024");
    EXPECT_EQ(text(kDescriptionColumn + 1), "Paint");
    EXPECT_EQ(text(kCostColumn + 1), "10.00");
    EXPECT_EQ(text(kCostColumn + 2), "2.50");
    // The tax row: its label pushed right, its amount computed.
    const std::string taxLabel = text(kDescriptionColumn + 3);
    EXPECT_EQ(taxLabel.substr(taxLabel.find_first_not_of(' ')), "Tax (10%)");
    EXPECT_GT(taxLabel.find_first_not_of(' '), 10u);
    EXPECT_EQ(text(kCostColumn + 3), "1.25");
    EXPECT_EQ(text(kDescriptionColumn + 4), "");
    EXPECT_FALSE(IsWindowEnabled(control(kShowFileButton)));
    EXPECT_TRUE(responder.asked().empty());
}

TEST_F(MainWindowTest, StartUpOpenReportsADamagedFileAndStartsEmpty) {
    const std::string path = folder.file("broken.plx");
    // A date, then an item count of -5: not a form file.
    ASSERT_TRUE(replaceFileContents(path, std::string("01/01/2024\xFB\xFF\xFF\xFF", 14)).ok);
    open(path);
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_NE(responder.asked()[0].text.find("could not be opened"), std::string::npos);
    EXPECT_EQ(editor.currentFilePath, "");
    EXPECT_EQ(title(), "Plaxet");
    EXPECT_EQ(form.itemCount, 0);

    responder.forget();
    TearDown();
    open(folder.file("missing.plx")); // no such file: an empty form, no message
    EXPECT_TRUE(responder.asked().empty());
    EXPECT_EQ(editor.currentFilePath, "");
}

TEST_F(MainWindowTest, NewEmptiesTheFormAndKeepsTheDate) {
    open("\"" + writeSampleForm("job.plx", kEstimate) + "\"");
    command(kNewCommand);
    EXPECT_TRUE(responder.asked().empty()) << "an unchanged form is not offered for saving";
    EXPECT_EQ(title(), "Plaxet");
    EXPECT_EQ(text(kNameBox), "");
    EXPECT_EQ(text(kNotesBox), "");
    EXPECT_EQ(text(kDescriptionColumn + 1), "");
    EXPECT_EQ(text(kDateBox), "03/15/2024");
    EXPECT_TRUE(IsDlgButtonChecked(window, kInvoiceButton));
    EXPECT_FALSE(IsDlgButtonChecked(window, kEstimateButton));
    EXPECT_EQ(form.formType, kInvoice);
    EXPECT_EQ(text(kAmountLabel), "Estimated Total:") << "left until a type is chosen";
    EXPECT_EQ(form.itemCount, 0);
    EXPECT_EQ(itemAt(form, 1).description, "");
    EXPECT_EQ(editor.currentFilePath, "");
    EXPECT_FALSE(editor.changed);
}

TEST_F(MainWindowTest, NewAndOpenKeepAChangedFormWhoseSaveWasCancelled) {
    open("\"" + writeSampleForm("job.plx") + "\"");
    editor.currentFilePath.clear();
    setText(kNameBox, "Unsaved");
    responder.answerButton(IDYES);
    responder.answerPath(""); // the save dialog cancelled
    command(kNewCommand);
    EXPECT_EQ(responder.asked()[0].text,
              "Current file has changed...\r\nSave it before opening the new file?");
    EXPECT_EQ(responder.asked()[0].title, "Save File");
    EXPECT_EQ(text(kNameBox), "Unsaved");
    EXPECT_EQ(form.itemCount, 3);

    responder.forget();
    responder.answerPath(writeSampleForm("other.plx"));
    responder.answerButton(IDYES);
    responder.answerPath("");
    command(kOpenCommand);
    EXPECT_EQ(responder.asked().size(), 3u);
    EXPECT_EQ(text(kNameBox), "Unsaved");
}

TEST_F(MainWindowTest, OpenLoadsAFormFileByItsLowerCasedName) {
    open();
    const std::string path = writeSampleForm("FORM.PLX", kEstimate);
    ASSERT_TRUE(replaceFileContents(folder.file("form.rtf"), "{\\rtf1}").ok);
    responder.answerPath(path);
    command(kOpenCommand);
    ASSERT_GE(responder.asked().size(), 1u);
    const UserRequest& dialog = responder.asked()[0];
    EXPECT_EQ(dialog.kind, RequestKind::OpenFile);
    EXPECT_EQ(dialog.title, "Open File");
    ASSERT_EQ(dialog.filter.size(), 2u);
    EXPECT_EQ(dialog.filter[0].description, "Plaxet");
    EXPECT_EQ(dialog.filter[1].description, "All files");
    EXPECT_TRUE(dialog.style & OFN_FILEMUSTEXIST);
    EXPECT_EQ(responder.asked().size(), 1u) << "an unchanged form is replaced without a question";

    EXPECT_EQ(editor.currentFilePath, LCase(path));
    EXPECT_EQ(title(), "Estimate - form.plx");
    EXPECT_EQ(text(kNameBox), "Ann Smith");
    EXPECT_TRUE(IsWindowEnabled(control(kShowFileButton))) << "its RTF file exists";
    EXPECT_FALSE(editor.changed);

    // A file of another kind is passed over without a word.
    responder.forget();
    const std::string other = folder.file("notes.txt");
    ASSERT_TRUE(replaceFileContents(other, "hello").ok);
    setText(kNameBox, "Kept");
    responder.answerPath(other);
    command(kOpenCommand);
    EXPECT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(text(kNameBox), "Kept");
    EXPECT_TRUE(editor.changed);
}

TEST_F(MainWindowTest, SaveAsTakesTheNewPathAsTitleAndSaveAsksFirst) {
    open("\"" + writeSampleForm("job.plx") + "\"");
    const std::string target = folder.file("copy.plx");
    responder.answerPath(target);
    command(kSaveAsCommand);
    EXPECT_EQ(responder.asked()[0].initialFile, folder.file("job")) << "the path less \".plx\"";
    EXPECT_EQ(title(), target);
    EXPECT_EQ(editor.currentFilePath, target);
    EXPECT_TRUE(fileExists(target));
    EXPECT_FALSE(editor.changed);
    click(kInvoiceButton);
    EXPECT_EQ(title(), "Invoice - copy.plx");

    responder.forget();
    setText(kNameBox, "Later");
    responder.answerButton(IDNO);
    command(kSaveCommand);
    EXPECT_EQ(responder.asked()[0].text, "Save this file now?");
    EXPECT_TRUE(editor.changed);
    responder.answerButton(IDYES);
    command(kSaveCommand);
    EXPECT_FALSE(editor.changed);
    EXPECT_EQ(readBack(target).addresseeLines[0], "Later");
}

TEST_F(MainWindowTest, NamesInAnyLanguageKeepEveryCharacterInTheWindowAndTheFiles) {
    // A form named "Łódź 王芳.plx" opens from the command line.
    const std::string lodz = "\xC5\x81\xC3\xB3"
                             "d\xC5\xBA \xE7\x8E\x8B\xE8\x8A\xB3.plx";
    const std::string path = writeSampleForm(lodz);
    open("\"" + path + "\"");
    EXPECT_EQ(editor.currentFilePath, path);
    EXPECT_EQ(title(), "Receipt - " + lodz);
    EXPECT_EQ(text(kNameBox), "Ann Smith");

    // "Łukasz Dąbrowski" and "Nguyễn" typed into the window are saved as typed.
    const std::string name = "\xC5\x81ukasz D\xC4\x85"
                             "browski";
    const std::string nguyen = "Nguy\xE1\xBB\x85n";
    setText(kNameBox, name);
    setText(kCityBox, nguyen);
    EXPECT_EQ(text(kNameBox), name);
    const std::string target = folder.file(nguyen + ".plx");
    responder.answerPath(target);
    command(kSaveAsCommand);
    ASSERT_TRUE(fileExists(target));
    const FormDocument saved = readBack(target);
    EXPECT_EQ(saved.addresseeLines[0], name);
    EXPECT_EQ(saved.addresseeLines[2], nguyen);
    EXPECT_EQ(saved.addresseeLines[1], "12 Elm Street");
}

} // namespace
} // namespace plaxet::testing
