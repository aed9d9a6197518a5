#include "win/responder.h"

#include <utility>

namespace plaxet {
namespace {

// Process-wide by nature: every message box of the program passes here, from
// whatever window asks.
Responder& installed() {
    static Responder responder;
    return responder;
}

} // namespace

ScopedResponder::ScopedResponder(Responder responder) {
    installed() = std::move(responder);
}

ScopedResponder::~ScopedResponder() {
    installed() = nullptr;
}

std::optional<UserAnswer> answerFromResponder(const UserRequest& request) {
    // Copied, so a responder may replace itself while it answers.
    const Responder responder = installed();
    if (!responder) return std::nullopt;
    return responder(request);
}

} // namespace plaxet
