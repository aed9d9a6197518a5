#pragma once
// The ids by which the main window's controls and menu commands are known.

namespace plaxet {

enum ControlId : int {
    kNameLabel = 101,
    kAddressLabel = 102,
    kCityLabel = 103,
    kPhoneLabel = 104,
    kAddresseeGroup = 110,
    kNameBox = 111,
    kAddressBox = 112,
    kCityBox = 113,
    kPhoneBox = 114,
    kBuyerDetailsButton = 115,
    kInvoiceButton = 121,
    kReceiptButton = 122,
    kEstimateButton = 123,
    kDateBox = 125,
    kNumberBox = 126,
    kDueDateBox = 127,
    // The grid's column headings; the cell of row r is heading + r.
    kDateColumn = 200,
    kDescriptionColumn = 250,
    kCostColumn = 300,
    kDummyButton = 350,
    kNotesBox = 400,
    kAmountLabel = 401,
    kAmountBox = 402,
    kItemScrollBar = 403,
    kSenderButton = 410,
    kRtfButton = 411,
    kHtmButton = 412,
    kCreateFilesButton = 413,
    kShowFileButton = 414,
    kCopyFileButton = 415,
    kPdfButton = 416,
    kXmlButton = 417,
};

inline constexpr int kVisibleRows = 12;
// A form-type button's id is the form type plus this.
inline constexpr int kFormTypeButtonBase = 120;

enum CommandId : int {
    kCancelCommand = 2, // the escape key
    kNewCommand = 501,
    kOpenCommand = 502,
    kSaveCommand = 503,
    kSaveAsCommand = 504,
    kCreateFilesCommand = 505,
    kExitCommand = 506,
    kBusinessDetailsCommand = 507,
    kClearItemCommand = 511,
    kInsertItemCommand = 512,
    kDeleteItemCommand = 513,
    kHelpContentsCommand = 521,
    kAboutCommand = 522,
};

} // namespace plaxet
