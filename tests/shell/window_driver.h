#pragma once
// Driving real windows from a test: running the thread's messages until a
// condition holds, and acting on a window that a modal loop has opened.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace plaxet::testing {

using namespace std::chrono_literals;

// Runs the thread's messages (with `form`'s dialog keys, as its modal loop
// would) until `done` holds; false when it still does not after `limit`.
bool pumpUntil(HWND form, const std::function<bool()>& done,
               std::chrono::milliseconds limit = 5000ms);

// Posts a key press and release to the window that has the focus.
void pressKey(UINT key);

// The top-level window of this process with exactly this title, or null.
HWND findWindowTitled(const std::string& title);

// While this object lives, a thread timer watches for a top-level window
// titled `title` and calls `action` once with it. Used for windows that run
// their own modal loop, during which the test itself is blocked. When the
// window has not appeared or not closed within `limit`, every window of that
// title is destroyed so the test fails instead of hanging. Watches may
// overlap: one made in another's action watches for a window opened from
// the first one, or after it.
class WhenWindowAppears {
  public:
    WhenWindowAppears(std::string title, std::function<void(HWND)> action,
                      std::chrono::milliseconds limit = 10000ms);
    ~WhenWindowAppears();
    WhenWindowAppears(const WhenWindowAppears&) = delete;
    WhenWindowAppears& operator=(const WhenWindowAppears&) = delete;

    bool acted() const;
    bool timedOut() const;

    struct Watch; // what the timer checks

  private:
    Watch* watch_;
};

std::string windowText(HWND window);

// The DPI this run of the tests is for (PLAXET_TEST_DPI, set where the
// display is made to run at another scale), 96 otherwise.
int requestedDpi();
// A size or place of a 96-DPI layout at `dpi`: rounded to the nearest
// pixel, and a line at least one pixel.
int atDpi(int value, int dpi);

} // namespace plaxet::testing
