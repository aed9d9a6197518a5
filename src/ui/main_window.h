#pragma once
// The main window: the whole form editor in one fixed-size window. The
// record below ties the window to the form it shows; the program's top
// level owns it (and the form records) for as long as the window lives.
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "form/data_folder.h"
#include "form/form_document.h"
#include "win/forms.h"
#include "win/handles.h"
#include "ui/control_ids.h"
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
    // Per visible row: its description cell shows a computed row's label
    // pushed right by the program, not typed into since. Leaving such a row
    // does not count it or skip its cost cell again; a scroll shows the labels
    // anew, so they count as not yet aligned.
    std::array<bool, kVisibleRows> labelAligned{};
    // The total the amount box shows, from the screen's recalculation.
    double shownTotal = 0;
    // Tests only: run at the start of every row refresh, to make one fail.
    std::function<void()> rowRefreshStarting;
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
