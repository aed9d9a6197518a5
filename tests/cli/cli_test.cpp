// Runs the built plaxet-cli, which lies beside this test program.
#include "form/data_folder.h"
#include "form_builder.h"
#include "form/form_file.h"
#include "output/create_files.h"
#include "runtime/file.h"
#include "runtime/paths.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace plaxet {
namespace {

using testing::TempFolder;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string cliPath() {
#ifdef _WIN32
    return runningProgramFolder() + "plaxet-cli.exe";
#else
    return runningProgramFolder() + "plaxet-cli";
#endif
}

std::string quoted(const std::string& text) {
#ifdef _WIN32
    return "\"" + text + "\"";
#else
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
#endif
}

CliRun runCli(const TempFolder& dir, const std::vector<std::string>& args) {
    const std::string outPath = dir.file("stdout.txt");
    const std::string errPath = dir.file("stderr.txt");
    std::string command = quoted(cliPath());
    for (const std::string& arg : args) command += " " + quoted(arg);
    command += " >" + quoted(outPath) + " 2>" + quoted(errPath);
#ifdef _WIN32
    // The command interpreter drops the outermost pair of quotes.
    command = "\"" + command + "\"";
#endif
    CliRun run;
    if (!fileExists(cliPath())) {
        ADD_FAILURE() << "plaxet-cli is not built beside the tests: " << cliPath();
        return run;
    }
    const int raw = std::system(command.c_str());
#ifdef _WIN32
    run.status = raw;
#else
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    run.out = readWholeFile(outPath).value_or("");
    run.err = readWholeFile(errPath).value_or("");
    // Text written by a Windows program ends its lines in CR LF.
    for (std::string* text : {&run.out, &run.err})
        for (size_t at; (at = text->find("\r\n")) != std::string::npos;) text->erase(at, 1);
    return run;
}

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

void writeText(const std::string& path, const std::string& text) {
    ASSERT_TRUE(replaceFileContents(path, text).ok);
}

// A JSON invoice with texts beyond ASCII (written as UTF-8 escapes here).
const std::string kInvoiceJson = R"json({
  "date": "3/15/2024",
  "type": "invoice",
  "addressee": {
    "name": "Caf\u00e9 Na\u00efve",
    "address": "1 Main St",
    "city": "Springfield",
    "phone": ""
  },
  "items": [
    {
      "date": "1-2-07",
      "description": "Paint \u20ac",
      "cost": "10"
    },
    {
      "date": "",
      "description": "Subtotal",
      "cost": ""
    },
    {
      "date": "",
      "description": "Tax (8%)",
      "cost": ""
    }
  ],
  "notes": "Thank you\r\nNet 30"
}
)json";

std::string unescaped(const std::string& json) {
    std::string text = json;
    for (auto [from, to] : {std::pair<std::string, std::string>{"\\u00e9", "\xC3\xA9"},
                            {"\\u00ef", "\xC3\xAF"},
                            {"\\u20ac", "\xE2\x82\xAC"}})
        for (size_t at; (at = text.find(from)) != std::string::npos;)
            text.replace(at, from.size(), to);
    return text;
}

} // namespace

TEST(Cli, MakeAndDumpAreEachOthersReverse) {
    TempFolder dir;
    const std::string json = dir.file("invoice.json");
    const std::string form = dir.file("invoice.plx");
    writeText(json, kInvoiceJson);

    CliRun made = runCli(dir, {"make", json, form});
    ASSERT_EQ(made.status, 0) << made.err;
    FormDocument loaded;
    ASSERT_TRUE(loadFormFile(form, loaded).ok);
    EXPECT_EQ(loaded.addresseeLines[0], "Caf\xC3\xA9 Na\xC3\xAFve");
    EXPECT_EQ(itemAt(loaded, 1).description, "Paint \xE2\x82\xAC");
    // The file holds them in code page 1252, with no block after the notes.
    const std::string bytes = readWholeFile(form).value_or("");
    EXPECT_NE(bytes.find("Caf\xE9 Na\xEFve"), std::string::npos);
    EXPECT_EQ(bytes.find("PLXUTF8"), std::string::npos);
    EXPECT_EQ(loaded.formDate, "3/15/2024 ");
    EXPECT_EQ(loaded.notes, "Thank you\r\nNet 30");

    const CliRun dumped = runCli(dir, {"dump", form});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(dumped.out, unescaped(kInvoiceJson));

    // Notes may also be given as a list of lines, and a type as its number.
    writeText(json, R"({"type": 3, "notes": ["a", "", "b"]})");
    made = runCli(dir, {"make", json, form});
    ASSERT_EQ(made.status, 0) << made.err;
    loaded = FormDocument();
    ASSERT_TRUE(loadFormFile(form, loaded).ok);
    EXPECT_EQ(loaded.formType, kEstimate);
    EXPECT_EQ(loaded.notes, "a\r\n\r\nb");
    EXPECT_EQ(loaded.itemCount, 0);

    // Names outside the code page come back from the dump as they went in.
    const std::string names =
        R"({"addressee": {"name": "\u0141ukasz", "address": "Nguy\u1ec5n", "city": "\u738b\u82b3"}})";
    writeText(json, names);
    made = runCli(dir, {"make", json, form});
    ASSERT_EQ(made.status, 0) << made.err;
    const CliRun again = runCli(dir, {"dump", form});
    ASSERT_EQ(again.status, 0) << again.err;
    for (const char* name : {"\xC5\x81ukasz", "Nguy\xE1\xBB\x85n", "\xE7\x8E\x8B\xE8\x8A\xB3"})
        EXPECT_NE(again.out.find(name), std::string::npos) << again.out;
}

TEST(Cli, MakeRefusesWhatItCannotWriteWithOneClearLine) {
    TempFolder dir;
    const std::string json = dir.file("bad.json");
    const std::string form = dir.file("bad.plx");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"({"date": "1/1/2024", "items": [)", "not valid JSON"},
        {R"({"itmes": []})", "unknown field \"itmes\""},
        {R"({"items": [{"cost": 10}]})", "the cost of item 1 must be a text"},
        {R"({"type": "bill"})", "type must be"},
        {R"({"date": "01/05/2024 12:00"})", "date must be at most 10 characters"},
        {R"([1, 2])", "must be an object"},
        {R"({"type": 1e400})", "cannot read the JSON: number overflow parsing '1e400'"},
        {R"({"items": [], "notes": -1e999999})", "cannot read the JSON: number overflow"},
    };
    for (const auto& [text, expected] : cases) {
        writeText(json, text);
        const CliRun run = runCli(dir, {"make", json, form});
        EXPECT_NE(run.status, 0) << text;
        EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
        EXPECT_EQ(lineCount(run.err), 1) << run.err;
        EXPECT_FALSE(fileExists(form)) << text;
    }
    const CliRun missing = runCli(dir, {"make", dir.file("none.json"), form});
    EXPECT_NE(missing.status, 0);
    EXPECT_EQ(lineCount(missing.err), 1);
}

TEST(Cli, SaveSenderWritesSixLinesOrRefusesWithOneClearLine) {
    TempFolder dir;
    const std::string sender = dir.file("quillet.ini");
    CliRun run = runCli(dir, {"save-sender", sender, "Hill Paint Co.", "215 Commerce Street"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readWholeFile(sender).value_or("<none>"),
              "Hill Paint Co.\r\n215 Commerce Street\r\n\r\n\r\n\r\n\r\n");

    // Refusals leave the saved file as it was.
    std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"save-sender", sender, "1", "2", "3", "4", "5", "6", "7"}, "at most 6 lines"},
        {{"save-sender"}, "usage"},
    };
#ifndef _WIN32
    cases.push_back({{"save-sender", sender, "two\nlines"}, "sender line 1 holds a line break"});
    cases.push_back({{"save-sender", sender, "\xFF"}, "not UTF-8"});
#endif
    for (const auto& [args, expected] : cases) {
        run = runCli(dir, args);
        EXPECT_NE(run.status, 0) << args.back();
        EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
        EXPECT_EQ(lineCount(run.err), 1) << run.err;
    }
    EXPECT_EQ(readWholeFile(sender).value_or("<none>"),
              "Hill Paint Co.\r\n215 Commerce Street\r\n\r\n\r\n\r\n\r\n");

    // A read-only sender file is reported, not replaced.
    ASSERT_TRUE(setAttributes(sender, kAttrReadOnly));
    run = runCli(dir, {"save-sender", sender, "Other"});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("read-only"), std::string::npos) << run.err;
    EXPECT_EQ(lineCount(run.err), 1) << run.err;
}

TEST(Cli, CreateFilesWritesBothDocumentsAndLeavesTheFormAlone) {
    TempFolder dir;
    const std::string json = dir.file("invoice.json");
    const std::string form = dir.file("invoice.plx");
    const std::string sender = dir.file("quillet.ini");
    writeText(json, kInvoiceJson);
    writeText(sender, "Hill Paint Co.\r\n12 Main St\r\n");
    ASSERT_EQ(runCli(dir, {"make", json, form}).status, 0);
    const std::string formBytes = readWholeFile(form).value_or("");

    // Twice: the second run replaces the read-only documents of the first.
    for (const char* paper : {"letter", "a4"}) {
        const CliRun run =
            runCli(dir, {"create-files", form, "--sender", sender, "--paper", paper});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out,
                  "The RTF, HTM and PDF files have been created at:\n\n" + folderPart(form) + "\n");
        EXPECT_EQ(run.err, "");
    }
    const testing::DocumentPaths documents = testing::documentPaths(form);
    const std::string pdf = readWholeFile(documents.pdf).value_or("");
    EXPECT_EQ(pdf.rfind("%PDF-1.7\n", 0), 0u);
    EXPECT_NE(pdf.find("/MediaBox [0 0 595.28 841.89]"), std::string::npos) << "A4 paper";
    EXPECT_TRUE(isReadOnly(documents.pdf));
    EXPECT_EQ(runCli(dir, {"create-files", form, "--paper", "legal"}).status, 2);
    const std::string rtf = readWholeFile(documents.rtf).value_or("");
    const std::string html = readWholeFile(documents.html).value_or("");
    EXPECT_NE(rtf.find("Hill Paint Co."), std::string::npos);
    EXPECT_NE(rtf.find("01/02/2007"), std::string::npos); // the item date, normalised
    EXPECT_NE(html.find("Hill Paint Co."), std::string::npos);
    EXPECT_TRUE(isReadOnly(documents.rtf));
    EXPECT_TRUE(isReadOnly(documents.html));
    EXPECT_EQ(readWholeFile(form).value_or(""), formBytes);
}

TEST(Cli, CreateFilesReportsRefusalsAndFailures) {
    TempFolder dir;
    const std::string json = dir.file("receipt.json");
    const std::string form = dir.file("receipt.plx");
    const std::string sender = dir.file("quillet.ini");
    writeText(sender, "Hill Paint Co.\r\n");

    writeText(json, R"({"date": "1/5/2007", "type": "receipt", "addressee": {"name": "Jo"},
                       "items": [{"description": "a", "cost": "1"},
                                 {"date": "31/1/2007", "description": "b", "cost": "2"}]})");
    ASSERT_EQ(runCli(dir, {"make", json, form}).status, 0);
    CliRun run = runCli(dir, {"create-files", form, "--sender", sender});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Invalid date for item 2\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fileExists(testing::documentPaths(form).rtf));

    writeText(json, R"({"date": "1/5/2007", "type": "receipt", "addressee": {"name": "Jo"},
                       "items": [{"description": "a", "cost": "100"}]})");
    ASSERT_EQ(runCli(dir, {"make", json, form}).status, 0);
    run = runCli(dir, {"create-files", form, "--sender", sender, "--paid", "60"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(readWholeFile(testing::documentPaths(form).html).value_or("").find("40.00 is still owed"),
              std::string::npos);

    run = runCli(dir, {"create-files", form, "--sender", dir.file("absent.ini")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("absent.ini"), std::string::npos);

    // Without a sender file beside the program, the form has no sender.
    const std::string defaultSender =
        findDataFolders(runningProgramFolder(), knownFolderPath).senderFilePath;
    ASSERT_FALSE(fileExists(defaultSender))
        << defaultSender << " lies beside the built programs; this case needs it absent";
    run = runCli(dir, {"create-files", form});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Must include sender\n");

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"create-files"},
                                               {"create-files", form, "--bogus"},
                                               {"create-files", form, "--sender"},
                                               {"create-files", dir.file("none.plx")},
                                               {"dump", dir.file("none.plx")},
                                               {"dump"}}) {
        run = runCli(dir, args);
        EXPECT_NE(run.status, 0) << args.size();
        EXPECT_EQ(lineCount(run.err), 1) << run.err;
    }
}

TEST(Cli, DamagedFormFilesAreRefusedWithAMessage) {
    TempFolder dir;
    const std::string form = dir.file("damaged.plx");
    writeText(form, std::string("03/15/2024\xFF\xFF\xFF\xFF", 14));
    for (const char* command : {"dump", "create-files"}) {
        const CliRun run = runCli(dir, {command, form});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_NE(run.err.find("item count is negative"), std::string::npos) << run.err;
        EXPECT_EQ(lineCount(run.err), 1);
    }
}

} // namespace plaxet
