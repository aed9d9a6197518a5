#include "output/document_settings.h"

namespace plaxet {

ArchivalFontFiles archivalFontFiles() {
    const std::string folder = "/usr/share/fonts/truetype/liberation2/";
    return {folder + "LiberationSans-Regular.ttf", folder + "LiberationSans-Bold.ttf"};
}

} // namespace plaxet
