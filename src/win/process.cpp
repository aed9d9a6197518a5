#include "win/process.h"

#include <shellapi.h>

#include <vector>

#include "win/handles.h"
#include "win/responder.h"
#include "runtime/wide.h"

namespace plaxet {

long Shell(std::string_view commandLine, int showState, bool wait) {
    UserRequest request;
    request.kind = RequestKind::StartProgram;
    request.text = std::string(commandLine);
    request.style = static_cast<unsigned>(showState);
    if (const auto answer = answerFromResponder(request)) return wait ? answer->button : 0;
    // CreateProcessW may write into the command line buffer.
    std::wstring command = toWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &started))
        return -1;
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    if (!wait) return 0;
    WaitForSingleObject(process.get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.get(), &exitCode);
    return static_cast<long>(exitCode);
}

void ShellOpen(std::string_view verb, std::string_view target, int showCommand) {
    UserRequest request;
    request.kind = RequestKind::OpenDocument;
    request.verb = std::string(verb);
    request.text = std::string(target);
    request.style = static_cast<unsigned>(showCommand);
    if (answerFromResponder(request)) return;
    // The outcome is not examined: a missing mail program or browser simply
    // opens nothing.
    ShellExecuteW(nullptr, toWide(verb).c_str(), toWide(target).c_str(), nullptr, nullptr,
                  showCommand);
}

std::string argumentsAfterProgramName(std::string_view line) {
    size_t at = 0;
    if (!line.empty() && line[0] == '"') {
        const size_t closing = line.find('"', 1);
        at = closing == std::string_view::npos ? line.size() : closing + 1;
    } else {
        while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
    }
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    return std::string(line.substr(at));
}

std::string commandLineArguments() {
    return argumentsAfterProgramName(fromWide(GetCommandLineW()));
}

} // namespace plaxet
