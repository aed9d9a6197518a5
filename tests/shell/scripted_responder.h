#pragma once
// Answers the program's message boxes, file dialogs and document launches
// in a test: records what was asked and gives the answers queued by the test.
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "win/responder.h"

namespace plaxet::testing {

class ScriptedResponder {
  public:
    ScriptedResponder();

    void answerButton(int button) { answers_.push_back(UserAnswer{button, {}}); }
    void answerPath(std::string path) { answers_.push_back(UserAnswer{0, std::move(path)}); }
    // A started program or opened document: its exit code (or kNotStarted)
    // and the object that stands in for its process (null: none to wait on).
    void answerProgram(int exitCode, HANDLE process = nullptr) {
        answers_.push_back(UserAnswer{exitCode, {}, process});
    }

    const std::vector<UserRequest>& asked() const { return asked_; }
    // The text of every message box asked so far, in order.
    std::vector<std::string> messages() const;
    void forget() { asked_.clear(); }
    // Answers queued but never asked for.
    size_t unusedAnswers() const { return answers_.size(); }

  private:
    UserAnswer respond(const UserRequest& request);

    std::vector<UserRequest> asked_;
    std::deque<UserAnswer> answers_;
    ScopedResponder installed_;
};

} // namespace plaxet::testing
