#pragma once
// The small dialog that asks for the text to search the help topics for.
#include <windows.h>

#include <string>
#include <string_view>

namespace plaxet {

inline constexpr int kSearchTextBox = 9999;
inline constexpr int kSearchFromTopBox = 10000;

struct SearchTextAnswer {
    std::string text;     // as typed, without leading and trailing spaces
    bool fromTop = false; // Ok with "Search from top" checked
};

// Runs the dialog modally with `owner` disabled. Ok and Enter, Esc and the
// close box all hand back the typed text; only Ok applies "Search from top".
SearchTextAnswer askSearchText(std::string_view prompt, std::string_view boxTitle,
                               std::string_view startText, HWND owner);

} // namespace plaxet
