#pragma once
// The sender dialog: the six letterhead lines, edited in a modal dialog over
// its owner. It keeps nothing itself: it is given the lines and gives back
// the new ones, and its caller stores and saves them.
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace plaxet {

// The ids of the dialog's six line boxes are this plus the line number.
inline constexpr int kSenderLineBoxBase = 420;

// The button that opens the business details over the dialog.
inline constexpr int kSenderBusinessButton = 430;

using SenderLines = std::array<std::string, 6>;

// What the user made of the lines: after Ok the boxes' texts as they are
// and whether they are to be kept in the sender file ("Save data defining
// sender?" answered Yes); nothing when the dialog was closed another way.
struct SenderAnswer {
    std::optional<SenderLines> lines;
    bool keep = false;
};

// Opens the dialog on `lines` and returns once it is closed. `typed` is told
// of every change of text in a line box, as it happens. Given
// `businessDetails`, the dialog has a Business Details button that calls it
// with the dialog's window, to open the business details over it.
SenderAnswer askSenderLines(HWND owner, const SenderLines& lines,
                            const std::function<void()>& typed,
                            const std::function<void(HWND)>& businessDetails = {});

} // namespace plaxet
