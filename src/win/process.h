#pragma once
// The program itself and the programs and documents it starts.
#include "runtime/win32_owners.h" // ComApartment, which the document openers need

#include <windows.h>

#include <string>
#include <string_view>

namespace plaxet {

// Starts a program with a show state (SW_...); the command line quotes
// every path in it, the program's own first. With `wait` returns the
// program's exit code once it has ended: meanwhile the thread's windows go
// on painting and answering the system, and `held` (when given) is disabled
// so that no input reaches it. Without `wait` returns 0 at once.
// kNotStarted (responder.h) when the program could not be started. Goes
// through the responder seam so tests see the command line.
long Shell(std::string_view commandLine, int showState, bool wait, HWND held = nullptr);

enum class DocumentOpening {
    Waited,    // a program was started on it and has ended
    HandedOn,  // a program already running took it: there is nothing to wait for
    NoProgram, // nothing on this system opens documents of its type
};

// Opens a document with the program the system associates with its type
// (the "open" verb) and, when that started a process, waits for it as Shell
// does, with `held` disabled. Through the responder seam.
DocumentOpening OpenDocumentAndWait(std::string_view document, int showCommand, HWND held);

// Waits until `object` is signalled in the program's message loop
// (RunMessageLoop), with `held` (when given) disabled meanwhile and brought
// back to the front afterwards. False when a WM_QUIT ended the wait early; it is posted again
// for the loop around the caller.
bool WaitKeepingWindows(HANDLE object, HWND held);

// Hands a document or address to the desktop shell with a verb ("open"),
// no parameters, no working folder and no owner window. Goes through the
// responder seam (responder.h) so tests see what would be opened.
void ShellOpen(std::string_view verb, std::string_view target, int showCommand);

// The command line after the program's own name and the blanks following it.
std::string commandLineArguments();
// The same cut of any command line: a quoted program name ends at its
// closing quote, a bare one at the first blank.
std::string argumentsAfterProgramName(std::string_view commandLine);

} // namespace plaxet
