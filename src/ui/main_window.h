#pragma once
// The main window: the whole form editor in one fixed-size window. The
// record below ties the window to the form it shows; the program's top
// level owns it (and the form records) for as long as the window lives.
#include <windows.h>

#include <string>

#include "form/data_folder.h"
#include "form/form_document.h"
#include "win/forms.h"
#include "win/handles.h"
#include "ui/help_window.h"

namespace plaxet {

// The item grid's scroll state, kept by the program rather than read back
// from the scroll bar; the minimum is always 1.
struct ItemScroll {
    int maximum = 1;
    int page = 1;
    int position = 1;
};

struct MainWindow {
    MainWindow(FormDocument& form, EditorState& editor) : form(form), editor(editor) {}

    FormDocument& form;
    EditorState& editor;
    // Where the data folder rule starts from, and how it finds the system's
    // folders (the real lookup in the program, a fake in tests).
    std::string programFolder;
    KnownFolderLookup knownFolders;
    // The argument text of the command line: a form file to open at start.
    std::string commandLine;

    HWND window = nullptr;
    DataFolders folders; // found during the initialisation
    UniqueMenu rowPopup; // the item cells' popup menu
    ItemScroll scroll;
    // The help viewer keeps its search between openings, for the whole run.
    HelpViewerState helpViewer;
    // Set by the first edit of an item cell; until then leaving a cell
    // leaves the rows as they are.
    bool itemCellEdited = false;
    // Set while the program itself writes into the item cells, so that their
    // change notices are not taken for typing.
    bool writingCells = false;
    // The total the amount box shows, from the screen's recalculation.
    double shownTotal = 0;
};

// Creates the window with all its controls, not yet shown and not yet
// initialised; null when the window cannot be made.
HWND createMainWindow(MainWindow& main);
// The window's event procedure (initialisation, commands, closing).
EventProcedure mainWindowProcedure(MainWindow& main);
// The whole run: creates, initialises and shows the window and returns once
// it has been closed.
void runMainWindow(MainWindow& main);

} // namespace plaxet
