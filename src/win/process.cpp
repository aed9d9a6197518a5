#include "win/process.h"

#include <objbase.h>
#include <shellapi.h>

#include <vector>

#include "win/forms.h"
#include "win/handles.h"
#include "win/responder.h"
#include "runtime/wide.h"

namespace plaxet {

bool WaitKeepingWindows(HANDLE object, HWND held) {
    // EnableWindow answers whether the window was disabled before.
    const bool wasEnabled = held && !EnableWindow(held, FALSE);
    const bool quit = RunMessageLoop(nullptr, object) == LoopEnd::Quit;
    if (wasEnabled && IsWindow(held)) {
        EnableWindow(held, TRUE);
        SetForegroundWindow(held);
    }
    return !quit;
}

long Shell(std::string_view commandLine, int showState, bool wait, HWND held) {
    UserRequest request;
    request.kind = RequestKind::StartProgram;
    request.text = std::string(commandLine);
    request.style = static_cast<unsigned>(showState);
    request.owner = held;
    if (const auto answer = answerFromResponder(request)) {
        if (answer->button == kNotStarted) return kNotStarted;
        if (!wait) return 0;
        if (answer->process) WaitKeepingWindows(static_cast<HANDLE>(answer->process), held);
        return answer->button;
    }
    // CreateProcessW may write into the command line buffer.
    std::wstring command = toWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &started))
        return kNotStarted;
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    if (!wait) return 0;
    if (!WaitKeepingWindows(process.get(), held)) return 0; // the program is ending
    DWORD exitCode = 0;
    GetExitCodeProcess(process.get(), &exitCode);
    return static_cast<long>(exitCode);
}

DocumentOpening OpenDocumentAndWait(std::string_view document, int showCommand, HWND held) {
    UserRequest request;
    request.kind = RequestKind::OpenDocument;
    request.verb = "open";
    request.text = std::string(document);
    request.style = static_cast<unsigned>(showCommand);
    request.owner = held;
    if (const auto answer = answerFromResponder(request)) {
        if (answer->button == kNotStarted) return DocumentOpening::NoProgram;
        if (!answer->process) return DocumentOpening::HandedOn;
        WaitKeepingWindows(static_cast<HANDLE>(answer->process), held);
        return DocumentOpening::Waited;
    }
    const std::wstring file = toWide(document);
    SHELLEXECUTEINFOW opening{};
    opening.cbSize = sizeof(opening);
    // No "open with" question when nothing is associated: the caller says so
    // itself. The process handle, when there is one, is the caller's to wait on.
    opening.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    opening.hwnd = held;
    opening.lpVerb = L"open";
    opening.lpFile = file.c_str();
    opening.nShow = showCommand;
    if (!ShellExecuteExW(&opening)) return DocumentOpening::NoProgram;
    if (!opening.hProcess) return DocumentOpening::HandedOn;
    UniqueKernelHandle process(opening.hProcess);
    WaitKeepingWindows(process.get(), held);
    return DocumentOpening::Waited;
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
