#pragma once
// The print-out of one help topic: its title as an underlined heading with
// the page number at the right margin, then its body in a fixed-pitch font,
// tabs expanded and long lines broken at punctuation and spaces, on as many
// pages as it needs.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "print/ctprint.h"

namespace plaxet {

enum class PrintOutcome { Cancelled, Printed, Failed };

// The line with every TAB replaced by the spaces up to the next multiple of 8.
std::string expandTabs(std::string_view line);

// The printed rows of one body line (tabs already expanded). `fits` tells
// whether a text fits the printable width; `fittingHead` gives the longest
// head of a text that fits. A line that fits is one row as it is; a longer
// one is cut after its last break character within the part that fits, or
// before it when that character is an opening bracket, and each piece loses
// its outer spaces. A part without a break character is cut where it stops
// fitting (at least one character), so every line ends.
std::vector<std::string> breakLine(std::string_view line,
                                   const std::function<bool(std::string_view)>& fits,
                                   const std::function<std::string(std::string_view)>& fittingHead);

// Asks for a printer and prints the topic on it as one document "appHelp".
// Cancelled when the user cancels the printer choice; Failed when the
// document or a page could not be started (the user has been told).
PrintOutcome printTopic(cTPrint& printer, std::string_view heading, std::string_view body);

} // namespace plaxet
