#pragma once
// The commands that turn the form into its two documents and hand them to
// the user: Create Files, Show File, Copy File and the choice of file type.
#include <cstdint>
#include <functional>
#include <string>

#include "ui/main_window_state.h"

namespace plaxet {

// Whether the command left the buttons' look alone: a refused form and a
// viewer that was started keep whatever look the buttons have.
enum class CommandEnd { Finished, Refused, ViewerStarted };

// Checks the form and the business details, fills the due date, saves the
// form (Save As for a form without a file), numbers it when its form type
// is numbered (asking before a number printed on another form is used
// again) and saves that too, writes the RTF, HTML and PDF documents beside
// the form file (the PDF on the paper the user's locale names), says where
// they are and then shows the chosen one.
CommandEnd createFiles(MainWindow& main);

// Shows the chosen document (below), or says that it was not created.
CommandEnd showFile(MainWindow& main);

// Shows a document of an output kind: in the kind's fixed viewer when
// `programExists` finds it, otherwise (and always for a PDF) in the program
// the system associates with the document's type. Waits for a program it started, with `window`
// painting but disabled; a program that was already running and took the
// document is not waited for. When nothing can show the document the user
// is told, and the command ends Finished.
CommandEnd showDocument(HWND window, DocumentKind kind, const std::string& document,
                        const std::function<bool(const std::string&)>& programExists);

// Puts the chosen document's path on the clipboard, for an e-mail's
// attachment dialog. Does nothing when that document does not exist.
void copyFilePath(MainWindow& main);

// The output kind from the "HTM file", "PDF file" and "XML file" buttons; Show File and Copy File
// are offered only while the document of that kind exists.
void chooseOutputKind(MainWindow& main);

// The program that shows a document of an output kind: the first of its
// fixed paths that exists, or empty with the message naming the missing one.
struct Viewer {
    std::string path;
    std::string missingMessage;
};
Viewer findViewer(DocumentKind kind, const std::function<bool(const std::string&)>& exists);

// The viewer's command line: its path and the document, each quoted.
std::string viewerCommandLine(const std::string& viewer, const std::string& document);

} // namespace plaxet
