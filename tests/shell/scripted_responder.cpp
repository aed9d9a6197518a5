#include "shell/scripted_responder.h"

namespace plaxet::testing {

ScriptedResponder::ScriptedResponder()
    : installed_([this](const UserRequest& request) { return respond(request); }) {}

UserAnswer ScriptedResponder::respond(const UserRequest& request) {
    asked_.push_back(request);
    if (answers_.empty()) {
        // Unscripted: the safest answer, as if the user cancelled.
        return UserAnswer{request.kind == RequestKind::MessageBox ? IDCANCEL : 0, {}};
    }
    UserAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> ScriptedResponder::messages() const {
    std::vector<std::string> texts;
    for (const UserRequest& request : asked_)
        if (request.kind == RequestKind::MessageBox) texts.push_back(request.text);
    return texts;
}

} // namespace plaxet::testing
