#pragma once
// The help viewer: a resizable top-level window with the topic outline on
// the left, a caption line and a read-only text pane on the right, a bar
// between them that can be dragged, and a two-part status line. The
// outline's selection decides what the pane shows; Find, Next and Prev
// search the topic bodies.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "help/help_file.h"
#include "win/controls.h"
#include "win/handles.h"

namespace plaxet {

enum HelpWindowId : int {
    kHelpOutline = 101,
    kHelpCaption = 102,
    kHelpPane = 103,
    kHelpSplitter = 104,
    kHelpStatusBar = 105,

    kHelpFindCommand = 121,
    kHelpNextCommand = 122,
    kHelpPrevCommand = 123,
    kHelpPrintCommand = 124,
    kHelpExpandTopicCommand = 125,
    kHelpCollapseTopicCommand = 126,
    kHelpExpandAllCommand = 127,
    kHelpCollapseAllCommand = 128,
    kHelpMenuKey = 130,  // F1: the full menu
    kHelpCloseKey = 131, // Esc
};

// Where the controls were when a drag of the bar between outline and pane
// began; the drag moves them all by the pointer's distance from the bar.
struct SplitterDrag {
    bool active = false;
    ControlBounds outline;
    ControlBounds pane;
    int splitterLeft = 0;
};

// The help viewer's state. It outlives the window: reopening the viewer
// reloads the topics and remakes the controls but keeps the search fields.
struct HelpViewerState {
    std::string helpFilePath;
    HelpTopics topics;
    std::vector<HTREEITEM> outlineEntries; // entry of topic t at index t - 1

    HWND window = nullptr;
    HTREEITEM selectedEntry = nullptr; // the entry last shown
    int32_t shownTopic = 0;            // topic number of selectedEntry
    int32_t paneWrapMode = kWrapWords;

    int32_t searchTopic = 0;
    std::string searchText; // trimmed and lower-cased
    int32_t lastMatchPos = 0;

    SplitterDrag splitterDrag;
    UniqueMenu helpMenu; // the outline's menu, also opened by F1
    UniqueMenu paneMenu; // the text pane's menu
};

// Opens the viewer on the help file without waiting: the window has no
// owner and is placed 100 pixels right of and 80 below the caller's corner;
// an empty title becomes "Application Help". A missing, empty or damaged file
// is reported in a message box and no window stays open (null). While a
// viewer is open, a second call brings it to the front instead. The viewer
// is modeless: the program's one message loop (the main window's) runs it
// beside the caller, keys going to whichever of them is active, until the
// viewer is closed or the program ends.
HWND openHelpWindow(HelpViewerState& state, const std::string& helpFilePath,
                    const std::string& title, HWND caller);

} // namespace plaxet
