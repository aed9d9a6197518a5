#include "runtime/system_fonts.h"

#include "runtime/file.h"

#include <gtest/gtest.h>

namespace plaxet {

// The system names font files for a Hebrew letter, an ideograph and a Polish
// letter, in either weight, that the program's own file functions read (under
// Wine, the Linux system's fonts through the drive that shows them).
TEST(SystemFonts, NameReadableFilesForCharactersOfOtherScripts) {
    for (const uint32_t codePoint : {0x5D0u, 0x738Bu, 0x141u})
        for (const bool bold : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "U+" << std::hex << codePoint << (bold ? " bold" : ""));
            const std::vector<FontFace> faces = systemFontsFor(codePoint, bold);
            EXPECT_FALSE(faces.empty());
            for (const FontFace& face : faces) {
                EXPECT_TRUE(fileExists(face.path)) << face.path;
                const std::optional<std::string> bytes = readWholeFile(face.path);
                EXPECT_TRUE(bytes && !bytes->empty()) << face.path;
            }
        }
    EXPECT_TRUE(systemFontsFor(0xD800, false).empty())
        << "half of a surrogate pair is no character";
}

} // namespace plaxet
