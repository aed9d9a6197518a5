#pragma once
// The date rule: a typed date is checked and rewritten as mm/dd/yyyy, and the
// form date is spelled out in words for the documents.
#include <cstdint>
#include <string>

namespace plaxet {

// 0 when valid, -1 when not. Always leaves the text trimmed of spaces; a
// valid date is rewritten in the ten-character form mm/dd/yyyy.
int validateDate(std::string& date);

int32_t daysInMonth(int32_t month, int32_t year);

// "January 5, 2007" for 01/05/2007. A text that is not a valid date in any
// form the date rule accepts is printed as it stands, trimmed of spaces.
std::string longDateText(const std::string& formDate);

} // namespace plaxet
