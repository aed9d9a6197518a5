#pragma once
// The Buyer Details dialog: the customer's details beyond the addressee's
// four lines (street, postcode, city, country, VAT ID, the buyer's own
// reference and e-mail), edited in a modal dialog over its owner. Like the
// sender dialog it keeps nothing itself: it is given the details and gives
// back the new ones, and its caller stores them in the form.
#include <windows.h>

#include <optional>

#include "form/form_document.h"

namespace plaxet {

// The ids of the dialog's boxes, in their order on the dialog.
enum BuyerBoxId : int {
    kBuyerStreetBox = 441,
    kBuyerPostcodeBox = 442,
    kBuyerCityBox = 443,
    kBuyerCountryBox = 444,
    kBuyerVatIdBox = 445,
    kBuyerReferenceBox = 446,
    kBuyerEmailBox = 447,
};

// Opens the dialog on `buyer` and returns once it is closed: after Ok the
// boxes' texts as typed; nothing after Cancel, the escape key or the close
// box. Ok with a country that is not a two-letter country code says so and
// keeps the dialog open with what was typed.
std::optional<Buyer> askBuyerDetails(HWND owner, const Buyer& buyer);

} // namespace plaxet
