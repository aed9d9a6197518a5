#include "ui/business_command.h"

#include <optional>
#include <string>

#include "form/business_details.h"
#include "ui/business_dialog.h"
#include "win/message_box.h"

namespace plaxet {
namespace {

constexpr const char* kTitle = "Business Details";

} // namespace

void editBusinessDetails(MainWindow& main, HWND owner) {
    // Read fresh: the file may have been corrected, or written by the
    // command-line tool, since the program started.
    const std::string& path = main.folders.businessFilePath;
    BusinessDetails details;
    const BusinessFileResult read = loadBusinessDetails(path, details);
    if (!read.ok && !read.missing) {
        MessageBox(read.error + "\r\n\r\nThe business details open once the file is corrected "
                                "or removed.",
                   kTitle, MB_OK | MB_ICONSTOP);
        return;
    }
    // A save that fails shows the dialog again with what was typed, so that
    // nothing is lost: the user may try again or cancel.
    while (std::optional<BusinessDetails> edited = askBusinessDetails(owner, details)) {
        const ReplaceResult saved = saveBusinessDetails(*edited, path);
        if (!saved.ok) {
            MessageBox("The business details were not saved; the earlier file is kept.\r\n" +
                           saved.error,
                       kTitle, MB_OK | MB_ICONSTOP);
            details = std::move(*edited);
            continue;
        }
        main.documentSettings.business = std::move(*edited);
        main.businessFileError.clear();
        return;
    }
}

} // namespace plaxet
