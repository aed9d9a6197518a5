#include "win/message_box.h"

#include <string>

#include "win/responder.h"
#include "runtime/wide.h"

namespace plaxet {

int MessageBox(std::string_view text, std::string_view title, unsigned style) {
    UserRequest request;
    request.kind = RequestKind::MessageBox;
    request.text = std::string(text);
    request.title = std::string(title);
    request.style = style;
    if (const auto answer = answerFromResponder(request)) return answer->button;
    // A short pause first, so that a box raised by a click does not come up
    // before the window under it has finished reacting to that click.
    Sleep(5);
    // The box has no owner, so it is made task-modal: every window of the
    // program is disabled while it is up, and a second click on a close box
    // cannot start the same command again underneath it.
    return MessageBoxW(nullptr, toWide(text).c_str(), toWide(title).c_str(), style | MB_TASKMODAL);
}

} // namespace plaxet
