#pragma once
// A form as JSON in UTF-8, for reading and writing form files by hand:
//   {"date": "03/15/2024", "type": "invoice",
//    "addressee": {"name": "", "address": "", "city": "", "phone": ""},
//    "items": [{"date": "", "description": "Paint", "cost": "10"}],
//    "notes": "first line\r\nsecond line"}
// "type" is "none", "invoice", "receipt", "estimate" or a number; "notes" may
// also be a list of lines, joined with CR LF. Missing fields are empty.
#include "form/form_document.h"

#include <string>

namespace plaxet::cli {

// The form's stored fields as JSON text (texts turned from ANSI into UTF-8).
std::string formToJson(const FormDocument& form);

// Fills the form's stored fields from JSON text. False with `error` naming
// what is wrong: the JSON itself, an unknown or mistyped field, or a
// character the ANSI code page cannot hold.
bool formFromJson(const std::string& json, FormDocument& form, std::string& error);

// UTF-8 text (a command-line argument) in the ANSI code page. False with
// `error` naming the first character the code page cannot hold, or saying
// that the text is not UTF-8.
bool ansiFromUtf8(const std::string& utf8, std::string& ansi, std::string& error);

} // namespace plaxet::cli
