#include "win/message_box.h"

#include <string>

#include "runtime/wide.h"
#include "win/failure_barrier.h"
#include "win/responder.h"

namespace plaxet {

int MessageBox(std::string_view text, std::string_view title, unsigned style) {
    return MessageBox(nullptr, text, title, style);
}

int MessageBox(HWND owner, std::string_view text, std::string_view title, unsigned style) {
    UserRequest request;
    request.kind = RequestKind::MessageBox;
    request.text = std::string(text);
    request.title = std::string(title);
    request.style = style;
    request.owner = owner;
    if (const auto answer = answerFromResponder(request)) return answer->button;
    // The box is task-modal, owner or not: every window of the program is
    // disabled while it is up, and a second click on a close box cannot
    // start the same command again underneath it.
    return MessageBoxW(owner, toWide(text).c_str(), toWide(title).c_str(), style | MB_TASKMODAL);
}

void reportUnexpectedFailure(const char* what) noexcept {
    // Re-entry happens when the box's own messages reach the failing
    // procedure again; one box at a time is enough to tell the user.
    static bool reporting = false;
    if (reporting) return;
    reporting = true;
    try {
        std::string text = "An unexpected failure stopped this action";
        if (what && *what) text += ":\r\n" + std::string(what);
        text += "\r\n\r\nThe window and its form stay open.";
        MessageBox(text, "Plaxet", MB_OK | MB_ICONERROR);
    } catch (...) {
        // Not even the message could be made (out of memory): nothing more
        // can be said, and the window goes on.
    }
    reporting = false;
}

} // namespace plaxet
