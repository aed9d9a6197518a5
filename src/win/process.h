#pragma once
// The program itself and the programs and documents it starts.
#include <windows.h>

#include <string>
#include <string_view>

namespace plaxet {

// Starts a program with a show state (SW_...). With `wait` blocks, handling
// no window messages, until it ends and returns its exit code; otherwise
// returns 0 at once. -1 when the program could not be started. Goes through
// the responder seam (responder.h) so tests see the command line.
long Shell(std::string_view commandLine, int showState, bool wait);

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
