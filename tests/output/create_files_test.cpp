#include "output/create_files.h"
#include "output/form_completion.h"

#include "form_builder.h"

#include "form/form_file.h"
#include "form/sender_file.h"
#include "output/einvoice/cii_xml.h"
#include "output/einvoice/einvoice.h"
#include "output/html_writer.h"
#include "output/pdf/writer.h"
#include "output/rtf_writer.h"
#include "output/totals.h"
#include "runtime/codepage.h"
#include "runtime/file.h"
#include "runtime/paths.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace plaxet {
namespace {

using testing::setItem;
using testing::TempFolder;

FormDocument readyInvoice() {
    FormDocument form;
    form.senderLines[0] = "Hill Paint Co.";
    form.addresseeLines[0] = "Jo Smith";
    setFormDate(form, "03/15/2024");
    form.formType = kInvoice;
    setItem(form, 1, "1-2-07", "Paint", "10");
    setItem(form, 2, "", "Subtotal", "");
    setItem(form, 3, "", "Tax (8%)", "");
    form.itemCount = 3;
    return form;
}

// The PDF as this computer makes it, at a fixed time so that bytes compare.
DocumentSettings fixedSettings() {
    DocumentSettings settings;
    settings.creationTime = 1700000000;
    return settings;
}

std::string contentOf(const std::string& path) {
    return readWholeFile(path).value_or("<none>");
}

} // namespace

TEST(CreateFiles, ChecksRefuseInTheirOrderWithTheirOwnTexts) {
    FormDocument form;
    CreateFilesResult result = checkFormAndRewriteItemDates(form, "2/30/2007", 0);
    EXPECT_EQ(result.status, CreateFilesStatus::InvalidFormDate);
    EXPECT_EQ(result.message, "invalid date");
    EXPECT_EQ(result.title, "ERROR");
    // Blanks are not an empty date: they fail as an invalid one.
    EXPECT_EQ(checkFormAndRewriteItemDates(form, "          ", 0).status,
              CreateFilesStatus::InvalidFormDate);

    result = checkFormAndRewriteItemDates(form, "", 0);
    EXPECT_EQ(result.status, CreateFilesStatus::NoSender);
    EXPECT_EQ(result.message, "Must include sender");
    EXPECT_EQ(result.title, "Create RTF & HTM files");

    form.senderLines[0] = "Hill Paint Co.";
    EXPECT_EQ(checkFormAndRewriteItemDates(form, "", 0).message, "Must at least include addressee");

    form.addresseeLines[0] = " "; // a name of blanks passes
    EXPECT_EQ(checkFormAndRewriteItemDates(form, "", 0).message, "Must have form date");
    EXPECT_EQ(checkFormAndRewriteItemDates(form, "1/5/2007", 0).message, "Must include some items");

    setItem(form, 1, " 1-2-07 ", "Paint", "10");
    setItem(form, 2, "", "Brushes", "4");
    setItem(form, 3, "31/1/2007", "Ladder", "120");
    setItem(form, 4, "2/2/2007", "Rope", "3");
    form.itemCount = 4;
    EXPECT_EQ(checkFormAndRewriteItemDates(form, "1/5/2007", 0).message, "Must specify form type");
    EXPECT_EQ(checkFormAndRewriteItemDates(form, "1/5/2007", 4).message, "Must specify form type");
    // Nothing was rewritten by the earlier refusals.
    EXPECT_EQ(itemAt(form, 1).date, " 1-2-07 ");

    result = checkFormAndRewriteItemDates(form, "1/5/2007", kReceipt);
    EXPECT_EQ(result.status, CreateFilesStatus::InvalidItemDate);
    EXPECT_EQ(result.message, "Invalid date for item 3");
    EXPECT_EQ(result.item, 3);
    // The dates checked so far are normalised; the ones after the failure are not.
    EXPECT_EQ(itemAt(form, 1).date, "01/02/2007");
    EXPECT_EQ(itemAt(form, 3).date, "31/1/2007");
    EXPECT_EQ(itemAt(form, 4).date, "2/2/2007");

    editItem(form, 3).date = "";
    result = checkFormAndRewriteItemDates(form, "1/5/2007", kReceipt);
    EXPECT_EQ(result.status, CreateFilesStatus::Ok);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(itemAt(form, 4).date, "02/02/2007");
}

TEST(CreateFiles, AnItemBeyondTheVisibleRowsIsNamedByItsNumber) {
    FormDocument form = readyInvoice();
    for (int32_t i = 4; i <= 15; ++i) setItem(form, i, "", "item", "1");
    editItem(form, 15).date = "31/1/2007";
    form.itemCount = 15;
    const CreateFilesResult result =
        checkFormAndRewriteItemDates(form, form.formDate, form.formType);
    EXPECT_EQ(result.message, "Invalid date for item 15");
    EXPECT_EQ(result.item, 15);
}

TEST(CreateFiles, DocumentsLieBesideTheFormFile) {
    const testing::DocumentPaths paths = testing::documentPaths("c:\\forms\\smith.plx");
    EXPECT_EQ(paths.rtf, "c:\\forms\\smith.rtf");
    EXPECT_EQ(paths.html, "c:\\forms\\smith.htm");
    EXPECT_EQ(paths.pdf, "c:\\forms\\smith.pdf");
}

TEST(CreateFiles, WritesAllThreeDocumentsAndSaysWhere) {
    TempFolder dir;
    const std::string formPath = dir.file("smith.plx");
    ASSERT_TRUE(replaceFileContents(formPath, "the form file").ok);

    FormDocument form = readyInvoice();
    const CreateFilesResult result = createFilesHeadless(form, formPath, fixedSettings());
    ASSERT_EQ(result.status, CreateFilesStatus::Ok) << result.message;
    EXPECT_EQ(result.title, "RTF File");
    EXPECT_EQ(result.message,
              "The RTF, HTM and PDF files have been created at:\r\n\r\n" + folderPart(formPath));
    EXPECT_EQ(itemAt(form, 1).date, "01/02/2007");
    EXPECT_EQ(itemAt(form, 2).cost, "") << "the record keeps what was typed";
    EXPECT_DOUBLE_EQ(documentValues(form).sums.total, 10.8);

    const testing::DocumentPaths paths = testing::documentPaths(formPath);
    EXPECT_EQ(contentOf(paths.rtf), rtfDocument(form, documentValues(form), {}));
    EXPECT_EQ(contentOf(paths.html), htmlDocument(form, documentValues(form)));
    EXPECT_NE(contentOf(paths.rtf).find("01/02/2007"), std::string::npos);
    EXPECT_EQ(contentOf(paths.pdf), pdfDocument(form, documentValues(form), fixedSettings()));
    EXPECT_TRUE(isReadOnly(paths.rtf));
    EXPECT_TRUE(isReadOnly(paths.html));
    EXPECT_TRUE(isReadOnly(paths.pdf));
    EXPECT_EQ(contentOf(formPath), "the form file");
}

// An invoice the e-invoice can say gets NAME.xml beside its documents; once
// it cannot, the documents say why and the earlier e-invoice goes, and a
// receipt's documents go without one and without a word about it.
TEST(CreateFiles, AnInvoiceThatCanBeOneGetsItsEInvoiceBeside) {
    TempFolder dir;
    const std::string formPath = dir.file("smith.plx");
    const std::string xmlPath = documentPath(formPath, DocumentKind::Xml);
    ASSERT_TRUE(replaceFileContents(formPath, "the form file").ok);
    DocumentSettings settings = fixedSettings();
    settings.business = testing::gardenBusiness();
    settings.business.currency = "EUR";
    FormDocument form = readyInvoice();
    form.number = "2024-0001";
    form.buyer.country = "FR";
    const std::string created = "have been created at:\r\n\r\n" + folderPart(formPath);

    // Without the fonts an archival PDF embeds, the XML alone is the e-invoice.
    CreateFilesResult result = createFilesHeadless(form, formPath, settings);
    EXPECT_EQ(result.message,
              "The RTF, HTM and PDF files and the e-invoice (EN 16931) " + created +
                  "\r\n\r\nThe PDF does not carry the e-invoice, as it could not be made an "
                  "archival file: the fonts it embeds (Liberation Sans) could not be read. The "
                  "XML file is the e-invoice.");
    EXPECT_TRUE(fileExists(xmlPath));

    settings.archivalFonts = archivalFontFiles();
    result = createFilesHeadless(form, formPath, settings);
    EXPECT_EQ(result.message, "The RTF, HTM and PDF files and the e-invoice (EN 16931) " + created);
    const DocumentValues values = documentValues(form, settings.business);
    const EInvoiceResult eInvoice = eInvoiceOf(form, values, settings.business);
    ASSERT_TRUE(eInvoice.invoice) << eInvoice.problem;
    EXPECT_EQ(contentOf(xmlPath), ciiXml(*eInvoice.invoice));
    EXPECT_TRUE(isReadOnly(xmlPath));

    form.buyer.country.clear();
    result = createFilesHeadless(form, formPath, settings);
    EXPECT_EQ(result.status, CreateFilesStatus::Ok);
    EXPECT_EQ(result.message, "The RTF, HTM and PDF files " + created +
                                  "\r\n\r\nNo e-invoice was written. An e-invoice needs the "
                                  "buyer's country (Buyer Details). The earlier smith.xml was "
                                  "removed, as it no longer matched the form.");
    EXPECT_FALSE(fileExists(xmlPath));
    EXPECT_TRUE(fileExists(testing::documentPaths(formPath).pdf));

    form.buyer.country = "FR";
    ASSERT_EQ(createFilesHeadless(form, formPath, settings).status, CreateFilesStatus::Ok);
    ASSERT_TRUE(fileExists(xmlPath));
    form.formType = kReceipt;
    result = createFilesHeadless(form, formPath, settings);
    EXPECT_EQ(result.message, "The RTF, HTM and PDF files " + created);
    EXPECT_FALSE(fileExists(xmlPath));
}

// The text is UTF-8 whatever the system's code page, so every code page gets
// a PDF: one without its own table for the standard fonts draws them with
// WinAnsiEncoding and takes what that lacks from the embedded font.
TEST(CreateFiles, EveryCodePageGetsAPdf) {
    const uint32_t previous = codePageInUse();
    FormDocument form = readyInvoice();
    form.addresseeLines[0] = "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD Caf\xC3\xA9"; // Иван Café
    std::string western; // the PDF made with code page 1252
    for (const uint32_t codePage : {1252u, 1251u, 932u, kUtf8CodePage}) {
        if (!useCodePage(codePage)) {
            ADD_FAILURE() << "code page " << codePage << " cannot be converted here";
            continue;
        }
        TempFolder dir;
        const std::string formPath = dir.file("form.plx");
        ASSERT_TRUE(replaceFileContents(formPath, "form").ok);
        FormDocument copy = form;
        DocumentSettings settings = fixedSettings();
        settings.codePage = codePage;
        const CreateFilesResult result = createFilesHeadless(copy, formPath, settings);
        // Without a font file, the Cyrillic letters are stand-ins, and the message says so.
        EXPECT_EQ(result.message,
                  "The RTF, HTM and PDF files have been created at:\r\n\r\n" +
                      folderPart(formPath) +
                      "\r\n\r\nThe PDF shows \xD0\x98 (U+0418), \xD0\xB0 "
                      "(U+0430), \xD0\xB2 (U+0432), \xD0\xBD (U+043D) as a box or a stand-in, as "
                      "no font on this computer has them. Installing a font for that script and "
                      "creating the files again draws them.")
            << codePage;
        const std::string pdf = contentOf(testing::documentPaths(formPath).pdf);
        if (codePage == 1252) western = pdf;
        EXPECT_TRUE(pdf == western) << "code page " << codePage << " draws as code page 1252 does";
    }
    ASSERT_TRUE(useCodePage(previous));
}

TEST(CreateFiles, LongDocumentsReachTheDiskWhole) {
    TempFolder dir;
    const std::string formPath = dir.file("long.plx");
    ASSERT_TRUE(replaceFileContents(formPath, "form").ok);

    // Enough rows for each document to be written in many pieces.
    FormDocument form = readyInvoice();
    for (int32_t item = 1; item <= 4000; ++item) {
        form.itemCount = item;
        const bool computed = item % 25 == 0;
        setItem(form, item, "03/04/2024",
                computed ? "Subtotal"
                         : "Brushes {fine} & \"soft\" <caf\xE9> " + std::to_string(item),
                computed ? "" : std::to_string(item % 97) + ".25");
    }
    ASSERT_EQ(createFilesHeadless(form, formPath).status, CreateFilesStatus::Ok);

    const testing::DocumentPaths paths = testing::documentPaths(formPath);
    const std::string rtf = rtfDocument(form, documentValues(form), {});
    const std::string html = htmlDocument(form, documentValues(form));
    EXPECT_GT(rtf.size(), 1000000u);
    EXPECT_GT(html.size(), 500000u);
    EXPECT_EQ(contentOf(paths.rtf), rtf);
    EXPECT_EQ(contentOf(paths.html), html);
}

TEST(CreateFiles, RunningTwiceReplacesReadOnlyDocuments) {
    TempFolder dir;
    const std::string formPath = dir.file("twice.plx");
    ASSERT_TRUE(replaceFileContents(formPath, "form").ok);
    FormDocument first = readyInvoice();
    ASSERT_EQ(createFilesHeadless(first, formPath).status, CreateFilesStatus::Ok);

    FormDocument second = readyInvoice();
    second.addresseeLines[0] = "Someone Else";
    const CreateFilesResult result = createFilesHeadless(second, formPath, fixedSettings());
    ASSERT_EQ(result.status, CreateFilesStatus::Ok) << result.message;
    const testing::DocumentPaths paths = testing::documentPaths(formPath);
    EXPECT_EQ(contentOf(paths.rtf), rtfDocument(second, documentValues(second), {}));
    EXPECT_EQ(contentOf(paths.html), htmlDocument(second, documentValues(second)));
    EXPECT_NE(contentOf(paths.html).find("Someone Else"), std::string::npos);
    EXPECT_EQ(contentOf(paths.pdf), pdfDocument(second, documentValues(second), fixedSettings()));
    EXPECT_TRUE(isReadOnly(paths.rtf));
    EXPECT_TRUE(isReadOnly(paths.pdf));
}

TEST(CreateFiles, ADocumentThatCannotBeWrittenIsNeverAnnounced) {
    TempFolder dir;
    // A folder where one of the documents belongs: the command fails in the
    // same words for each, names it, and writes no document after it.
    const struct {
        const char* form;
        std::string testing::DocumentPaths::*blocked;
        const char* named;
    } cases[] = {{"blocked.plx", &testing::DocumentPaths::html, "blocked.htm"},
                 {"other.plx", &testing::DocumentPaths::rtf, "other.rtf"},
                 {"third.plx", &testing::DocumentPaths::pdf, "third.pdf"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        const std::string formPath = dir.file(c.form);
        ASSERT_TRUE(replaceFileContents(formPath, "form").ok);
        const testing::DocumentPaths paths = testing::documentPaths(formPath);
        std::filesystem::create_directory(paths.*c.blocked);
        FormDocument form = readyInvoice();
        const CreateFilesResult result = createFilesHeadless(form, formPath);
        EXPECT_EQ(result.status, CreateFilesStatus::WriteFailed);
        EXPECT_EQ(result.message.find("have been created"), std::string::npos);
        EXPECT_NE(result.message.find(c.named), std::string::npos) << result.message;
        if (c.blocked == &testing::DocumentPaths::rtf) {
            EXPECT_FALSE(fileExists(paths.html));
        }
    }
}

// While it lives, the file cannot be replaced, though nothing refuses it
// beforehand. On Windows it is open, sharing everything, as a viewer may have
// opened the PDF: the check for held files lets it pass, but no open file can
// be replaced. On Linux it is marked immutable, which root may do.
#ifdef _WIN32
class UnreplaceableFile {
  public:
    explicit UnreplaceableFile(const std::string& path)
        : viewer_(CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr)) {}
    ~UnreplaceableFile() {
        if (ok()) CloseHandle(viewer_);
    }
    bool ok() const { return viewer_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE viewer_;
};
#else
class UnreplaceableFile {
  public:
    explicit UnreplaceableFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)), ok_(markImmutable(true)) {}
    ~UnreplaceableFile() {
        if (ok_) markImmutable(false);
        if (fd_ >= 0) ::close(fd_);
    }
    bool ok() const { return ok_; }

  private:
    bool markImmutable(bool immutable) {
        int flags = 0;
        if (fd_ < 0 || ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) != 0) return false;
        flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        return ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
    }
    int fd_;
    bool ok_;
};
#endif

// A document that cannot be replaced once the others are (a viewer opened
// the PDF after the check): the message names the documents that are new and
// the one that is not, and why, and the disk holds exactly that.
TEST(CreateFiles, DocumentsReplacedOnlyInPartAreToldAsTheyAre) {
    TempFolder dir;
    const std::string formPath = dir.file("job.plx");
    ASSERT_TRUE(replaceFileContents(formPath, "form").ok);
    FormDocument first = readyInvoice();
    ASSERT_EQ(createFilesHeadless(first, formPath, fixedSettings()).status, CreateFilesStatus::Ok);
    const testing::DocumentPaths paths = testing::documentPaths(formPath);
    const std::string firstPdf = contentOf(paths.pdf);

    FormDocument second = readyInvoice();
    second.addresseeLines[0] = "Someone Else";
    CreateFilesResult result;
    {
        const UnreplaceableFile viewer(paths.pdf);
        if (!viewer.ok()) GTEST_SKIP() << "this process cannot make a file unreplaceable";
        result = createFilesHeadless(second, formPath, fixedSettings());
    }
#ifdef _WIN32
    EXPECT_EQ(result.status, CreateFilesStatus::FileHeld);
    const std::string why = heldFileMessage(paths.pdf);
#else
    EXPECT_EQ(result.status, CreateFilesStatus::WriteFailed);
    const std::string why = "cannot replace " + paths.pdf + ": " + std::strerror(EPERM);
#endif
    EXPECT_EQ(result.message, "The RTF and HTM files have been created at:\r\n\r\n" +
                                  folderPart(formPath) +
                                  "\r\n\r\nThe PDF file was not created (job.pdf is still the "
                                  "earlier one): " +
                                  why);
    EXPECT_EQ(contentOf(paths.rtf), rtfDocument(second, documentValues(second), {}));
    EXPECT_EQ(contentOf(paths.html), htmlDocument(second, documentValues(second)));
    EXPECT_EQ(contentOf(paths.pdf), firstPdf);
    size_t entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 4u) << "no temporary file is left";
}

TEST(CreateFiles, NeverOverwritesTheFormFileItself) {
    TempFolder dir;
    for (const char* name : {"form.htm", "form.rtf", "form.pdf", "abc"}) {
        const std::string formPath = dir.file(name);
        ASSERT_TRUE(replaceFileContents(formPath, "precious").ok);
        FormDocument form = readyInvoice();
        const CreateFilesResult result = createFilesHeadless(form, formPath);
        EXPECT_EQ(result.status, CreateFilesStatus::BadFormFileName) << name;
        EXPECT_EQ(contentOf(formPath), "precious");
    }

    FormDocument form = readyInvoice();
    EXPECT_EQ(createFilesHeadless(form, dir.file("gone.plx")).status,
              CreateFilesStatus::NoFormFile);
    EXPECT_EQ(createFilesHeadless(form, "").status, CreateFilesStatus::NoFormFile);
}

#ifndef _WIN32
// While it lives, no file of this process may grow past `bytes`: a write
// beyond fails as it does on a full disk (the limit's signal is ignored).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return ok_; }

  private:
    rlimit old_{};
    void (*previous_)(int) = SIG_DFL;
    bool ok_ = false;
};

TEST(CreateFiles, AWriteThatRunsOutOfRoomLosesNothing) {
    TempFolder dir;
    const std::string formPath = dir.file("big.plx");
    FormDocument form = readyInvoice();
    for (int32_t i = 4; i <= 900; ++i)
        testing::addItems(
            form,
            {{"", "Interior paint, coat " + std::to_string(i) + std::string(60, '-'), "12.50"}});

    const FormDocument ready = readyInvoice();
    ASSERT_EQ(saveFormFile(formPath, ready, ready.itemCount).outcome, SaveOutcome::Saved);
    const std::string oldForm = contentOf(formPath);
    FormDocument small = readyInvoice();
    ASSERT_EQ(createFilesHeadless(small, formPath).status, CreateFilesStatus::Ok);
    const testing::DocumentPaths paths = testing::documentPaths(formPath);
    const std::string oldRtf = contentOf(paths.rtf), oldHtml = contentOf(paths.html),
                      oldPdf = contentOf(paths.pdf);
    const std::string senderPath = dir.file("quillet.ini");
    ASSERT_TRUE(saveSenderLines(small, senderPath).ok);
    const std::string oldSender = contentOf(senderPath);

    CreateFilesResult documents;
    FormSaveResult saved;
    ReplaceResult sender;
    FormDocument longSender = small;
    longSender.senderLines[0] = std::string(40000, 'S');
    {
        const FileSizeLimit limit(16 * 1024);
        ASSERT_TRUE(limit.ok());
        saved = saveFormFile(formPath, form, form.itemCount);
        documents = createFilesHeadless(form, formPath);
        sender = saveSenderLines(longSender, senderPath);
    }
    // Each failure is reported with its reason, and every earlier file is
    // whole. (That the window keeps the form marked changed after a failed
    // save is shown by the window tests.)
    EXPECT_EQ(saved.outcome, SaveOutcome::Failed);
    EXPECT_NE(saved.error.find("too large"), std::string::npos) << saved.error;
    EXPECT_EQ(contentOf(formPath), oldForm);
    EXPECT_EQ(documents.status, CreateFilesStatus::WriteFailed);
    EXPECT_NE(documents.message.find("big.rtf"), std::string::npos) << documents.message;
    EXPECT_EQ(contentOf(paths.rtf), oldRtf);
    EXPECT_EQ(contentOf(paths.html), oldHtml);
    EXPECT_EQ(contentOf(paths.pdf), oldPdf);
    EXPECT_FALSE(sender.ok);
    EXPECT_NE(sender.error.find("too large"), std::string::npos) << sender.error;
    EXPECT_EQ(contentOf(senderPath), oldSender);
    // And no temporary file stays behind.
    size_t entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 5u);
}
#endif

// The due date and the number a form gets from the business details, as
// the window and plaxet-cli both give them.
TEST(FormCompletion, DueDateFilledAndCheckedOnTheFormDateAsTheChecksReadIt) {
    const struct {
        const char* formDate;
        const char* due;
        const char* dueAfter;
        bool filled;
        const char* problem;
    } cases[] = {
        // The form date as the checks rewrite it; the due date filled, or
        // refused as it was typed.
        {"3/5/2024", "", "03/19/2024", true, ""},
        {"3/5/2024", "03/04/2024", "03/04/2024", false, "before the form date 03/05/2024"},
        {"3/5/2024", "4/1/2024", "4/1/2024", false, "not a date"},
    };
    for (const auto& c : cases) {
        FormDocument form;
        setFormDate(form, c.formDate);
        form.dueDate = c.due;
        const DatingResult dated = dateForm(form, 14);
        EXPECT_EQ(form.dueDate, c.dueAfter) << c.formDate << " " << c.due;
        EXPECT_EQ(dated.filled, c.filled) << c.due;
        EXPECT_NE(dated.problem.find(c.problem), std::string::npos) << dated.problem;
        EXPECT_EQ(dated.problem.empty(), std::string(c.problem).empty()) << dated.problem;
        EXPECT_EQ(form.formDate,
                  std::string(c.formDate) + std::string(10 - strlen(c.formDate), ' '))
            << "the record's form date stays as it was";
    }
}

TEST(FormCompletion, NumbersTakenClaimedAndAskedAboutBeforeUsingThemTwice) {
    TempFolder dir;
    const std::string business = dir.file("business.json");
    BusinessDetails details;
    details.numbers[kInvoice - 1] = "R{YY}-{##}";
    FormDocument form = readyInvoice();
    setFormDate(form, "3/5/2024");
    std::vector<std::string> asked;
    bool answer = false;
    const AskNumberAgain ask = [&](const std::string& number, const std::string& other) {
        asked.push_back(number + " on " + other);
        return answer;
    };

    NumberingResult numbered = numberForm(form, details, business, "a.plx", ask);
    EXPECT_EQ(numbered.status, NumberingStatus::Ok);
    EXPECT_TRUE(numbered.taken);
    EXPECT_EQ(form.number, "R24-01");
    // The form's own number again: nothing taken, nothing asked.
    numbered = numberForm(form, details, business, "a.plx", ask);
    EXPECT_EQ(numbered.status, NumberingStatus::Ok);
    EXPECT_FALSE(numbered.taken);
    EXPECT_EQ(form.number, "R24-01");

    // The same number on another form: asked, and No leaves the record alone.
    numbered = numberForm(form, details, business, "b.plx", ask);
    EXPECT_EQ(numbered.status, NumberingStatus::Declined);
    EXPECT_EQ(numbered.usedBy, "a.plx");
    EXPECT_EQ(asked, std::vector<std::string>{"R24-01 on a.plx"});
    EXPECT_EQ(numberForm(form, details, business, "b.plx", nullptr).status,
              NumberingStatus::Declined)
        << "without anyone to ask, the answer is no";
    answer = true;
    EXPECT_EQ(numberForm(form, details, business, "b.plx", ask).status, NumberingStatus::Ok);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(numberForm(form, details, business, "b.plx", ask).status, NumberingStatus::Ok);
    EXPECT_EQ(asked.size(), 2u) << "b.plx has the number now";

    // A type without a pattern is not numbered and the counters are not read.
    form.formType = kReceipt;
    form.number.clear();
    ASSERT_TRUE(replaceFileContents(dir.file("numbers.json"), "{\"counters\": ").ok);
    numbered = numberForm(form, details, business, "c.plx", ask);
    EXPECT_EQ(numbered.status, NumberingStatus::Ok);
    EXPECT_EQ(form.number, "");
    // A damaged counter file ends it with its message and no number.
    form.formType = kInvoice;
    numbered = numberForm(form, details, business, "c.plx", ask);
    EXPECT_EQ(numbered.status, NumberingStatus::Failed);
    EXPECT_NE(numbered.message.find(dir.file("numbers.json")), std::string::npos);
    EXPECT_EQ(form.number, "");

    EXPECT_EQ(businessDetailsRefusal(business, {}), "");
    EXPECT_EQ(businessDetailsRefusal(business, {"one", "two"}),
              business + " cannot be used:\r\n  one\r\n  two");
}

} // namespace plaxet
