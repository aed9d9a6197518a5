#include "shell/window_driver.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "win/forms.h"
#include "runtime/wide.h"

namespace plaxet::testing {
namespace {

// Thread timers call a plain function, which finds its watch by the timer.
std::vector<std::unique_ptr<WhenWindowAppears::Watch>> watches;

} // namespace

struct WhenWindowAppears::Watch {
    std::string title;
    std::function<void(HWND)> action;
    std::chrono::steady_clock::time_point deadline;
    UINT_PTR timer = 0;
    bool acted = false;
    bool timedOut = false;
};

namespace {

void CALLBACK watchTick(HWND, UINT, UINT_PTR timer, DWORD) {
    const auto mine = std::find_if(watches.begin(), watches.end(),
                                   [timer](const auto& watch) { return watch->timer == timer; });
    if (mine == watches.end()) return;
    WhenWindowAppears::Watch* watch = mine->get();
    HWND found = findWindowTitled(watch->title);
    if (found && !watch->acted && IsWindowVisible(found)) {
        watch->acted = true;
        watch->action(found);
        return;
    }
    if (std::chrono::steady_clock::now() > watch->deadline && !watch->timedOut) {
        watch->timedOut = true;
        while (HWND stuck = findWindowTitled(watch->title)) DestroyWindow(stuck);
    }
}

} // namespace

bool pumpUntil(HWND form, const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    MSG message{};
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            // Nothing waiting: give the X server and Wine's other processes a turn.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (form && FormOfferMessage(form, message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

void pressKey(UINT key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

struct TitleSearch {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK matchTitle(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TitleSearch*>(data);
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    if (search->title != text) return TRUE;
    search->found = window;
    return FALSE;
}

HWND findWindowTitled(const std::string& title) {
    TitleSearch search{toWide(title), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), matchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

WhenWindowAppears::WhenWindowAppears(std::string title, std::function<void(HWND)> action,
                                     std::chrono::milliseconds limit) {
    watches.push_back(std::make_unique<Watch>(
        Watch{std::move(title), std::move(action), std::chrono::steady_clock::now() + limit}));
    watch_ = watches.back().get();
    watch_->timer = SetTimer(nullptr, 0, 20, watchTick);
}

WhenWindowAppears::~WhenWindowAppears() {
    KillTimer(nullptr, watch_->timer);
    std::erase_if(watches, [this](const auto& watch) { return watch.get() == watch_; });
}

bool WhenWindowAppears::acted() const {
    return watch_->acted;
}
bool WhenWindowAppears::timedOut() const {
    return watch_->timedOut;
}

std::string windowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return fromWide(text);
}

int requestedDpi() {
    const char* asked = std::getenv("PLAXET_TEST_DPI");
    const int dpi = asked ? std::atoi(asked) : 0;
    return dpi > 0 ? dpi : 96;
}

int atDpi(int value, int dpi) {
    if (value == 0) return 0;
    return std::max(1, static_cast<int>(std::lround(value * dpi / 96.0)));
}

} // namespace plaxet::testing
