#include "ui/about_box.h"

#include <string>

#include "runtime/text.h"
#include "win/controls.h"
#include "win/fonts.h"
#include "win/forms.h"
#include "win/process.h"
#include "ui/product_info.h"

namespace plaxet {
namespace {

enum AboutId : int {
    kProductLabel = 9901,
    kCreditLabel = 9903,
    kMailLink = 9904,
    kWebLink = 9905,
};
// Every control from this id on is a link.
constexpr int kFirstLink = kMailLink;
// Of each address the shell is handed at most this many characters.
constexpr int32_t kAddressLimit = 63;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
// Links report clicks and show "&" as it is.
constexpr DWORD kLinkStyle = SS_LEFT | SS_NOTIFY | SS_NOPREFIX;

void addLabels(HWND box) {
    const std::string credit =
        std::string("Version ") + PLAXET_VERSION + "\r\n" + PLAXET_CREDIT_LINE + "\r\n\r\n";
    const ControlDef labels[] = {
        {ControlKind::Label, kProductLabel, PLAXET_PRODUCT_NAME, 50, 10, 150, 20, kDefaultStyle, 0},
        {ControlKind::Label, kCreditLabel, credit, 50, 40, 180, 30, kDefaultStyle, 0},
        {ControlKind::Label, kMailLink, PLAXET_CONTACT_MAIL, 60, 80, 140, 12, kLinkStyle, 0},
        {ControlKind::Label, kWebLink, PLAXET_WEB_ADDRESS, 60, 95, 140, 12, kLinkStyle, 0},
    };
    ControlAddAll(box, labels);

    ControlSetFont(box, kProductLabel, FontNew("MS Sans Serif", 14));
    ControlSetColors(box, kProductLabel, kRed, kDefaultColor);
    ControlSetFont(box, kCreditLabel, FontNew("MS Sans Serif", 10));
    const int linkFont = FontNew("MS Sans Serif", 10, kFontUnderline);
    for (int link : {kMailLink, kWebLink}) {
        ControlSetFont(box, link, linkFont);
        ControlSetColors(box, link, kBlue, kDefaultColor);
    }
}

bool pointerOverLink(HWND box, HWND control) {
    return control != box && IsChild(box, control) && GetDlgCtrlID(control) >= kFirstLink;
}

void openLink(HWND box, int link) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const std::string address = Left(ControlGetText(box, link), kAddressLimit);
    if (link == kMailLink)
        ShellOpen("open", "mailto:" + address + "?", SW_SHOW);
    else
        ShellOpen("open", address, SW_SHOWMAXIMIZED);
}

intptr_t handleEvent(HWND box, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_SETCURSOR:
        if (!pointerOverLink(box, reinterpret_cast<HWND>(wParam))) return 0;
        SetCursor(LoadCursorW(GetModuleHandleW(nullptr), L"HAND"));
        SetWindowLongPtrW(box, DWLP_MSGRESULT, TRUE);
        return 1;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            FormEnd(box, LOWORD(wParam));
            return 1;
        case kMailLink:
        case kWebLink:
            openLink(box, LOWORD(wParam));
            return 1;
        default:
            return 0;
        }
    default:
        return 0;
    }
}

} // namespace

void showAbout(HWND owner) {
    FormLayout params;
    params.owner = owner;
    params.caption = std::string("About ") + PLAXET_PRODUCT_NAME;
    params.width = 220;
    params.height = 160;
    params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
    HWND box = FormNew(params);
    if (!box) return;
    addLabels(box);
    FormShowModal(box, handleEvent);
}

} // namespace plaxet
