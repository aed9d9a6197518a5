#include "ui/main_window_layout.h"

#include <windows.h>

#include <array>

#include "form/form_document.h"
#include "ui/control_ids.h"

namespace plaxet {
namespace {

using enum ControlKind;

constexpr DWORD kTab = WS_TABSTOP;
constexpr DWORD kEdge = WS_EX_CLIENTEDGE;
constexpr DWORD kPlain = 0;
// Column headings are read-only boxes with a thin border, text centred.
constexpr DWORD kHeading = ES_READONLY | ES_CENTER | WS_BORDER;
// The grid's rules and frame: filled black rectangles one pixel thick.
constexpr DWORD kLine = SS_BLACKRECT;

// The controls above the grid. Boxes without ES_AUTOHSCROLL accept only as
// much text as fits their width.
constexpr std::array kHead = {
    ControlDef{Label, kNameLabel, "Name:", 15, 30, 75, 16, kDefaultStyle, kPlain},
    ControlDef{Label, kAddressLabel, "Address:", 15, 60, 75, 16, kDefaultStyle, kPlain},
    ControlDef{Label, kCityLabel, "City, State Zip:", 15, 90, 75, 16, kDefaultStyle, kPlain},
    ControlDef{Label, kPhoneLabel, "Phone:", 15, 120, 75, 16, kDefaultStyle, kPlain},
    ControlDef{GroupBox, kAddresseeGroup, "Addressee:", 10, 10, 425, 140, kDefaultStyle, kPlain},
    // Beside the addressee, one under another: the form type, the form's
    // date, number and due date.
    ControlDef{OptionButton, kInvoiceButton, "Invoice", 462, 25, 70, 15, WS_GROUP | kTab, kPlain},
    ControlDef{OptionButton, kReceiptButton, "Receipt", 462, 42, 70, 15, kTab, kPlain},
    ControlDef{OptionButton, kEstimateButton, "Estimate", 462, 59, 70, 15, kTab, kPlain},
    ControlDef{GroupBox, kNoId, "Form", 450, 8, 100, 74, kDefaultStyle, kPlain},
    ControlDef{Label, kNoId, "Date:", 450, 92, 32, 15, kDefaultStyle, kPlain},
    ControlDef{TextBox, kDateBox, "", 482, 89, 70, 20, ES_AUTOHSCROLL | kTab, kEdge},
    ControlDef{TextBox, kNameBox, "", 87, 30, 335, 20, kTab, kEdge},
    ControlDef{TextBox, kAddressBox, "", 87, 60, 335, 20, kTab, kEdge},
    ControlDef{TextBox, kCityBox, "", 87, 90, 335, 20, kTab, kEdge},
    ControlDef{TextBox, kPhoneBox, "", 87, 120, 245, 20, kTab, kEdge},
    // The customer's details beyond the four lines, in a dialog of their own.
    ControlDef{PushButton, kBuyerDetailsButton, "Details...", 342, 119, 80, 22, kTab, kPlain},
    // Under the date, but after the addressee in the tab order: the date
    // keeps its place just before the Name box, and the number and due date
    // lead on to the items.
    ControlDef{Label, kNoId, "No.:", 450, 116, 32, 15, kDefaultStyle, kPlain},
    ControlDef{TextBox, kNumberBox, "", 482, 113, 70, 20, ES_AUTOHSCROLL | kTab, kEdge},
    ControlDef{Label, kNoId, "Due:", 450, 140, 32, 15, kDefaultStyle, kPlain},
    ControlDef{TextBox, kDueDateBox, "", 482, 137, 70, 20, ES_AUTOHSCROLL | kTab, kEdge},
    ControlDef{TextBox, kDateColumn, "Date", 10, 170, 77, 20, kHeading, kPlain},
    ControlDef{TextBox, kDescriptionColumn, "Description", 87, 170, 365, 20, kHeading, kPlain},
    ControlDef{TextBox, kCostColumn, "Cost", 452, 170, 87, 20, kHeading, kPlain},
};

// The controls below the grid's rows.
constexpr std::array kTail = {
    ControlDef{Label, kNoId, "", 10, 430, 528, 1, kLine, kPlain},  // bottom edge of the grid
    ControlDef{Label, kNoId, "", 452, 450, 86, 1, kLine, kPlain},  // under the amount box
    ControlDef{Label, kNoId, "", 10, 190, 1, 240, kLine, kPlain},  // left edge
    ControlDef{Label, kNoId, "", 87, 190, 1, 240, kLine, kPlain},  // date / description
    ControlDef{Label, kNoId, "", 452, 190, 1, 260, kLine, kPlain}, // description / cost
    ControlDef{Label, kNoId, "", 538, 190, 1, 260, kLine, kPlain}, // right edge
    // Invisible (no size): catches the focus when Tab leaves row 12, and
    // says so (BS_NOTIFY) so the grid can move on.
    ControlDef{PushButton, kDummyButton, "Dummy", 0, 0, 0, 0, kTab | BS_NOTIFY, kPlain},
    ControlDef{Label, kAmountLabel, "Amount due:", 360, 432, 88, 20, SS_RIGHT, kPlain},
    ControlDef{TextBox, kAmountBox, "", 454, 431, 80, 18, ES_READONLY, kPlain},
    ControlDef{ScrollBar, kItemScrollBar, "", 539, 170, 20, 260, SBS_VERT, kPlain},
    ControlDef{Label, kNoId, "Notes and comments:", 10, 450, 120, 16, kDefaultStyle, kPlain},
    ControlDef{TextBox, kNotesBox, "", 10, 470, 540, 75, ES_MULTILINE | ES_WANTRETURN | kTab,
               kEdge},
    ControlDef{PushButton, kSenderButton, "&Sender", 20, 560, 85, 35, kTab, kPlain},
    ControlDef{PushButton, kCreateFilesButton, "Create Files", 105, 560, 85, 35, kTab, kPlain},
    ControlDef{OptionButton, kRtfButton, "RTF file", 290, 565, 70, 12, WS_GROUP | kTab, kPlain},
    ControlDef{OptionButton, kHtmButton, "HTM file", 290, 580, 70, 12, kTab, kPlain},
    ControlDef{OptionButton, kPdfButton, "PDF file", 290, 595, 70, 12, kTab, kPlain},
    ControlDef{OptionButton, kXmlButton, "XML file", 290, 610, 70, 12, kTab, kPlain},
    ControlDef{GroupBox, kNoId, "File type", 275, 550, 90, 80, kDefaultStyle, kPlain},
    ControlDef{PushButton, kShowFileButton, "Show File", 370, 560, 85, 35, kTab, kPlain},
    ControlDef{PushButton, kCopyFileButton, "Copy File", 455, 560, 85, 35, kTab, kPlain},
};

constexpr int kRowHeight = 20;

} // namespace

std::vector<ControlDef> mainWindowLayout() {
    std::vector<ControlDef> layout(kHead.begin(), kHead.end());
    // The cells, row by row: date, description, cost. No border, no
    // scrolling (a cell takes what fits); the cost is right-aligned.
    for (int r = 1; r <= kVisibleRows; ++r) {
        const int y = 171 + kRowHeight * r;
        layout.push_back({TextBox, kDateColumn + r, "", 14, y, 72, 18, kTab, kPlain});
        layout.push_back({TextBox, kDescriptionColumn + r, "", 91, y, 358, 18, kTab, kPlain});
        layout.push_back({TextBox, kCostColumn + r, "", 454, y, 80, 18, ES_RIGHT | kTab, kPlain});
    }
    for (int r = 1; r <= kVisibleRows; ++r) // the rule under each row
        layout.push_back({Label, kNoId, "", 10, 190 + kRowHeight * r, 528, 1, kLine, kPlain});
    layout.insert(layout.end(), kTail.begin(), kTail.end());
    return layout;
}

ControlDef amountBoxDef(int32_t formType) {
    DWORD style = ES_READONLY;
    if (formType == kReceipt)
        style = ES_RIGHT;
    else if (formType == kInvoice || formType == kEstimate)
        style = ES_RIGHT | ES_READONLY;
    return {ControlKind::TextBox, kAmountBox, "", 454, 431, 80, 18, style, kPlain};
}

} // namespace plaxet
