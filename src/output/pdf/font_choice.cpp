#include "output/pdf/font_choice.h"

#include "runtime/file.h"

#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace plaxet {
namespace {

// What the search has found so far: the faces read (by file and face, with
// their place among the choice's others, none for one that could not be
// used) and the regular faces the system named for bold text.
struct FaceSearch {
    FontChoice& choice;
    const DocumentSettings& settings;
    std::map<std::pair<std::string, uint32_t>, std::optional<size_t>> read;
    std::set<size_t> boldStandIns;
};

bool hasGlyph(const FaceSearch& search, size_t index, uint32_t codePoint) {
    return glyphOf(*search.choice.fonts.others[index].font, codePoint) != 0;
}

// The face's place among the others, reading its file the first time.
std::optional<size_t> faceIndex(FaceSearch& search, const FontFace& face) {
    const auto key = std::make_pair(face.path, face.face);
    if (const auto known = search.read.find(key); known != search.read.end()) return known->second;
    std::optional<size_t>& index = search.read[key];
    FontChoice& choice = search.choice;
    std::string why;
    // Only a plain file: a device or a pipe named in PLAXET_PDF_FONT may never end.
    if (!fileExists(face.path)) {
        why = "there is no such file";
    } else if (std::optional<SharedBytes> bytes = readSharedFile(face.path); !bytes) {
        why = "the file cannot be read";
    } else if (TrueTypeRead font = readTrueTypeFont(std::move(*bytes), face.face); !font.font) {
        why = font.error;
    } else {
        choice.loaded.push_back(std::move(*font.font));
        choice.fonts.others.push_back({&choice.loaded.back(), face.bold});
        index = choice.fonts.others.size() - 1;
    }
    if (!why.empty()) choice.refused.push_back(face.path + ": " + why);
    return index;
}

std::optional<size_t> withGlyph(FaceSearch& search, const FontFace& face, uint32_t codePoint) {
    const std::optional<size_t> index = faceIndex(search, face);
    if (index && hasGlyph(search, *index, codePoint)) return index;
    return std::nullopt;
}

// The index into choice.fonts.others of the first candidate face with a
// glyph for the character; nothing when none has one.
std::optional<size_t> faceFor(FaceSearch& search, uint32_t codePoint, bool bold) {
    const std::vector<OtherFace>& others = search.choice.fonts.others;
    // The listed files first (bold text: their bold faces), then faces
    // already taken, so that one script keeps one font, then the system's.
    for (const FontFace& face : search.settings.fontFiles)
        if (face.bold == bold)
            if (const std::optional<size_t> found = withGlyph(search, face, codePoint))
                return found;
    for (size_t i = 0; i < others.size(); ++i)
        if (others[i].bold == bold && hasGlyph(search, i, codePoint)) return i;
    // A regular face the system named for bold text before (it has no bold
    // one for that script) serves the script's other characters.
    if (bold)
        for (const size_t i : search.boldStandIns)
            if (hasGlyph(search, i, codePoint)) return i;
    if (search.settings.findFonts)
        for (const FontFace& face : search.settings.findFonts(codePoint, bold))
            if (const std::optional<size_t> found = withGlyph(search, face, codePoint)) {
                if (bold && !others[*found].bold) search.boldStandIns.insert(*found);
                return found;
            }
    return std::nullopt;
}

// The first regular face that could be read at all, for the missing-glyph box.
std::optional<size_t> anyFace(FaceSearch& search) {
    for (const FontFace& face : search.settings.fontFiles)
        if (!face.bold)
            if (const std::optional<size_t> read = faceIndex(search, face)) return read;
    const std::vector<OtherFace>& others = search.choice.fonts.others;
    for (size_t i = 0; i < others.size(); ++i)
        if (!others[i].bold) return i;
    return std::nullopt;
}

} // namespace

FontChoice chooseFonts(const std::set<uint32_t>& characters, const PdfCodePage& encoding,
                       const DocumentSettings& settings) {
    FontChoice choice;
    choice.fonts.encoding = &encoding;
    FaceSearch search{choice, settings, {}, {}};
    for (const uint32_t codePoint : characters) {
        const std::optional<size_t> regular = faceFor(search, codePoint, false);
        // A regular face in bold text is drawn with a stroke.
        std::optional<size_t> bold = faceFor(search, codePoint, true);
        if (!bold) bold = regular;
        if (regular) {
            choice.fonts.regularFace.emplace(codePoint, *regular);
            choice.fonts.boldFace.emplace(codePoint, *bold);
            continue;
        }
        choice.undrawable.push_back(codePoint);
        if (const std::optional<size_t> box = anyFace(search)) {
            choice.fonts.regularFace.emplace(codePoint, *box);
            choice.fonts.boldFace.emplace(codePoint, *box);
        }
    }
    return choice;
}

} // namespace plaxet
