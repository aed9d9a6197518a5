#include "output/document_settings.h"

#include "form/data_folder.h"

namespace plaxet {

ArchivalFontFiles archivalFontFiles() {
    // The installer and the portable package put the fonts beside the program.
    const std::string folder = runningProgramFolder();
    if (folder.empty()) return {};
    return {folder + "LiberationSans-Regular.ttf", folder + "LiberationSans-Bold.ttf"};
}

} // namespace plaxet
