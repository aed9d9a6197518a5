#pragma once
// The font files a document may draw on for characters its standard fonts
// lack, as this computer offers them; read where the program starts.
#include <string>
#include <vector>

namespace plaxet {

// In the order to try them: the file named by PLAXET_PDF_FONT when it is
// set, then on Windows the system's Segoe UI, Arial and Tahoma, on Linux
// DejaVu Sans.
std::vector<std::string> documentFontFiles();

} // namespace plaxet
