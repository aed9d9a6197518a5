#include "runtime/system_fonts.h"

#include "runtime/environment.h"
#include "runtime/wide.h"
#include "runtime/win32_owners.h"

#include <dwrite.h>
#include <dwrite_2.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {
namespace {

// What a COM call hands out through its last argument, owned; nothing when
// the call failed.
template <typename T, typename Call> UniqueComObject<T> received(Call&& call) {
    T* object = nullptr;
    const HRESULT result = call(&object);
    UniqueComObject<T> owner(object);
    if (FAILED(result)) owner.reset();
    return owner;
}

template <typename T> UniqueComObject<T> queried(IUnknown* object) {
    return received<T>([&](T** out) {
        return object->QueryInterface(__uuidof(T), reinterpret_cast<void**>(out));
    });
}

// DirectWrite for the whole process: its shared factory and, from Windows 8.1
// on, the system's table of which font draws which characters. Made the first
// time a font is looked for; empty where DirectWrite is missing or fails.
struct DirectWrite {
    UniqueComObject<IDWriteFactory> factory;
    UniqueComObject<IDWriteFontFallback> fallback;
};

// DirectWrite's library is loaded the first time a character needs the
// system's fonts, not when the program starts: most documents never do.
const DirectWrite& directWrite() {
    static const DirectWrite shared = [] {
        DirectWrite made;
        using CreateFactory = HRESULT(WINAPI*)(DWRITE_FACTORY_TYPE, REFIID, IUnknown**);
        const HMODULE library = LoadLibraryW(L"dwrite.dll");
        const auto create = library ? reinterpret_cast<CreateFactory>(reinterpret_cast<void (*)()>(
                                          GetProcAddress(library, "DWriteCreateFactory")))
                                    : nullptr;
        if (!create) return made;
        made.factory = received<IDWriteFactory>([create](IDWriteFactory** out) {
            return create(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                          reinterpret_cast<IUnknown**>(out));
        });
        if (!made.factory) return made;
        if (const auto newer = queried<IDWriteFactory2>(made.factory.get()))
            made.fallback = received<IDWriteFontFallback>(
                [&](IDWriteFontFallback** out) { return newer.get()->GetSystemFontFallback(out); });
        return made;
    }();
    return shared;
}

// The one character the fallback is asked about, as the text it analyses.
// It lives on the caller's stack for the one call, so its counts only answer
// COM's rules and never free it; none of its methods can throw.
class OneCharacter final : public IDWriteTextAnalysisSource {
  public:
    explicit OneCharacter(uint32_t codePoint) {
        if (codePoint < 0x10000) {
            text_[0] = static_cast<wchar_t>(codePoint);
            length_ = 1;
        } else {
            text_[0] = static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            text_[1] = static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
            length_ = 2;
        }
        // The user's language chooses among fonts for a script that several
        // languages share (a Chinese or a Japanese face for an ideograph).
        if (GetUserDefaultLocaleName(locale_.data(), static_cast<int>(locale_.size())) == 0)
            locale_[0] = L'\0';
    }
    UINT32 length() const { return length_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) noexcept override {
        if (id == __uuidof(IUnknown) || id == __uuidof(IDWriteTextAnalysisSource)) {
            *object = static_cast<IDWriteTextAnalysisSource*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 1; }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }

    HRESULT STDMETHODCALLTYPE GetTextAtPosition(UINT32 position, const WCHAR** text,
                                                UINT32* length) noexcept override {
        *text = position < length_ ? text_ + position : nullptr;
        *length = position < length_ ? length_ - position : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTextBeforePosition(UINT32 position, const WCHAR** text,
                                                    UINT32* length) noexcept override {
        const bool inside = position > 0 && position <= length_;
        *text = inside ? text_ : nullptr;
        *length = inside ? position : 0;
        return S_OK;
    }
    DWRITE_READING_DIRECTION STDMETHODCALLTYPE GetParagraphReadingDirection() noexcept override {
        return DWRITE_READING_DIRECTION_LEFT_TO_RIGHT;
    }
    HRESULT STDMETHODCALLTYPE GetLocaleName(UINT32 position, UINT32* length,
                                            const WCHAR** locale) noexcept override {
        *length = position < length_ ? length_ - position : 0;
        *locale = locale_.data();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    GetNumberSubstitution(UINT32 position, UINT32* length,
                          IDWriteNumberSubstitution** substitution) noexcept override {
        *length = position < length_ ? length_ - position : 0;
        *substitution = nullptr;
        return S_OK;
    }

  private:
    WCHAR text_[2] = {};
    UINT32 length_ = 0;
    std::array<WCHAR, LOCALE_NAME_MAX_LENGTH> locale_{};
};

bool hasCharacter(IDWriteFont* font, uint32_t codePoint) {
    BOOL has = FALSE;
    return font && SUCCEEDED(font->HasCharacter(codePoint, &has)) && has;
}

// A font's path in the form the program's own file functions open, which
// take no "\\?\" path. Windows gives a plain path; a path beyond its old
// length limit, or Wine's path of a file outside its drives (one of the Linux
// system's fonts, "\\?\unix\usr\share\fonts\..."), as Wine names it on a drive.
std::string openablePath(std::wstring path) {
    const std::wstring_view unixPrefix = L"\\\\?\\unix\\";
    const std::wstring_view uncPrefix = L"\\\\?\\UNC\\";
    if (path.starts_with(unixPrefix)) {
        using ToDosName = WCHAR*(CDECL*)(const char*);
        const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        const auto toDosName = kernel ? reinterpret_cast<ToDosName>(reinterpret_cast<void (*)()>(
                                            GetProcAddress(kernel, "wine_get_dos_file_name")))
                                      : nullptr;
        std::string unixPath = fromWide(std::wstring_view(path).substr(unixPrefix.size() - 1));
        std::replace(unixPath.begin(), unixPath.end(), '\\', '/');
        if (toDosName)
            if (const UniqueProcessHeapMemory<WCHAR> dosName(toDosName(unixPath.c_str())); dosName)
                return fromWide(dosName.get());
    } else if (path.starts_with(uncPrefix)) {
        path.replace(0, uncPrefix.size(), L"\\\\");
    } else if (path.starts_with(L"\\\\?\\") && path.size() > 6 && path[5] == L':') {
        path.erase(0, 4);
    }
    return fromWide(path);
}

// The file behind a font of the system: its path and its face's place in it.
std::optional<FontFace> fileOf(IDWriteFont* font) {
    const auto face =
        received<IDWriteFontFace>([&](IDWriteFontFace** out) { return font->CreateFontFace(out); });
    // Only TrueType outlines: the document embeds nothing else.
    const DWRITE_FONT_FACE_TYPE type = face ? face.get()->GetType() : DWRITE_FONT_FACE_TYPE_UNKNOWN;
    if (type != DWRITE_FONT_FACE_TYPE_TRUETYPE && type != DWRITE_FONT_FACE_TYPE_TRUETYPE_COLLECTION)
        return std::nullopt;
    // A face is one file; should a face span several, the first names it.
    UINT32 count = 0;
    if (FAILED(face.get()->GetFiles(&count, nullptr)) || count == 0) return std::nullopt;
    std::vector<IDWriteFontFile*> files(count);
    const HRESULT listed = face.get()->GetFiles(&count, files.data());
    std::vector<UniqueComObject<IDWriteFontFile>> owners(files.begin(), files.end());
    const UniqueComObject<IDWriteFontFile>& file = owners.front();
    if (FAILED(listed) || !file) return std::nullopt;
    const void* key = nullptr;
    UINT32 keySize = 0;
    if (FAILED(file.get()->GetReferenceKey(&key, &keySize))) return std::nullopt;
    const auto loader = received<IDWriteFontFileLoader>(
        [&](IDWriteFontFileLoader** out) { return file.get()->GetLoader(out); });
    const auto local = loader ? queried<IDWriteLocalFontFileLoader>(loader.get())
                              : UniqueComObject<IDWriteLocalFontFileLoader>();
    UINT32 length = 0;
    if (!local || FAILED(local.get()->GetFilePathLengthFromKey(key, keySize, &length)))
        return std::nullopt;
    std::wstring path(length + 1, L'\0');
    if (FAILED(local.get()->GetFilePathFromKey(key, keySize, path.data(), length + 1)))
        return std::nullopt;
    path.resize(std::min<size_t>(length, wcslen(path.c_str())));
    // A regular face that DirectWrite would draw thicker is not a bold face:
    // the document strokes its outlines itself.
    const bool bold = font->GetWeight() >= DWRITE_FONT_WEIGHT_SEMI_BOLD &&
                      !(font->GetSimulations() & DWRITE_FONT_SIMULATIONS_BOLD);
    return FontFace{openablePath(path), face.get()->GetIndex(), bold};
}

// The font the system's fallback table draws the character with, next to a
// text in Segoe UI.
UniqueComObject<IDWriteFont> fallbackFont(const DirectWrite& dwrite, uint32_t codePoint,
                                          DWRITE_FONT_WEIGHT weight) {
    if (!dwrite.fallback) return {};
    OneCharacter text(codePoint);
    UINT32 mapped = 0;
    FLOAT scale = 1;
    auto font = received<IDWriteFont>([&](IDWriteFont** out) {
        return dwrite.fallback.get()->MapCharacters(
            &text, 0, text.length(), nullptr, L"Segoe UI", weight, DWRITE_FONT_STYLE_NORMAL,
            DWRITE_FONT_STRETCH_NORMAL, &mapped, out, &scale);
    });
    if (mapped == 0) font.reset();
    return font;
}

// The families of the collection in the order to look through them: the
// fonts Windows has for Latin, Chinese, Japanese, Korean, Indic scripts and
// symbols first, then all the others as the collection lists them.
std::vector<UINT32> familiesInOrder(IDWriteFontCollection* collection) {
    static const wchar_t* const preferred[] = {L"Segoe UI",      L"Arial",      L"Microsoft YaHei",
                                               L"SimSun",        L"Meiryo",     L"MS Gothic",
                                               L"Malgun Gothic", L"Nirmala UI", L"Segoe UI Symbol"};
    std::vector<UINT32> order;
    for (const wchar_t* name : preferred) {
        UINT32 index = 0;
        BOOL exists = FALSE;
        if (SUCCEEDED(collection->FindFamilyName(name, &index, &exists)) && exists)
            order.push_back(index);
    }
    const UINT32 count = collection->GetFontFamilyCount();
    for (UINT32 index = 0; index < count; ++index)
        if (std::find(order.begin(), order.end(), index) == order.end()) order.push_back(index);
    return order;
}

} // namespace

std::vector<FontFace> documentFontFiles() {
    std::vector<FontFace> files;
    if (std::optional<std::string> chosen = environmentValue("PLAXET_PDF_FONT"))
        files.push_back({std::move(*chosen)});
    const std::string fonts = environmentValue("SystemRoot")
                                  .value_or(environmentValue("WINDIR").value_or("C:\\Windows")) +
                              "\\Fonts\\";
    const struct {
        const char* file;
        bool bold;
    } known[] = {{"segoeui.ttf", false},  {"segoeuib.ttf", true}, {"arial.ttf", false},
                 {"arialbd.ttf", true},   {"msyh.ttc", false},    {"msyhbd.ttc", true},
                 {"simsun.ttc", false},   {"meiryo.ttc", false},  {"meiryob.ttc", true},
                 {"msgothic.ttc", false}, {"malgun.ttf", false},  {"malgunbd.ttf", true},
                 {"Nirmala.ttf", false},  {"NirmalaB.ttf", true}, {"seguisym.ttf", false},
                 {"tahoma.ttf", false},   {"tahomabd.ttf", true}};
    for (const auto& font : known) files.push_back({fonts + font.file, 0, font.bold});
    return files;
}

std::vector<FontFace> systemFontsFor(uint32_t codePoint, bool bold) {
    // A few are enough: the first that reads as a usable font is taken.
    constexpr size_t kEnough = 3;
    std::vector<FontFace> faces;
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return faces;
    try {
        const DirectWrite& dwrite = directWrite();
        if (!dwrite.factory) return faces;
        const DWRITE_FONT_WEIGHT weight =
            bold ? DWRITE_FONT_WEIGHT_BOLD : DWRITE_FONT_WEIGHT_NORMAL;
        const auto take = [&](IDWriteFont* font) {
            if (!hasCharacter(font, codePoint)) return;
            std::optional<FontFace> face = fileOf(font);
            if (face && std::none_of(faces.begin(), faces.end(), [&](const FontFace& known) {
                    return known.path == face->path && known.face == face->face;
                }))
                faces.push_back(std::move(*face));
        };
        // The system's own choice first. Its table may lack a script the
        // installed fonts have (Wine's knows Hebrew and Arabic but not
        // Chinese or "Ł"), so the fonts themselves come next.
        take(fallbackFont(dwrite, codePoint, weight).get());
        const auto collection = received<IDWriteFontCollection>([&](IDWriteFontCollection** out) {
            return dwrite.factory.get()->GetSystemFontCollection(out, FALSE);
        });
        if (!collection) return faces;
        for (const UINT32 index : familiesInOrder(collection.get())) {
            if (faces.size() >= kEnough) break;
            const auto family = received<IDWriteFontFamily>([&](IDWriteFontFamily** out) {
                return collection.get()->GetFontFamily(index, out);
            });
            if (!family) continue;
            take(received<IDWriteFont>([&](IDWriteFont** out) {
                     return family.get()->GetFirstMatchingFont(weight, DWRITE_FONT_STRETCH_NORMAL,
                                                               DWRITE_FONT_STYLE_NORMAL, out);
                 }).get());
        }
        return faces;
    } catch (...) {
        // Only memory can run out here; the faces found so far still serve.
        return faces;
    }
}

} // namespace plaxet
