#include "output/pdf/font_choice.h"

#include "runtime/file.h"

#include <map>
#include <optional>
#include <set>
#include <utility>

namespace plaxet {
namespace {

class FaceReader {
  public:
    FaceReader(FontChoice& choice, const DocumentSettings& settings)
        : choice_(choice), settings_(settings) {}

    // The index into choice.fonts.others of the first candidate face with a
    // glyph for the character; nothing when none has one.
    std::optional<size_t> faceFor(uint32_t codePoint, bool bold) {
        // The listed files first (bold text: their bold faces), then faces
        // already taken, so that one script keeps one font, then the system's.
        for (const FontFace& face : settings_.fontFiles)
            if (face.bold == bold)
                if (const std::optional<size_t> found = withGlyph(face, codePoint)) return found;
        for (size_t i = 0; i < choice_.fonts.others.size(); ++i)
            if (choice_.fonts.others[i].bold == bold &&
                glyphOf(*choice_.fonts.others[i].font, codePoint) != 0)
                return i;
        // A regular face the system named for bold text before (it has no
        // bold one for that script) serves the script's other characters.
        if (bold)
            for (const size_t i : boldStandIns_)
                if (glyphOf(*choice_.fonts.others[i].font, codePoint) != 0) return i;
        if (settings_.findFonts)
            for (const FontFace& face : settings_.findFonts(codePoint, bold))
                if (const std::optional<size_t> found = withGlyph(face, codePoint)) {
                    if (bold && !choice_.fonts.others[*found].bold) boldStandIns_.insert(*found);
                    return found;
                }
        return std::nullopt;
    }

    // The first regular face that could be read at all, for the missing-glyph box.
    std::optional<size_t> anyFace() {
        for (const FontFace& face : settings_.fontFiles)
            if (!face.bold)
                if (const std::optional<size_t> read = faceIndex(face)) return read;
        for (size_t i = 0; i < choice_.fonts.others.size(); ++i)
            if (!choice_.fonts.others[i].bold) return i;
        return std::nullopt;
    }

  private:
    std::optional<size_t> withGlyph(const FontFace& face, uint32_t codePoint) {
        const std::optional<size_t> index = faceIndex(face);
        if (index && glyphOf(*choice_.fonts.others[*index].font, codePoint) != 0) return index;
        return std::nullopt;
    }

    // The face's place among the others, reading its file the first time.
    std::optional<size_t> faceIndex(const FontFace& face) {
        const auto key = std::make_pair(face.path, face.face);
        if (const auto known = read_.find(key); known != read_.end()) return known->second;
        std::optional<size_t>& index = read_[key];
        std::string why;
        // Only a plain file: a device or a pipe named in PLAXET_PDF_FONT may never end.
        if (!fileExists(face.path)) {
            why = "there is no such file";
        } else if (std::optional<std::string> bytes = readWholeFile(face.path); !bytes) {
            why = "the file cannot be read";
        } else if (TrueTypeRead font = readTrueTypeFont(std::move(*bytes), face.face); !font.font) {
            why = font.error;
        } else {
            choice_.loaded.push_back(std::move(*font.font));
            choice_.fonts.others.push_back({&choice_.loaded.back(), face.bold});
            index = choice_.fonts.others.size() - 1;
        }
        if (!why.empty()) choice_.refused.push_back(face.path + ": " + why);
        return index;
    }

    FontChoice& choice_;
    const DocumentSettings& settings_;
    std::map<std::pair<std::string, uint32_t>, std::optional<size_t>> read_;
    std::set<size_t> boldStandIns_;
};

} // namespace

FontChoice chooseFonts(const std::set<uint32_t>& characters, const PdfCodePage& encoding,
                       const DocumentSettings& settings) {
    FontChoice choice;
    choice.fonts.encoding = &encoding;
    FaceReader reader(choice, settings);
    for (const uint32_t codePoint : characters) {
        const std::optional<size_t> regular = reader.faceFor(codePoint, false);
        // A regular face in bold text is drawn with a stroke.
        std::optional<size_t> bold = reader.faceFor(codePoint, true);
        if (!bold) bold = regular;
        if (regular) {
            choice.fonts.regularFace.emplace(codePoint, *regular);
            choice.fonts.boldFace.emplace(codePoint, *bold);
            continue;
        }
        choice.undrawable.push_back(codePoint);
        if (const std::optional<size_t> box = reader.anyFace()) {
            choice.fonts.regularFace.emplace(codePoint, *box);
            choice.fonts.boldFace.emplace(codePoint, *box);
        }
    }
    return choice;
}

} // namespace plaxet
