#include "win/forms.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "runtime/wide.h"
#include "win/dpi.h"
#include "win/failure_barrier.h"
#include "win/fonts.h"
#include "win/form_record.h"
#include "win/form_rescale.h"

namespace plaxet {
namespace {

constexpr DWORD kDefaultFormStyle =
    WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | DS_NOFAILCREATE;
// The template names the default form font at this weight (its own weight
// is not zero), so dialog units are measured on the bold face.
constexpr WORD kTemplateFontWeight = FW_BOLD;
constexpr WORD kTemplateFontPoints = 8;
constexpr std::wstring_view kTemplateFontFace = L"MS Sans Serif";

// An extended dialog template with no controls, built in memory. WORD
// elements keep the DWORD alignment that the dialog manager requires.
std::vector<WORD> buildTemplate(DWORD style, DWORD extendedStyle, int width, int height) {
    std::vector<WORD> t;
    auto addDword = [&t](DWORD value) {
        t.push_back(LOWORD(value));
        t.push_back(HIWORD(value));
    };
    t.push_back(1);      // dlgVer
    t.push_back(0xFFFF); // signature: DLGTEMPLATEEX
    addDword(0);         // helpID
    addDword(extendedStyle);
    addDword(style);
    t.push_back(0); // no items
    t.push_back(0); // x and y: placed after creation
    t.push_back(0);
    t.push_back(static_cast<WORD>(width));
    t.push_back(static_cast<WORD>(height));
    t.push_back(0); // no menu
    t.push_back(0); // the standard dialog class
    t.push_back(0); // empty title: set afterwards as UTF-16
    t.push_back(kTemplateFontPoints);
    t.push_back(kTemplateFontWeight);
    t.push_back(MAKEWORD(0, 0)); // not italic, character set 0
    t.insert(t.end(), kTemplateFontFace.begin(), kTemplateFontFace.end());
    t.push_back(0);
    return t;
}

// The comctl32 classes (tree view, status bar) and, through the manifest,
// the version 6 edit control with cue banners exist only once comctl32 has
// been initialised in the process.
void initialiseCommonControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                          ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)done;
}

void releaseControls(FormRecord& record) {
    record.controls.clear();
}

intptr_t applyColors(ControlRecord& control, HDC dc, UINT message) {
    if (control.textColor == kDefaultColor && control.backgroundColor == kDefaultColor) return 0;
    if (control.textColor != kDefaultColor) SetTextColor(dc, control.textColor);
    if (control.backgroundColor == kTransparent) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<intptr_t>(GetStockObject(NULL_BRUSH));
    }
    if (control.backgroundColor == kDefaultColor) {
        const int systemColor = (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX)
                                    ? COLOR_WINDOW
                                    : COLOR_BTNFACE;
        SetBkColor(dc, GetSysColor(systemColor));
        return reinterpret_cast<intptr_t>(GetSysColorBrush(systemColor));
    }
    SetBkColor(dc, control.backgroundColor);
    if (!control.backgroundBrush)
        control.backgroundBrush.reset(CreateSolidBrush(control.backgroundColor));
    return reinterpret_cast<intptr_t>(control.backgroundBrush.get());
}

bool isColorMessage(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// What a form does with a message that neither a control's procedure nor
// the form's event procedure handled.
INT_PTR defaultHandling(FormRecord& record, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND form = record.window;
    if (isColorMessage(message)) {
        HWND asking = reinterpret_cast<HWND>(lParam);
        ControlRecord* control = asking == form ? &record.self : findControlRecord(record, asking);
        if (!control) return FALSE;
        return applyColors(*control, reinterpret_cast<HDC>(wParam), message);
    }
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
        FormEnd(form, 0);
        return TRUE;
    case WM_CLOSE:
        // The dialog manager would turn WM_CLOSE into the command IDCANCEL,
        // which a window may read as "close" and so loop. FormEnd's own
        // WM_CLOSE is only shown to the event procedure; one from elsewhere
        // takes the same way as the close box.
        if (!record.ending) PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        return TRUE;
    case WM_SIZE:
        if (record.statusBar) SendMessageW(record.statusBar, WM_SIZE, wParam, lParam);
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR dispatchFormMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // FormNew hands over the record here; from now on the window owns it
        // and WM_NCDESTROY frees it.
        auto* pending = reinterpret_cast<std::unique_ptr<FormRecord>*>(lParam);
        FormRecord* record = pending->release();
        record->window = window;
        record->self.window = window;
        record->self.id = kFormItself;
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(record));
        return FALSE; // there are no controls yet to put the focus in
    }
    FormRecord* record = findFormRecord(window);
    if (!record) return FALSE;
    // Moved to a monitor of another DPI: the toolkit lays every form out
    // again, whatever its event procedure does.
    if (message == WM_DPICHANGED) {
        rescaleForm(*record, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    }
    if (message == kGetDpiScaledSize) {
        if (!sizeAtDpi(*record, static_cast<int>(wParam), *reinterpret_cast<SIZE*>(lParam)))
            return FALSE;
        SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        std::unique_ptr<FormRecord> owned(record);
        SetWindowLongPtrW(window, DWLP_USER, 0);
        // A modal form destroyed without FormEnd must not leave its owner disabled.
        if (owned->modal && owned->owner) EnableWindow(owned->owner, TRUE);
        // A modal loop waiting in GetMessageW must wake to see that its form
        // is gone, also when a message sent from elsewhere destroyed it.
        if (owned->modal) PostMessageW(nullptr, WM_NULL, 0, 0);
        releaseControls(*owned);
        return FALSE;
    }

    // A control's own procedure sees its commands and scroll events first.
    const bool fromControl =
        (message == WM_COMMAND || message == WM_HSCROLL || message == WM_VSCROLL) && lParam != 0;
    if (fromControl) {
        ControlRecord* control = findControlRecord(*record, reinterpret_cast<HWND>(lParam));
        if (control && control->procedure) {
            // Copied: the procedure may destroy the control or the form.
            const EventProcedure procedure = control->procedure;
            if (const intptr_t result = procedure(window, message, wParam, lParam)) return result;
            record = findFormRecord(window);
            if (!record) return TRUE;
        }
    }
    if (record->procedure) {
        const EventProcedure procedure = record->procedure;
        if (const intptr_t result = procedure(window, message, wParam, lParam)) return result;
        record = findFormRecord(window);
        if (!record) return TRUE;
    }
    return defaultHandling(*record, message, wParam, lParam);
}

INT_PTR CALLBACK formDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Event procedures are the program's own code and may throw; the
    // dialog manager that calls this cannot pass an exception on.
    return guardWindowProcedure<INT_PTR>(
        FALSE, [&] { return dispatchFormMessage(window, message, wParam, lParam); });
}

RECT workArea() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void placeForm(HWND form, const FormLayout& params, FormRecord& record) {
    RECT window{};
    GetWindowRect(form, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    if (record.pixels) {
        const SIZE frame = frameSizeForClient(form, scaleToDpi(params.width, record.dpi),
                                              scaleToDpi(params.height, record.dpi), record.dpi);
        width = frame.cx;
        height = frame.cy;
    }
    int left = 0;
    int top = 0;
    if (params.x == kCentred || params.y == kCentred) {
        const RECT area = workArea();
        left = area.left + (area.right - area.left - width) / 2;
        top = area.top + (area.bottom - area.top - height) / 2;
    } else {
        RECT position{params.x, params.y, params.x, params.y};
        if (!record.pixels) {
            MapDialogRect(form, &position);
        } else if (params.owner) { // an offset in layout pixels, not a place on the screen
            position.left = scaleToDpi(params.x, record.dpi);
            position.top = scaleToDpi(params.y, record.dpi);
        }
        POINT origin{position.left, position.top};
        if (params.owner) ClientToScreen(params.owner, &origin);
        left = origin.x;
        top = origin.y;
    }
    SetWindowPos(form, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (record.pixels)
        fitClientSize(form, scaleToDpi(params.width, record.dpi),
                      scaleToDpi(params.height, record.dpi));
}

void deliverStartEvents(HWND form, const EventProcedure& procedure) {
    if (!procedure) return;
    procedure(form, WM_INITDIALOG, 0, 0);
    if (!IsWindow(form)) return;
    RECT client{};
    GetClientRect(form, &client);
    procedure(form, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

// A key or mouse message (the wheel goes to the focus) for a control of a
// window that takes no input now, such as a window held by a wait.
bool isForDisabledWindow(const MSG& message) {
    const bool input = (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
                       (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST);
    if (!input || !message.hwnd) return false;
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    return top && !IsWindowEnabled(top);
}

enum class Next { Message, Signalled, Failed };

// Takes the next message, sleeping until one comes; with `object`, until
// that is signalled (or cannot be waited on). A form with an owner tells it
// once that the queue ran dry (it may post work of its own in reply) before
// the thread sleeps.
Next nextMessage(MSG& message, HANDLE object, HWND form, HWND owner, bool& idleTold) {
    for (;;) {
        if (object) {
            const DWORD woken =
                MsgWaitForMultipleObjectsEx(1, &object, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (woken != WAIT_OBJECT_0 + 1) return Next::Signalled;
        }
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) break;
        if (object) continue;
        if (owner && !idleTold) {
            idleTold = true;
            SendMessageW(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(form));
            continue;
        }
        if (GetMessageW(&message, nullptr, 0, 0) == -1) return Next::Failed;
        break;
    }
    idleTold = false;
    return Next::Message;
}

} // namespace

LoopEnd RunMessageLoop(HWND form, HANDLE object) {
    const FormRecord* record = findFormRecord(form);
    HWND owner = record ? record->owner : nullptr;
    MSG message{};
    bool idleTold = false;
    std::optional<WPARAM> quit; // a WM_QUIT taken from the queue, for the loop around this one
    LoopEnd end = LoopEnd::FormGone;
    while (!form || IsWindow(form)) {
        const Next next = nextMessage(message, object, form, owner, idleTold);
        if (next == Next::Failed) return end;
        if (next == Next::Signalled) {
            end = LoopEnd::Signalled;
            break;
        }
        if (message.message == WM_QUIT) {
            quit = message.wParam;
            if (object || !form) {
                end = LoopEnd::Quit;
                break;
            }
            // A form's loop ends only when its form is gone: a request to
            // quit closes the form the way its close box does, so the form
            // may ask its questions first (and a refusal keeps it, and the
            // program, running).
            PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
            continue;
        }
        const bool closeAsked = quit && message.hwnd == form && message.message == WM_SYSCOMMAND &&
                                (message.wParam & 0xFFF0) == SC_CLOSE;
        // The windows that stay usable keep their keys; a disabled one gets none.
        if (isForDisabledWindow(message)) continue;
        HWND active = GetActiveWindow();
        const bool offered = active && IsWindowEnabled(active) && FormOfferMessage(active, message);
        if (!offered) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // The form stayed (its user cancelled the closing): the request is withdrawn.
        if (closeAsked && IsWindow(form)) quit.reset();
    }
    // The loop around this one hears of the request to quit too.
    if (quit) PostQuitMessage(static_cast<int>(*quit));
    return end;
}

FormRecord* findFormRecord(HWND form) {
    if (!form || !IsWindow(form)) return nullptr;
    // Only windows made by FormNew run our dialog procedure; anything else
    // may keep its own data in the same slot.
    if (GetWindowLongPtrW(form, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(formDialogProcedure))
        return nullptr;
    return reinterpret_cast<FormRecord*>(GetWindowLongPtrW(form, DWLP_USER));
}

ControlRecord* findControlRecord(FormRecord& form, HWND control) {
    for (const auto& record : form.controls)
        if (record->window == control) return record.get();
    return nullptr;
}

FormLayout modalDialogLayout(HWND owner, std::string caption, int width, int height) {
    FormLayout params;
    params.owner = owner;
    params.caption = std::move(caption);
    params.width = width;
    params.height = height;
    params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
    params.pixels = true;
    return params;
}

HWND FormNew(const FormLayout& params) {
    initialiseCommonControls();
    DWORD style = params.style.value_or(kDefaultFormStyle);
    style &= ~static_cast<DWORD>(WS_VISIBLE | DS_SYSMODAL);
    style |= DS_SETFONT; // every form carries the default form font
    auto record = std::make_unique<FormRecord>();
    record->owner = params.owner;
    record->pixels = params.pixels;
    const int templateWidth = params.pixels ? 0 : params.width;
    const int templateHeight = params.pixels ? 0 : params.height;
    const std::vector<WORD> dialog =
        buildTemplate(style, params.extendedStyle, templateWidth, templateHeight);
    HWND form = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialog.data()), params.owner,
        formDialogProcedure, reinterpret_cast<LPARAM>(&record));
    if (!form) return nullptr;
    SetWindowTextW(form, toWide(params.caption).c_str());
    keepDialogScalingToProgram(form);
    if (FormRecord* created = findFormRecord(form)) {
        created->dpi = windowDpi(form);
        placeForm(form, params, *created);
    }
    return form;
}

intptr_t FormShowModal(HWND form, EventProcedure procedure) {
    FormRecord* record = findFormRecord(form);
    if (!record) return 0;
    intptr_t result = 0;
    record->modal = true;
    record->resultSink = &result;
    deliverStartEvents(form, procedure);
    record = findFormRecord(form);
    if (!record) return result;
    record->procedure = std::move(procedure);
    HWND owner = record->owner;
    SetForegroundWindow(form);
    if (owner) {
        SendMessageW(owner, WM_CANCELMODE, 0, 0);
        EnableWindow(owner, FALSE);
    }
    ShowWindow(form, SW_SHOW);
    RunMessageLoop(form);
    if (owner) {
        EnableWindow(owner, TRUE);
        SetFocus(owner);
    }
    return result;
}

void FormShowModeless(HWND form, EventProcedure procedure) {
    if (!findFormRecord(form)) return;
    deliverStartEvents(form, procedure);
    FormRecord* record = findFormRecord(form);
    if (!record) return;
    record->procedure = std::move(procedure);
    ShowWindow(form, SW_SHOW);
}

void FormEnd(HWND form, intptr_t result) {
    FormRecord* record = findFormRecord(form);
    if (!record || record->ending) return;
    record->ending = true;
    if (record->resultSink) *record->resultSink = result;
    SendMessageW(form, WM_CLOSE, 0, 0);
    record = findFormRecord(form);
    if (!record) return;
    // Re-enabled before the form goes, so that the system activates the
    // owner next rather than some other program's window.
    if (record->owner) EnableWindow(record->owner, TRUE);
    record->accelerators.reset();
    DestroyWindow(form);
}

bool FormOfferMessage(HWND form, MSG& message) {
    FormRecord* record = findFormRecord(form);
    if (!record) return false;
    if (record->accelerators &&
        TranslateAcceleratorW(form, record->accelerators.get(), &message) != 0)
        return true;
    return IsDialogMessageW(form, &message) != FALSE;
}

void FormSetClientSize(HWND form, int width, int height) {
    const FormRecord* record = findFormRecord(form);
    if (!record) return;
    const SIZE wanted = frameSizeForClient(form, scaleToDpi(width, record->dpi),
                                           scaleToDpi(height, record->dpi), record->dpi);
    RECT now{};
    GetWindowRect(form, &now);
    const int newWidth = wanted.cx;
    const int newHeight = wanted.cy;
    const int left = now.left + (now.right - now.left - newWidth) / 2;
    const int top = now.top + (now.bottom - now.top - newHeight) / 2;
    SetWindowPos(form, nullptr, left, top, newWidth, newHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    fitClientSize(form, scaleToDpi(width, record->dpi), scaleToDpi(height, record->dpi));
}

int FormDpi(HWND window) {
    if (const FormRecord* record = findFormRecord(window)) return record->dpi;
    return windowDpi(window);
}

int FormScale(HWND window, int value) {
    return scaleToDpi(value, FormDpi(window));
}

int FormUnscale(HWND window, int value) {
    return scaleFromDpi(value, FormDpi(window));
}

SIZE FormClientSize(HWND form) {
    RECT client{};
    GetClientRect(form, &client);
    return {FormUnscale(form, client.right), FormUnscale(form, client.bottom)};
}

void AcceleratorsSet(HWND form, const std::vector<ACCEL>& entries) {
    FormRecord* record = findFormRecord(form);
    if (!record) return;
    std::vector<ACCEL> table = entries; // the API takes a non-const pointer
    record->accelerators.reset(
        table.empty() ? nullptr
                      : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
}

} // namespace plaxet
