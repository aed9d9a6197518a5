#pragma once
// The one seam through which the program asks the user something (message
// boxes, the open and save dialogs), hands the desktop a document to open
// or starts another program.
// With no responder installed, which is always so in the shipped program,
// the real windows are shown. A test installs a responder that records each
// request and gives the answer the test chose.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace plaxet {

// ChoosePrinter is the print dialog: the answer's path is the printer's
// name, empty for Cancel.
enum class RequestKind {
    MessageBox,
    OpenFile,
    SaveFile,
    OpenDocument,
    StartProgram,
    ChoosePrinter
};

struct FileFilter {
    std::string description;
    std::string pattern;
};

struct UserRequest {
    RequestKind kind = RequestKind::MessageBox;
    std::string text;  // message text, the document or address to open, or a command line
    std::string title; // message box caption or file dialog title
    // Message box buttons and icon, file dialog flags, or the show command
    // for a document or program.
    unsigned style = 0;
    std::string verb; // documents: what the shell is asked to do ("open")
    // The window that owns the dialog or waits for the program (an HWND);
    // null for none.
    void* owner = nullptr;
    // File dialogs:
    std::string initialFolder;
    std::string initialFile;
    std::string defaultExtension;
    std::vector<FileFilter> filter;
};

struct UserAnswer {
    // Message boxes: IDOK, IDYES, IDNO, IDCANCEL. Programs: the exit code, or
    // kNotStarted. Documents: kNotStarted when no program opens them.
    int button = 0;
    std::string path; // file dialogs: the chosen path, empty for Cancel
    // Programs and documents: a waitable object (a HANDLE, still owned by
    // the responder) that stands in for the started process; the caller
    // waits on it as it would on the process. Null: nothing to wait for.
    void* process = nullptr;
};

inline constexpr int kNotStarted = -1;

using Responder = std::function<UserAnswer(const UserRequest&)>;

// Installs a responder for the lifetime of the object (they do not nest).
class ScopedResponder {
  public:
    explicit ScopedResponder(Responder responder);
    ~ScopedResponder();
    ScopedResponder(const ScopedResponder&) = delete;
    ScopedResponder& operator=(const ScopedResponder&) = delete;
};

// The installed responder's answer, or nothing when the real window is due.
std::optional<UserAnswer> answerFromResponder(const UserRequest& request);

} // namespace plaxet
