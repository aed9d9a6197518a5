// Prints a help topic on a real printer, for the printing test that reads
// back what the spooler made (scripts/test-print.sh).
//
//   print_check dialog HELP_FILE TOPIC   the real help viewer on the file,
//       the topic selected, Print item, and the print dialog's OK pressed.
//   print_check default HELP_FILE TOPIC  the topic's print-out on the
//       system's default printer, with the layout that was drawn written to
//       standard output: "pages N", then "page P: TEXT" for each text drawn.
//
// Exits non-zero, with a line on standard error, when printing did not
// happen as asked.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "help/help_file.h"
#include "print/ctprint.h"
#include "print/topic_printout.h"
#include "win/forms.h"
#include "shell/window_driver.h"
#include "ui/help_window.h"
#include "ui/win32_printer.h"

namespace plaxet {
namespace {

// The real device, passed through, with every page and text noted. Its
// printer choice is the default printer, as if the user took the printer a
// dialog offers first without a dialog.
class NotingDevice : public PrinterDevice {
  public:
    std::string choosePrinter() override { return real_.useDefaultPrinter(); }
    std::string useDefaultPrinter() override { return real_.useDefaultPrinter(); }
    bool hasPrinter() const override { return real_.hasPrinter(); }
    DeviceCaps caps() override { return real_.caps(); }
    DeviceFontMetrics fontMetrics() override { return real_.fontMetrics(); }
    void selectFont(const FontRequest& font) override { real_.selectFont(font); }
    int32_t textExtent(std::string_view text) override { return real_.textExtent(text); }
    int32_t fitCount(std::string_view text, int32_t maxExtent) override {
        return real_.fitCount(text, maxExtent);
    }
    void drawText(int32_t x, int32_t y, std::string_view text) override {
        drawn.push_back({pages, std::string(text)});
        real_.drawText(x, y, text);
    }
    bool isDuplex() override { return real_.isDuplex(); }
    void setDuplex(int32_t mode) override { real_.setDuplex(mode); }
    bool startDoc(std::string_view name) override { return real_.startDoc(name); }
    bool startPage() override {
        ++pages;
        return real_.startPage();
    }
    bool endPage() override { return real_.endPage(); }
    bool endDoc() override { return real_.endDoc(); }
    void abortDoc() override { real_.abortDoc(); }
    void showError(std::string_view text, std::string_view caption) override {
        std::fprintf(stderr, "print_check: %.*s: %.*s\n", static_cast<int>(caption.size()),
                     caption.data(), static_cast<int>(text.size()), text.data());
    }

    struct Drawn {
        int page;
        std::string text;
    };
    int pages = 0;
    std::vector<Drawn> drawn;

  private:
    Win32PrinterDevice real_;
};

int fail(const std::string& why) {
    std::fprintf(stderr, "print_check: %s\n", why.c_str());
    return 1;
}

int printOnDefault(const HelpTopic& topic) {
    NotingDevice device;
    cTPrint printer(device);
    if (printer.UseDefaultPrinter().empty()) return fail("there is no default printer");
    if (printTopic(printer, topic.title, topic.body) != PrintOutcome::Printed)
        return fail("the topic was not printed");
    std::printf("pages %d\n", device.pages);
    for (const NotingDevice::Drawn& text : device.drawn)
        std::printf("page %d: %s\n", text.page, text.text.c_str());
    return 0;
}

int printFromViewer(const std::string& helpFile, int topicNumber) {
    HelpViewerState state;
    HWND window = openHelpWindow(state, helpFile, "", nullptr);
    if (!window) return fail("the help viewer did not open");
    if (topicNumber < 1 || static_cast<size_t>(topicNumber) > state.outlineEntries.size())
        return fail("no such topic");
    TreeView_SelectItem(GetDlgItem(window, kHelpOutline),
                        state.outlineEntries[static_cast<size_t>(topicNumber - 1)]);
    if (state.shownTopic != topicNumber) return fail("the topic could not be selected");
    bool dialogOwned = false;
    testing::WhenWindowAppears dialog(
        "Print",
        [&](HWND shown) {
            dialogOwned = GetWindow(shown, GW_OWNER) == window && !IsWindowEnabled(window);
            PostMessageW(shown, WM_COMMAND, IDOK, 0);
        },
        std::chrono::seconds(60));
    SendMessageW(window, WM_COMMAND, kHelpPrintCommand, 0);
    if (!dialog.acted()) return fail("the print dialog did not appear");
    if (!dialogOwned) return fail("the print dialog was not owned by the help viewer");
    FormEnd(window, 0);
    std::printf("printed through the print dialog\n");
    return 0;
}

} // namespace
} // namespace plaxet

int main(int argc, char** argv) {
    if (argc != 4) return plaxet::fail("usage: print_check dialog|default HELP_FILE TOPIC");
    const std::string mode = argv[1];
    const std::string helpFile = argv[2];
    const int topicNumber = std::atoi(argv[3]);
    if (mode == "dialog") return plaxet::printFromViewer(helpFile, topicNumber);
    const plaxet::HelpFileResult help = plaxet::loadHelpFile(helpFile);
    if (help.status != plaxet::HelpFileStatus::Loaded) return plaxet::fail(help.message);
    if (topicNumber < 1 || static_cast<size_t>(topicNumber) > help.topics.size())
        return plaxet::fail("no such topic");
    if (mode == "default")
        return plaxet::printOnDefault(help.topics[static_cast<size_t>(topicNumber - 1)]);
    return plaxet::fail("unknown mode " + mode);
}
