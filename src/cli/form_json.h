#pragma once
// A form as JSON in UTF-8, for reading and writing form files by hand:
//   {"date": "03/15/2024", "type": "invoice",
//    "addressee": {"name": "", "address": "", "city": "", "phone": ""},
//    "items": [{"date": "", "description": "Paint", "cost": "10"}],
//    "notes": "first line\r\nsecond line",
//    "number": "2024-0017", "dueDate": "04/14/2024", "deliveryDate": "03/12/2024",
//    "buyer": {"country": "DE", "postcode": "", "city": "", "street": "",
//              "vatId": "", "reference": "", "email": ""}}
// "type" is "none", "invoice", "receipt", "estimate" or a number; "notes" may
// also be a list of lines, joined with CR LF. Missing fields are empty; the
// number, the two dates and the buyer are written only when set.
#include "form/form_document.h"

#include <string>

namespace plaxet::cli {

// The form's stored fields as JSON text.
std::string formToJson(const FormDocument& form);

// Fills the form's stored fields from JSON text. False with `error` naming
// what is wrong: the JSON itself (text that is not UTF-8 included), or an
// unknown or mistyped field.
bool formFromJson(const std::string& json, FormDocument& form, std::string& error);

} // namespace plaxet::cli
