#pragma once
// The business details dialog: every key of business.json in a box, edited
// in a modal dialog over its owner. It keeps and saves nothing: it is given
// the details and gives back the new ones once they pass the checks, and
// its caller saves them.
#include <windows.h>

#include <optional>

#include "form/business_details.h"

namespace plaxet {

// The ids of the dialog's boxes and buttons.
enum BusinessDialogId : int {
    kBusinessNameBox = 601,
    kBusinessStreetBox = 602,
    kBusinessPostcodeBox = 603,
    kBusinessCityBox = 604,
    kBusinessCountryBox = 605,
    kBusinessEmailBox = 606,
    kBusinessPhoneBox = 607,
    kBusinessContactBox = 608,
    kInvoicePatternBox = 609,
    kReceiptPatternBox = 610,
    kEstimatePatternBox = 611,
    kBusinessVatIdBox = 612,
    kBusinessTaxNumberBox = 613,
    kBusinessSellerIdBox = 614,
    kVatStandardButton = 615,
    kVatExemptButton = 616,
    kExemptionReasonBox = 617,
    kBusinessIbanBox = 618,
    kBusinessBicBox = 619,
    kBusinessCurrencyBox = 620,
    kPaymentDaysBox = 621,
    kPaymentTermsBox = 622,
};

// Opens the dialog on `details` and returns once it is closed: the details
// as the boxes hold them after an Ok that passed the checks, nothing when
// it was cancelled. Ok with problems names them all in one message and
// leaves the dialog open with everything as typed. Keys the dialog does not
// show (those of a later version) come back as they were given.
std::optional<BusinessDetails> askBusinessDetails(HWND owner, const BusinessDetails& details);

} // namespace plaxet
