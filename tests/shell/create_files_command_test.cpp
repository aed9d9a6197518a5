// Create Files in the real main window: the refusals in their order with
// their focus moves, the save first, the documents beside the form file,
// Show File, Copy File and the choice of file type.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <optional>

#include "form/form_file.h"
#include "output/html_writer.h"
#include "output/pdf/writer.h"
#include "output/rtf_writer.h"
#include "runtime/file.h"
#include "runtime/paths.h"
#include "runtime/wide.h"
#include "shell/main_window_fixture.h"
#include "ui/control_ids.h"
#include "ui/create_files_command.h"
#include "win/clipboard.h"
#include "win/controls.h"
#include "win/handles.h"
#include "win/responder.h"

namespace plaxet::testing {
namespace {

constexpr unsigned kErrorBox = MB_OK | MB_ICONERROR;
constexpr const char* kCheckTitle = "Create RTF & HTM files";
constexpr const char* kWordProcessor = "c:\\Program Files\\Windows NT\\Accessories\\wordpad.exe";
constexpr const char* kBrowser = "c:\\Program Files\\Internet Explorer\\iexplore.exe";
constexpr const char* kOtherBrowser = "c:\\Program Files (x86)\\Internet Explorer\\iexplore.exe";

// The test helper hold_file.exe (beside this program) holding a file open
// without sharing, from when it is made until it goes out of scope.
class OtherProgramHolding {
  public:
    explicit OtherProgramHolding(const std::string& path) {
        const std::wstring tag = std::to_wstring(GetCurrentProcessId());
        const std::wstring readyName = L"plaxet-test-held-" + tag;
        const std::wstring releaseName = L"plaxet-test-let-go-" + tag;
        ready_.reset(CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
        release_.reset(CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str()));
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring helper = self;
        helper = helper.substr(0, helper.find_last_of(L"\\/") + 1) + L"hold_file.exe";
        std::wstring command =
            L"\"" + helper + L"\" \"" + toWide(path) + L"\" " + readyName + L" " + releaseName;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &started))
            return;
        CloseHandle(started.hThread);
        process_.reset(started.hProcess);
        HANDLE either[] = {ready_.get(), process_.get()};
        held_ = WaitForMultipleObjects(2, either, FALSE, 20000) == WAIT_OBJECT_0;
    }
    ~OtherProgramHolding() {
        if (!process_) return;
        SetEvent(release_.get());
        WaitForSingleObject(process_.get(), 20000);
    }
    OtherProgramHolding(const OtherProgramHolding&) = delete;
    OtherProgramHolding& operator=(const OtherProgramHolding&) = delete;

    bool holds() const { return held_; }

  private:
    UniqueKernelHandle ready_;
    UniqueKernelHandle release_;
    UniqueKernelHandle process_;
    bool held_ = false;
};

class CreateFilesTest : public MainWindowTest {
  protected:
    // Runs Create Files from the menu (which leaves the focus where it is)
    // and returns what it asked.
    std::vector<UserRequest> createFilesAsking() {
        responder.forget();
        command(kCreateFilesCommand);
        return responder.asked();
    }

    void expectRefusal(const std::string& text, const std::string& title = kCheckTitle) {
        const std::vector<UserRequest> asked = createFilesAsking();
        ASSERT_EQ(asked.size(), 1u) << text;
        EXPECT_EQ(asked[0].kind, RequestKind::MessageBox);
        EXPECT_EQ(asked[0].text, text);
        EXPECT_EQ(asked[0].title, title);
        EXPECT_EQ(asked[0].style, kErrorBox);
    }

    void expectFocusOn(int id) {
        EXPECT_TRUE(pumpUntil(window, [&] { return GetFocus() == control(id); }))
            << "focus expected on " << id << ", is on " << GetDlgCtrlID(GetFocus());
    }

    // Opens a saved invoice of three items with a sender ready for the documents.
    std::string openReadyForm() {
        form.senderLines = {"Acme Paints", "1 Main St", "", "", "", ""};
        const std::string path = writeSampleForm("job.plx", kInvoice);
        open("\"" + path + "\"");
        return path;
    }

    std::vector<UserRequest> startedPrograms() const {
        std::vector<UserRequest> started;
        for (const UserRequest& request : responder.asked())
            if (request.kind == RequestKind::StartProgram) started.push_back(request);
        return started;
    }

    // What Show File is expected to do for a document in this system: start
    // the first viewer that is there, or name the missing one.
    void expectViewerStartedOn(const std::string& document, DocumentKind kind) {
        std::string viewer;
        if (kind == DocumentKind::Rtf) {
            if (fileExists(kWordProcessor)) viewer = kWordProcessor;
        } else {
            viewer = fileExists(kBrowser)        ? kBrowser
                     : fileExists(kOtherBrowser) ? kOtherBrowser
                                                 : "";
        }
        if (viewer.empty()) {
            ASSERT_FALSE(responder.messages().empty());
            EXPECT_EQ(responder.messages().back(),
                      kind == DocumentKind::Rtf ? "Wordpad not found" : "Internet Explorer not found");
            EXPECT_TRUE(startedPrograms().empty());
            return;
        }
        ASSERT_EQ(startedPrograms().size(), 1u);
        EXPECT_EQ(startedPrograms()[0].text, "\"" + viewer + "\" \"" + document + "\"");
        EXPECT_EQ(startedPrograms()[0].style, static_cast<unsigned>(SW_SHOWNORMAL));
    }
};

TEST_F(CreateFilesTest, RefusesAnIncompleteFormOneCheckAtATimeInOrder) {
    open();
    bool senderDialogOpened = false;
    WhenWindowAppears senderDialog("Define Sender", [&](HWND dialog) {
        senderDialogOpened = true;
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });

    // A wrong form date comes before everything else, a missing sender included.
    setText(kDateBox, "2/30/2007");
    expectRefusal("invalid date", "ERROR");
    expectFocusOn(kDateBox);
    EXPECT_EQ(text(kDateBox), "2/30/2007") << "the box is not rewritten";
    setText(kDateBox, "   ");
    expectRefusal("invalid date", "ERROR");
    EXPECT_FALSE(senderDialogOpened);

    // The sender is asked for next, before the missing addressee, and its
    // dialog opens once the message is read.
    setText(kDateBox, "3-15-24");
    focus(kNameBox);
    expectRefusal("Must include sender");
    EXPECT_TRUE(pumpUntil(window, [&] { return senderDialogOpened; }));
    EXPECT_TRUE(IsWindowEnabled(window)) << "the dialog has closed";

    form.senderLines[0] = "Acme Paints";
    focus(kAddressBox);
    expectRefusal("Must at least include addressee");
    expectFocusOn(kNameBox);

    setText(kNameBox, "  "); // blanks are a name
    setText(kDateBox, "");
    expectRefusal("Must have form date");
    expectFocusOn(kDateBox);
    setText(kDateBox, "03/15/2024");
    focus(kNameBox);

    expectRefusal("Must include some items");
    expectFocusOn(kDateColumn + 1);

    // A complete row still holding the focus counts.
    setText(kDateColumn + 1, "1-2-07");
    setText(kDescriptionColumn + 1, "Paint");
    focus(kCostColumn + 1);
    setText(kCostColumn + 1, "10");
    expectRefusal("Must specify form type");
    EXPECT_EQ(form.itemCount, 1);
    EXPECT_EQ(GetFocus(), control(kCostColumn + 1)) << "the focus stays";

    click(kInvoiceButton);
    focus(kDateColumn + 2);
    setText(kDateColumn + 2, "31/1/2007");
    setText(kDescriptionColumn + 2, "Brush");
    focus(kCostColumn + 2);
    setText(kCostColumn + 2, "2.50");
    focus(kNotesBox);
    expectRefusal("Invalid date for item 2");
    expectFocusOn(kDateColumn + 2);
    EXPECT_EQ(itemAt(form, 1).date, "01/02/2007") << "checked dates are rewritten";
    EXPECT_EQ(form.itemCount, 2);
    EXPECT_FALSE(senderDialog.timedOut());
}

TEST_F(CreateFilesTest, AnItemBelowTheGridIsNamedWithoutMovingTheFocus) {
    openReadyForm();
    for (size_t i = 3; i < 15; ++i) {
        editItem(form, i + 1).date = "";
        editItem(form, i + 1).description = "Item";
        editItem(form, i + 1).cost = "1";
    }
    editItem(form, 15).date = "31/1/2007";
    form.itemCount = 15;
    focus(kNotesBox);
    expectRefusal("Invalid date for item 15");
    EXPECT_EQ(GetFocus(), control(kNotesBox));
}

TEST_F(CreateFilesTest, ACancelledSaveAsEndsSilently) {
    form.senderLines[0] = "Acme Paints";
    open();
    setText(kNameBox, "Ann Smith");
    setText(kDateBox, "03/15/2024");
    click(kInvoiceButton);
    focus(kDateColumn + 1);
    setText(kDescriptionColumn + 1, "Paint");
    focus(kCostColumn + 1);
    setText(kCostColumn + 1, "10");
    focus(kNotesBox);
    responder.answerPath("");
    const std::vector<UserRequest> asked = createFilesAsking();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, RequestKind::SaveFile);
    EXPECT_TRUE(editor.currentFilePath.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << "nothing written";
    EXPECT_FALSE(IsWindowEnabled(control(kShowFileButton)));
}

TEST_F(CreateFilesTest, WritesTheDocumentsBesideTheFormAndShowsTheChosenOne) {
    const std::string formPath = openReadyForm();
    const std::string rtf = folder.file("job.rtf");
    const std::string html = folder.file("job.htm");
    // The item date is rewritten in the documents as in the form.
    editItem(form, 1).date = "3-1-24";
    setText(kNameBox, "Ann Smith-Jones");
    ASSERT_TRUE(editor.changed);

    const std::vector<UserRequest> asked = createFilesAsking();
    ASSERT_GE(asked.size(), 1u);
    EXPECT_EQ(asked[0].text,
              "The RTF, HTM and PDF files have been created at:\r\n\r\n" + folderPart(formPath));
    EXPECT_EQ(asked[0].title, "RTF File");
    EXPECT_EQ(asked[0].style, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
    expectViewerStartedOn(rtf, DocumentKind::Rtf);
    EXPECT_FALSE(editor.changed) << "saved into its file without a question";

    EXPECT_EQ(itemAt(form, 1).date, "03/01/2024");
    EXPECT_EQ(form.addresseeLines[0], "Ann Smith-Jones");
    EXPECT_EQ(readWholeFile(rtf), rtfDocument(form, documentValues(form), {}));
    EXPECT_EQ(readWholeFile(html), htmlDocument(form, documentValues(form)));
    EXPECT_TRUE(isReadOnly(rtf));
    EXPECT_TRUE(isReadOnly(html));
    const std::string pdf = folder.file("job.pdf");
    EXPECT_EQ(readWholeFile(pdf).value_or("").rfind("%PDF-1.7\n", 0), 0u);
    EXPECT_NE(readWholeFile(pdf).value_or("").find("/Title (INVOICE Ann Smith-Jones)"),
              std::string::npos);
    EXPECT_TRUE(isReadOnly(pdf));
    EXPECT_TRUE(IsWindowEnabled(control(kShowFileButton)));
    EXPECT_TRUE(IsWindowEnabled(control(kCopyFileButton)));
    FormDocument saved;
    ASSERT_TRUE(loadFormFile(formPath, saved).ok);
    EXPECT_EQ(saved.addresseeLines[0], "Ann Smith-Jones");
    EXPECT_EQ(text(kDateColumn + 1), "03/01/2024") << "the grid shows the rewritten date";

    // Again, over the read-only documents, with the browser chosen.
    click(kHtmButton);
    setText(kPhoneBox, "555-0199");
    const std::vector<UserRequest> again = createFilesAsking();
    ASSERT_GE(again.size(), 1u);
    EXPECT_EQ(again[0].title, "RTF File");
    expectViewerStartedOn(html, DocumentKind::Html);
    EXPECT_EQ(readWholeFile(html), htmlDocument(form, documentValues(form)));
    EXPECT_NE(readWholeFile(html)->find("555-0199"), std::string::npos);
    EXPECT_TRUE(isReadOnly(html));

    // And with the PDF chosen, the system's program for PDF files opens it.
    click(kPdfButton);
    responder.answerProgram(0, nullptr);
    const std::vector<UserRequest> third = createFilesAsking();
    ASSERT_EQ(third.size(), 2u);
    EXPECT_EQ(third[1].kind, RequestKind::OpenDocument);
    EXPECT_EQ(third[1].verb, "open");
    EXPECT_EQ(third[1].text, pdf);
}

// With business details, Create Files numbers an invoice from its series
// before the documents are written and saves the number into the form
// file; a typed number another form has is asked about first.
TEST_F(CreateFilesTest, NumbersTheFormAndAsksBeforeUsingANumberAgain) {
    ASSERT_TRUE(replaceFileContents(folder.file("business.json"),
                                    R"({"paymentDays": 30, "numbers": {"invoice": "{YYYY}-{###}"}})")
                    .ok);
    const std::string formPath = openReadyForm();
    const std::vector<UserRequest> asked = createFilesAsking();
    ASSERT_GE(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "RTF File") << asked[0].text;
    EXPECT_EQ(text(kNumberBox), "2024-001");
    EXPECT_EQ(text(kDueDateBox), "04/14/2024") << "30 days after 03/15/2024";
    EXPECT_FALSE(editor.changed);
    FormDocument saved;
    ASSERT_TRUE(loadFormFile(formPath, saved).ok);
    EXPECT_EQ(saved.number, "2024-001") << "the form file holds the number printed";
    EXPECT_EQ(saved.dueDate, "04/14/2024");
    EXPECT_TRUE(fileExists(folder.file("job.htm")));

    // A second form typed with the same number: No keeps it off this form.
    const std::string otherPath = writeSampleForm("other.plx", kInvoice);
    responder.answerPath(otherPath);
    command(kOpenCommand);
    setText(kNumberBox, "2024-001");
    const std::string documentsBefore = readWholeFile(folder.file("job.htm")).value_or("");
    responder.answerButton(IDNO);
    const std::vector<UserRequest> declined = createFilesAsking();
    ASSERT_EQ(declined.size(), 1u);
    EXPECT_EQ(declined[0].text, "The number 2024-001 was already printed on " + formPath +
                                    ". Use it again on this form?");
    EXPECT_EQ(declined[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(declined[0].owner, window);
    EXPECT_FALSE(fileExists(folder.file("other.htm"))) << "nothing written";
    ASSERT_TRUE(loadFormFile(otherPath, saved).ok);
    EXPECT_EQ(saved.number, "");
    expectFocusOn(kNumberBox);

    // Yes prints it again, and the counter goes on past it.
    responder.answerButton(IDYES);
    const std::vector<UserRequest> again = createFilesAsking();
    ASSERT_GE(again.size(), 2u);
    EXPECT_EQ(again[1].title, "RTF File") << again[1].text;
    ASSERT_TRUE(loadFormFile(otherPath, saved).ok);
    EXPECT_EQ(saved.number, "2024-001");
    EXPECT_TRUE(fileExists(folder.file("other.htm")));
}

// Dates and business details that are wrong stop Create Files before
// anything is saved, numbered or written, each with its own message.
TEST_F(CreateFilesTest, WrongDueDatesAndBusinessDetailsAreRefused) {
    ASSERT_TRUE(replaceFileContents(folder.file("business.json"),
                                    R"({"numbers": {"invoice": "{YYYY}-{###}"}})")
                    .ok);
    openReadyForm();
    // The data folder's own spelling of the path, which the messages give.
    const std::string business = main->folders.businessFilePath;
    setText(kDueDateBox, "03/01/2024");
    expectRefusal("The due date 03/01/2024 is before the form date 03/15/2024.");
    expectFocusOn(kDueDateBox);
    setText(kDueDateBox, "tomorrow");
    expectRefusal("The due date \"tomorrow\" is not a date mm/dd/yyyy.");
    EXPECT_FALSE(fileExists(folder.file("numbers.json"))) << "nothing numbered";
    EXPECT_EQ(text(kNumberBox), "");

    // Details with problems, and a file that could not be read.
    setText(kDueDateBox, "");
    main->documentSettings.business.country = "de";
    expectRefusal(business + " cannot be used:\r\n  \"country\": \"de\" is not a two-letter "
                             "country code (ISO 3166-1, in capitals)",
                  "Business Details");
    main->businessFileError = business + " is damaged: not valid JSON";
    expectRefusal(business + " is damaged: not valid JSON", "Business Details");
    EXPECT_FALSE(fileExists(folder.file("numbers.json")));
    EXPECT_FALSE(fileExists(folder.file("job.rtf")));

    // A damaged counter file ends the command with its message.
    main->businessFileError.clear();
    main->documentSettings.business.country = "DE";
    ASSERT_TRUE(replaceFileContents(folder.file("numbers.json"), "{").ok);
    const std::vector<UserRequest> asked = createFilesAsking();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "Form Number");
    EXPECT_NE(asked[0].text.find("never started again from 1"), std::string::npos) << asked[0].text;
    EXPECT_EQ(text(kNumberBox), "");
    EXPECT_FALSE(fileExists(folder.file("job.rtf")));
}

TEST_F(CreateFilesTest, ADocumentThatCannotBeWrittenIsReportedNotAnnounced) {
    openReadyForm();
    // A folder in the document's place cannot be replaced by a file.
    std::filesystem::create_directory(folder.path() / "job.rtf");
    const std::vector<UserRequest> asked = createFilesAsking();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text.rfind("The documents were not created: ", 0), 0u) << asked[0].text;
    EXPECT_EQ(asked[0].style, kErrorBox);
    EXPECT_FALSE(IsWindowEnabled(control(kShowFileButton)));
    EXPECT_FALSE(fileExists(folder.file("job.htm")));
}

TEST_F(CreateFilesTest, ADocumentOpenInAnotherProgramIsNamedAndNothingIsReplaced) {
    const std::string formPath = openReadyForm();
    const std::string rtf = folder.file("job.rtf");
    const std::string html = folder.file("job.htm");
    createFilesAsking();
    const auto formBefore = readWholeFile(formPath);
    const auto rtfBefore = readWholeFile(rtf);
    const auto htmlBefore = readWholeFile(html);
    ASSERT_TRUE(htmlBefore);
    setText(kNameBox, "Ann Smith-Jones");
    ASSERT_TRUE(editor.changed);

    // Another program opens the web page without sharing, as a word
    // processor or a browser holding it does.
    std::optional<OtherProgramHolding> holder;
    holder.emplace(html);
    ASSERT_TRUE(holder->holds());
    const std::vector<UserRequest> asked = createFilesAsking();
    holder.reset();
    ASSERT_EQ(asked.size(), 1u) << "one message, and no viewer";
    EXPECT_EQ(asked[0].text, "The documents were not created: " + heldFileMessage(html));
    EXPECT_NE(asked[0].text.find("open in another program"), std::string::npos);
    EXPECT_EQ(asked[0].style, kErrorBox);
    EXPECT_EQ(readWholeFile(formPath), formBefore) << "the form file is not saved";
    EXPECT_EQ(readWholeFile(rtf), rtfBefore) << "nor the other document written";
    EXPECT_EQ(readWholeFile(html), htmlBefore);
    EXPECT_TRUE(editor.changed);

    // Let go, the same command goes through.
    const std::vector<UserRequest> again = createFilesAsking();
    ASSERT_GE(again.size(), 1u);
    EXPECT_EQ(again[0].title, "RTF File");
    EXPECT_NE(readWholeFile(html)->find("Ann Smith-Jones"), std::string::npos);
    EXPECT_FALSE(editor.changed);
}

TEST_F(CreateFilesTest, ShowFileAndCopyFileNeedTheDocument) {
    openReadyForm();
    createFilesAsking();
    ASSERT_TRUE(fileExists(folder.file("job.rtf")));

    // Copy File puts the upper-case path on the clipboard, saying RTF for both kinds.
    click(kHtmButton);
    EXPECT_TRUE(IsWindowEnabled(control(kCopyFileButton)));
    ASSERT_TRUE(ClipboardSetText(window, "before"));
    responder.forget();
    click(kCopyFileButton);
    ASSERT_EQ(responder.asked().size(), 1u);
    EXPECT_EQ(responder.asked()[0].text, "Email attachments -\r\npaste this RTF file address");
    EXPECT_EQ(responder.asked()[0].title, "Clipboard Contents");
    EXPECT_EQ(responder.asked()[0].style, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
    const std::string copied = ClipboardGetText(window);
    EXPECT_EQ(copied, folder.file("job.HTM"));
    EXPECT_EQ(copied.substr(copied.size() - 4), ".HTM");
    click(kPdfButton);
    click(kCopyFileButton);
    EXPECT_EQ(ClipboardGetText(window), folder.file("job.PDF"));
    click(kHtmButton);
    click(kCopyFileButton);

    // With the documents gone, Show File says so and Copy File does nothing.
    for (const char* name : {"job.rtf", "job.htm", "job.pdf"}) {
        setAttributes(folder.file(name), 0);
        std::filesystem::remove(folder.path() / name);
    }
    responder.forget();
    command(kShowFileButton);
    ASSERT_FALSE(responder.messages().empty());
    EXPECT_EQ(responder.asked()[0].text, "File not created");
    EXPECT_EQ(responder.asked()[0].title, "File not found");
    EXPECT_EQ(responder.asked()[0].style, kErrorBox);
    EXPECT_TRUE(startedPrograms().empty());
    responder.forget();
    command(kCopyFileButton);
    EXPECT_TRUE(responder.asked().empty());
    EXPECT_EQ(ClipboardGetText(window), copied);

    // The choice of type now finds no document of either kind.
    click(kRtfButton);
    EXPECT_EQ(main->outputKind, DocumentKind::Rtf);
    EXPECT_FALSE(IsWindowEnabled(control(kShowFileButton)));
    EXPECT_FALSE(IsWindowEnabled(control(kCopyFileButton)));
}

TEST_F(CreateFilesTest, ARefusalOrAStartedViewerLeavesTheButtonsLookAlone) {
    openReadyForm();
    auto makeDefault = [this] {
        for (int id : {kCreateFilesButton, kShowFileButton, kCopyFileButton})
            SendMessageW(control(id), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    };
    auto looksDefault = [this] {
        return (styleOf(kCreateFilesButton) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    };
    // A refusal that moves no focus (the boxes' focus events would restore the look).
    for (int type = kInvoice; type <= kEstimate; ++type)
        ControlSetChecked(window, kFormTypeButtonBase + type, false);
    form.formType = kNoType; // as a form file without a type leaves it
    makeDefault();
    createFilesAsking();
    ASSERT_EQ(responder.messages(), std::vector<std::string>{"Must specify form type"});
    EXPECT_TRUE(looksDefault());

    click(kInvoiceButton);
    createFilesAsking();
    ASSERT_TRUE(fileExists(folder.file("job.rtf")));
    makeDefault();
    responder.forget();
    command(kShowFileButton);
    EXPECT_EQ(looksDefault(), !startedPrograms().empty()) << "kept while a viewer was started";

    makeDefault();
    command(kCopyFileButton);
    EXPECT_FALSE(looksDefault());
}

TEST(ShowFileViewer, FixedPathsInOrderAndTheDocumentQuoted) {
    auto only = [](std::vector<std::string> present) {
        return [present](const std::string& path) {
            for (const std::string& p : present)
                if (p == path) return true;
            return false;
        };
    };
    EXPECT_EQ(findViewer(DocumentKind::Rtf, only({kWordProcessor})).path, kWordProcessor);
    EXPECT_EQ(findViewer(DocumentKind::Rtf, only({kBrowser})).missingMessage, "Wordpad not found");
    EXPECT_EQ(findViewer(DocumentKind::Html, only({kBrowser, kOtherBrowser})).path, kBrowser);
    EXPECT_EQ(findViewer(DocumentKind::Html, only({kOtherBrowser})).path, kOtherBrowser);
    const Viewer none = findViewer(DocumentKind::Html, only({kWordProcessor}));
    EXPECT_TRUE(none.path.empty());
    EXPECT_EQ(none.missingMessage, "Internet Explorer not found");
    EXPECT_EQ(viewerCommandLine(kWordProcessor, "c:\\my forms\\smith.rtf"),
              "\"c:\\Program Files\\Windows NT\\Accessories\\wordpad.exe\" \"c:\\my "
              "forms\\smith.rtf\"");
}

// Stands in for a started program: a waitable object that a thread timer
// sets after a few ticks, noting whether the window was held meanwhile. The
// ticks run only while somebody dispatches the thread's messages.
class FakeProgram {
  public:
    explicit FakeProgram(HWND window) : window_(window) {
        running_ = this;
        timer_ = SetTimer(nullptr, 0, 20, tick);
    }
    ~FakeProgram() {
        KillTimer(nullptr, timer_);
        running_ = nullptr;
    }
    FakeProgram(const FakeProgram&) = delete;
    FakeProgram& operator=(const FakeProgram&) = delete;
    HANDLE process() const { return ended_.get(); }
    bool ended() const { return WaitForSingleObject(ended_.get(), 0) == WAIT_OBJECT_0; }
    bool heldWindow() const { return heldWindow_; }

  private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        FakeProgram* program = running_;
        if (!program || ++program->ticks_ != 3) return;
        program->heldWindow_ = !IsWindowEnabled(program->window_);
        SetEvent(program->ended_.get());
    }
    static inline FakeProgram* running_ = nullptr;
    HWND window_;
    UniqueKernelHandle ended_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UINT_PTR timer_ = 0;
    int ticks_ = 0;
    bool heldWindow_ = false;
};

class ShowDocumentTest : public MainWindowTest {
  protected:
    static bool noViewer(const std::string&) { return false; }
    static bool everyViewer(const std::string&) { return true; }
    const std::string document = "c:\\my forms\\job.rtf";
};

TEST_F(ShowDocumentTest, TheFixedViewerFirstAndTheWindowHeldUntilItEnds) {
    open();
    FakeProgram viewer(window);
    responder.answerProgram(0, viewer.process());
    EXPECT_EQ(showDocument(window, DocumentKind::Rtf, document, everyViewer), CommandEnd::ViewerStarted);
    ASSERT_EQ(responder.asked().size(), 1u);
    const UserRequest& started = responder.asked()[0];
    EXPECT_EQ(started.kind, RequestKind::StartProgram);
    EXPECT_EQ(started.text, "\"" + std::string(kWordProcessor) + "\" \"" + document + "\"");
    EXPECT_EQ(started.owner, window);
    EXPECT_TRUE(viewer.ended()) << "the command waits for the viewer";
    EXPECT_TRUE(viewer.heldWindow()) << "no input reached the form meanwhile";
    EXPECT_TRUE(IsWindowEnabled(window)) << "the form is given back";
}

TEST_F(ShowDocumentTest, WithoutTheViewerTheSystemsProgramForTheTypeOpensIt) {
    open();
    {
        // A program started on it is waited for like the viewer.
        FakeProgram program(window);
        responder.answerProgram(0, program.process());
        EXPECT_EQ(showDocument(window, DocumentKind::Rtf, document, noViewer), CommandEnd::ViewerStarted);
        ASSERT_EQ(responder.asked().size(), 1u);
        EXPECT_EQ(responder.asked()[0].kind, RequestKind::OpenDocument);
        EXPECT_EQ(responder.asked()[0].verb, "open");
        EXPECT_EQ(responder.asked()[0].text, document);
        EXPECT_EQ(responder.asked()[0].owner, window);
        EXPECT_TRUE(program.ended());
        EXPECT_TRUE(program.heldWindow());
        EXPECT_TRUE(IsWindowEnabled(window));
    }
    {
        // A program already running took it: nothing to wait for.
        FakeProgram program(window);
        responder.forget();
        responder.answerProgram(0, nullptr);
        EXPECT_EQ(showDocument(window, DocumentKind::Html, "c:\\job.htm", noViewer),
                  CommandEnd::ViewerStarted);
        EXPECT_FALSE(program.ended()) << "returned without waiting";
        EXPECT_TRUE(responder.messages().empty());
        EXPECT_TRUE(IsWindowEnabled(window));
    }
    // A viewer that is there but will not start hands over to the system too.
    responder.forget();
    responder.answerProgram(kNotStarted);
    responder.answerProgram(0, nullptr);
    EXPECT_EQ(showDocument(window, DocumentKind::Rtf, document, everyViewer), CommandEnd::ViewerStarted);
    ASSERT_EQ(responder.asked().size(), 2u);
    EXPECT_EQ(responder.asked()[0].kind, RequestKind::StartProgram);
    EXPECT_EQ(responder.asked()[1].kind, RequestKind::OpenDocument);
    EXPECT_TRUE(responder.messages().empty());
}

TEST_F(ShowDocumentTest, NothingToShowTheDocumentNamesTheViewerAndTheFileType) {
    open();
    responder.answerProgram(kNotStarted);
    EXPECT_EQ(showDocument(window, DocumentKind::Rtf, document, noViewer), CommandEnd::Finished);
    responder.answerProgram(kNotStarted);
    EXPECT_EQ(showDocument(window, DocumentKind::Html, "c:\\job.htm", noViewer), CommandEnd::Finished);
    // A PDF has no fixed viewer to name; the system is asked even where the others' are.
    responder.answerProgram(kNotStarted);
    EXPECT_EQ(showDocument(window, DocumentKind::Pdf, "c:\\job.pdf", everyViewer), CommandEnd::Finished);
    EXPECT_EQ(responder.asked().back().kind, RequestKind::MessageBox);
    EXPECT_EQ(responder.asked()[responder.asked().size() - 2].kind, RequestKind::OpenDocument);
    EXPECT_EQ(responder.messages(),
              (std::vector<std::string>{
                  "Wordpad not found\r\nNo program on this computer opens RTF files.",
                  "Internet Explorer not found\r\nNo program on this computer opens HTM files.",
                  "No program on this computer opens PDF files."}));
    for (const UserRequest& request : responder.asked())
        if (request.kind == RequestKind::MessageBox) {
            EXPECT_EQ(request.title, "File not found");
            EXPECT_EQ(request.style, kErrorBox);
        }
    EXPECT_TRUE(IsWindowEnabled(window));
}

} // namespace
} // namespace plaxet::testing
