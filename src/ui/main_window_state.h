#pragma once
// Everything the main window keeps beside the form it shows: the records it
// edits, its window, the item grid's place and scroll state, the chosen
// document kind and the help viewer's state. Every command of the window
// works on this one record; the program's top level owns it (and the form
// records) for as long as the window lives.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "form/data_folder.h"
#include "form/form_document.h"
#include "win/handles.h"
#include "ui/control_ids.h"
#include "ui/help_window.h"

namespace plaxet {

// Which created document Show File and Copy File act on.
enum OutputKind : int32_t { kOutputRtf = 1, kOutputHtml = 2, kOutputPdf = 3 };

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

    // The item shown in the grid's first row; row r shows item topItem + r - 1.
    int32_t topItem = 1;
    ItemScroll scroll;
    // The item a row command acts on.
    int32_t currentItem = 1;
    int32_t outputKind = kOutputRtf;

    // The help viewer keeps its search between openings, for the whole run.
    HelpViewerState helpViewer;
    // Set by the first edit of an item cell; until then leaving a cell
    // leaves the rows as they are.
    bool itemCellEdited = false;
    // Set while the program itself writes into the item cells (a refresh or
    // a scroll), so that their change notices are not taken for typing.
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

// The item that row 1..12 shows.
inline int32_t itemOfRow(const MainWindow& main, int row) {
    return main.topItem + row - 1;
}

// Raises a flag for as long as it lives and gives it back its value on every
// way out, a throw included, so that a failure never leaves the grid taking
// every edit for the program's own writing.
class RaisedFlag {
  public:
    explicit RaisedFlag(bool& flag) : flag_(flag), before_(flag) { flag = true; }
    ~RaisedFlag() { flag_ = before_; }
    RaisedFlag(const RaisedFlag&) = delete;
    RaisedFlag& operator=(const RaisedFlag&) = delete;

  private:
    bool& flag_;
    bool before_;
};

} // namespace plaxet
