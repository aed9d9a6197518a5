#include "output/pdf/shaping.h"

#include <dlfcn.h>
#include <fribidi.h>
#include <hb.h>

#include <memory>

namespace plaxet {
namespace {

// The functions used, from the libraries loaded the first time a text needs
// them: most documents never do, and loading them at start would cost every
// command its time.
struct Engine {
    decltype(&fribidi_get_bidi_types) bidiTypes;
    decltype(&fribidi_get_bracket_types) bracketTypes;
    decltype(&fribidi_get_par_embedding_levels_ex) embeddingLevels;
    decltype(&hb_blob_create) blobCreate;
    decltype(&hb_face_create_for_tables) faceCreate;
    decltype(&hb_face_destroy) faceDestroy;
    decltype(&hb_font_create) fontCreate;
    decltype(&hb_font_destroy) fontDestroy;
    decltype(&hb_buffer_create) bufferCreate;
    decltype(&hb_buffer_destroy) bufferDestroy;
    decltype(&hb_buffer_add_utf32) bufferAdd;
    decltype(&hb_buffer_set_direction) bufferSetDirection;
    decltype(&hb_buffer_guess_segment_properties) bufferGuessProperties;
    decltype(&hb_buffer_get_glyph_infos) glyphInfos;
    decltype(&hb_buffer_get_glyph_positions) glyphPositions;
    decltype(&hb_shape) shape;
    bool bidi = false;
    bool shaping = false;
};

template <typename Function> bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

Engine loadEngine() {
    // Kept loaded for the process.
    Engine e{};
    if (void* fribidi = dlopen("libfribidi.so.0", RTLD_NOW | RTLD_LOCAL))
        e.bidi = resolve(fribidi, "fribidi_get_bidi_types", e.bidiTypes) &&
                 resolve(fribidi, "fribidi_get_bracket_types", e.bracketTypes) &&
                 resolve(fribidi, "fribidi_get_par_embedding_levels_ex", e.embeddingLevels);
    if (void* hb = dlopen("libharfbuzz.so.0", RTLD_NOW | RTLD_LOCAL))
        e.shaping = resolve(hb, "hb_blob_create", e.blobCreate) &&
                    resolve(hb, "hb_face_create_for_tables", e.faceCreate) &&
                    resolve(hb, "hb_face_destroy", e.faceDestroy) &&
                    resolve(hb, "hb_font_create", e.fontCreate) &&
                    resolve(hb, "hb_font_destroy", e.fontDestroy) &&
                    resolve(hb, "hb_buffer_create", e.bufferCreate) &&
                    resolve(hb, "hb_buffer_destroy", e.bufferDestroy) &&
                    resolve(hb, "hb_buffer_add_utf32", e.bufferAdd) &&
                    resolve(hb, "hb_buffer_set_direction", e.bufferSetDirection) &&
                    resolve(hb, "hb_buffer_guess_segment_properties", e.bufferGuessProperties) &&
                    resolve(hb, "hb_buffer_get_glyph_infos", e.glyphInfos) &&
                    resolve(hb, "hb_buffer_get_glyph_positions", e.glyphPositions) &&
                    resolve(hb, "hb_shape", e.shape);
    return e;
}

const Engine& engine() {
    static const Engine loaded = loadEngine();
    return loaded;
}

// HarfBuzz reads the face's tables straight from the font file in memory
// (a collection's face included), without copying them.
hb_blob_t* tableOf(hb_face_t*, hb_tag_t tag, void* data) {
    const auto& font = *static_cast<const TrueTypeFont*>(data);
    const char name[] = {static_cast<char>(tag >> 24), static_cast<char>(tag >> 16),
                         static_cast<char>(tag >> 8), static_cast<char>(tag), '\0'};
    const auto found = font.tables.find(std::string_view(name, 4));
    if (found == font.tables.end()) return nullptr;
    const auto [offset, length] = found->second;
    return engine().blobCreate(font.bytes.data() + offset, length, HB_MEMORY_MODE_READONLY, nullptr,
                               nullptr);
}

} // namespace

std::optional<std::vector<uint8_t>> bidiLevels(std::u32string_view line) {
    const Engine& e = engine();
    if (!e.bidi) return std::nullopt;
    const auto length = static_cast<FriBidiStrIndex>(line.size());
    const auto* text = reinterpret_cast<const FriBidiChar*>(line.data());
    std::vector<FriBidiCharType> types(line.size());
    std::vector<FriBidiBracketType> brackets(line.size());
    std::vector<FriBidiLevel> levels(line.size());
    e.bidiTypes(text, length, types.data());
    e.bracketTypes(text, length, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_LTR;
    if (e.embeddingLevels(types.data(), brackets.data(), length, &direction, levels.data()) == 0)
        return std::nullopt;
    return std::vector<uint8_t>(levels.begin(), levels.end());
}

std::optional<std::vector<ShapedGlyph>> shapeRun(const TrueTypeFont& font,
                                                 std::u32string_view characters, bool rightToLeft) {
    const Engine& e = engine();
    if (!e.shaping) return std::nullopt;
    const std::unique_ptr<hb_face_t, void (*)(hb_face_t*)> face(
        e.faceCreate(tableOf, const_cast<TrueTypeFont*>(&font), nullptr), e.faceDestroy);
    const std::unique_ptr<hb_font_t, void (*)(hb_font_t*)> hbFont(e.fontCreate(face.get()),
                                                                  e.fontDestroy);
    const std::unique_ptr<hb_buffer_t, void (*)(hb_buffer_t*)> buffer(e.bufferCreate(),
                                                                      e.bufferDestroy);
    e.bufferAdd(buffer.get(), reinterpret_cast<const uint32_t*>(characters.data()),
                static_cast<int>(characters.size()), 0, static_cast<int>(characters.size()));
    e.bufferSetDirection(buffer.get(), rightToLeft ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    e.bufferGuessProperties(buffer.get());
    e.shape(hbFont.get(), buffer.get(), nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* infos = e.glyphInfos(buffer.get(), &count);
    const hb_glyph_position_t* positions = e.glyphPositions(buffer.get(), &count);
    std::vector<ShapedGlyph> glyphs(count);
    for (unsigned i = 0; i < count; ++i)
        glyphs[i] = {static_cast<uint16_t>(infos[i].codepoint), positions[i].x_advance,
                     positions[i].x_offset, positions[i].y_offset, infos[i].cluster};
    return glyphs;
}

} // namespace plaxet
