#include "ui/main_window.h"

#include "form/business_details.h"
#include "form/sender_file.h"
#include "runtime/file.h"
#include "ui/commands.h"
#include "ui/control_ids.h"
#include "ui/file_commands.h"
#include "ui/item_cells.h"
#include "ui/item_rows.h"
#include "ui/item_scroll.h"
#include "ui/main_menus.h"
#include "ui/main_window_layout.h"
#include "win/controls.h"
#include "win/menus.h"

namespace plaxet {
namespace {

constexpr DWORD kMainWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_3DLOOK;

void findDataAndSender(MainWindow& main) {
    main.folders = findDataFolders(main.programFolder, main.knownFolders);
    if (fileExists(main.folders.senderFilePath))
        loadSenderLines(main.form, main.folders.senderFilePath);
    // Business details are optional: without the file nothing is numbered.
    // A damaged one is not read over; Create Files says what is wrong with it.
    const BusinessFileResult business =
        loadBusinessDetails(main.folders.businessFilePath, main.documentSettings.business);
    main.businessFileError = business.ok || business.missing ? std::string() : business.error;
}

// The initialisation, before the window is shown. The event procedure is
// not yet registered for notifications, so filling the boxes here raises no
// change events and the form starts unchanged.
void initialise(MainWindow& main, HWND window) {
    main.window = window;
    main.grid.topItem = 1;
    main.editor.changed = false;

    MenuAttach(window, buildMainMenuBar());
    // The menu bar took its height from the client area; give it back.
    FormSetClientSize(window, kMainClientWidth, kMainClientHeight);
    main.rowPopup = buildRowPopupMenu();

    findDataAndSender(main);
    openFormAtStart(main);

    OptionSelect(window, kRtfButton, kHtmButton, kRtfButton);
    main.outputKind = DocumentKind::Rtf;
    ControlEnable(window, kShowFileButton, false);
    ControlEnable(window, kCopyFileButton, false);
    ControlSetFocus(window, kNameBox);
    attachItemCells(main);
}

intptr_t handleEvent(MainWindow& main, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initialise(main, window);
        return 1;
    case WM_COMMAND:
        // A box's notices of the program's own writing into it (showing the
        // form, the rows, the total) are no command, and leave the buttons be.
        if (main.writingBoxes) return 1;
        return runCommand(main, LOWORD(wParam), HIWORD(wParam)) ? 1 : 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) return 0;
        confirmClose(main);
        return 1;
    case WM_QUERYENDSESSION:
        // A dialog's answer to the system goes in its message result.
        SetWindowLongPtrW(window, DWLP_MSGRESULT, allowSessionEnd(main) ? TRUE : FALSE);
        return 1;
    case WM_ENDSESSION:
        if (wParam) endSession(main);
        return 1;
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lParam) != ControlWindow(window, kItemScrollBar)) return 0;
        scrollItems(main, LOWORD(wParam), HIWORD(wParam));
        return 1;
    case WM_MOUSEWHEEL:
        scrollItemsByWheel(main, GET_WHEEL_DELTA_WPARAM(wParam));
        return 1;
    case kReturnToDateBox:
        returnToDateBox(main);
        return 1;
    case kSkipComputedCost:
        skipComputedCost(main, static_cast<int>(wParam));
        return 1;
    default:
        return 0;
    }
}

} // namespace

HWND createMainWindow(MainWindow& main) {
    FormLayout params;
    params.caption = "Plaxet";
    params.width = kMainClientWidth;
    params.height = kMainClientHeight;
    params.style = kMainWindowStyle;
    params.pixels = true;
    HWND window = FormNew(params);
    if (!window) return nullptr;
    const std::vector<ControlDef> layout = mainWindowLayout();
    ControlAddAll(window, layout);
    FormSetIcon(window, MAKEINTRESOURCEW(1), true);
    main.window = window;
    return window;
}

EventProcedure mainWindowProcedure(MainWindow& main) {
    return [&main](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return handleEvent(main, window, message, wParam, lParam);
    };
}

void runMainWindow(MainWindow& main) {
    HWND window = createMainWindow(main);
    if (!window) return;
    FormShowModal(window, mainWindowProcedure(main));
}

} // namespace plaxet
