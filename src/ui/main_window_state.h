#pragma once
// Everything the main window keeps beside the form it shows: the records it
// edits, its window, the item grid's model, the chosen document kind and the
// help viewer's state. Every command of the window works on this one record;
// the program's top level owns it (and the form records) for as long as the
// window lives.
#include <windows.h>

#include <cstdint>
#include <string>

#include "form/data_folder.h"
#include "form/form_document.h"
#include "form/item_grid.h"
#include "output/document_kinds.h"
#include "output/document_settings.h"
#include "ui/control_ids.h"
#include "ui/help_window.h"
#include "win/handles.h"

namespace plaxet {

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

    // The item grid: which items its rows show, its scroll state and the rest
    // of what its rules keep.
    ItemGrid grid;
    // Which created document Show File and Copy File act on.
    DocumentKind outputKind = DocumentKind::Rtf;
    // What the documents depend on beyond the form (the paper, the code
    // page, the fonts), set where the program starts.
    DocumentSettings documentSettings;
    // Why business.json (its details are in documentSettings.business) could
    // not be read; empty when it was read or is not there. While it is set,
    // nothing is numbered and the file is never written over.
    std::string businessFileError;

    // The help viewer keeps its search between openings, for the whole run.
    HelpViewerState helpViewer;
    // Set while the program itself writes into a box or a cell (showing the
    // form, the rows, the total), so that their change notices are not taken
    // for typing.
    bool writingBoxes = false;
};

// Raises a flag for as long as it lives and gives it back its value on every
// way out, a throw included, so that a failure never leaves the window taking
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
