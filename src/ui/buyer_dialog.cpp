#include "ui/buyer_dialog.h"

#include <string>

#include "form/tax_codes.h"
#include "win/controls.h"
#include "win/forms.h"
#include "win/message_box.h"

namespace plaxet {
namespace {

constexpr DWORD kBoxStyle = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr int kClientWidth = 370;
constexpr int kClientHeight = 270;
constexpr int kLabelX = 15;
constexpr int kBoxX = 125;
constexpr int kFirstRowY = 15;
constexpr int kRowStep = 28;

// A box of the dialog and the field of the buyer it edits.
struct BuyerField {
    int box;
    const char* label;
    std::string Buyer::*field;
    int width;
};

constexpr BuyerField kFields[] = {
    {kBuyerStreetBox, "Street:", &Buyer::street, 230},
    {kBuyerPostcodeBox, "Postcode:", &Buyer::postcode, 90},
    {kBuyerCityBox, "City:", &Buyer::city, 230},
    {kBuyerCountryBox, "Country:", &Buyer::country, 40},
    {kBuyerVatIdBox, "VAT ID:", &Buyer::vatId, 160},
    {kBuyerReferenceBox, "Buyer's reference:", &Buyer::reference, 230},
    {kBuyerEmailBox, "E-mail:", &Buyer::email, 230},
};

void addControls(HWND dialog, const Buyer& buyer) {
    int y = kFirstRowY;
    for (const BuyerField& field : kFields) {
        ControlAdd(dialog, {ControlKind::Label, kNoId, field.label, kLabelX, y + 3, 105, 15,
                            kDefaultStyle, 0});
        ControlAdd(dialog, {ControlKind::TextBox, field.box, buyer.*field.field, kBoxX, y,
                            field.width, 20, kBoxStyle, WS_EX_CLIENTEDGE});
        if (field.box == kBuyerCountryBox)
            ControlAdd(dialog, {ControlKind::Label, kNoId, "two capitals, such as DE or FR",
                                kBoxX + field.width + 10, y + 3, 180, 15, kDefaultStyle, 0});
        y += kRowStep;
    }
    ControlAdd(dialog, {ControlKind::PushButton, IDOK, "&Ok", 170, 222, 85, 30,
                        BS_DEFPUSHBUTTON | WS_TABSTOP, 0});
    ControlAdd(dialog,
               {ControlKind::PushButton, IDCANCEL, "Cancel", 265, 222, 85, 30, WS_TABSTOP, 0});
}

Buyer typedBuyer(HWND dialog) {
    Buyer buyer;
    for (const BuyerField& field : kFields) buyer.*field.field = ControlGetText(dialog, field.box);
    return buyer;
}

} // namespace

std::optional<Buyer> askBuyerDetails(HWND owner, const Buyer& buyer) {
    HWND dialog = FormNew(modalDialogLayout(owner, "Buyer Details", kClientWidth, kClientHeight));
    if (!dialog) return std::nullopt;
    addControls(dialog, buyer);
    std::optional<Buyer> answer;
    FormShowModal(dialog, [&](HWND window, UINT message, WPARAM wParam, LPARAM) -> intptr_t {
        if (message != WM_COMMAND) return 0;
        const int id = LOWORD(wParam);
        if (id == IDCANCEL) { // the Cancel button and the escape key
            FormEnd(window, IDCANCEL);
            return 1;
        }
        if (id != IDOK) return 0;
        Buyer typed = typedBuyer(window);
        if (const std::string problem = countryCodeProblem(typed.country); !problem.empty()) {
            // Nothing typed is lost: the dialog stays with the boxes as they are.
            MessageBox(window,
                       "The buyer's country " + problem +
                           ".\r\nType its two-letter code, or leave the box empty.",
                       "Buyer Details", MB_OK | MB_ICONERROR);
            ControlSetFocus(window, kBuyerCountryBox);
            return 1;
        }
        answer = std::move(typed);
        FormEnd(window, IDOK);
        return 1;
    });
    return answer;
}

} // namespace plaxet
