#pragma once
// Keeps anything thrown inside a window procedure from unwinding into the
// system's code, which calls those procedures and cannot pass a C++
// exception on: the failure is reported and the window is kept.
#include <exception>

namespace plaxet {

// Shows a message box saying that an action failed unexpectedly, with the
// failure's own words when there are any. Never throws; a failure that
// happens while another is being reported is not reported a second time.
void reportUnexpectedFailure(const char* what) noexcept;

// Runs `work` and returns its result, or `fallback` once a failure it threw
// has been reported.
template <typename Result, typename Work>
Result guardWindowProcedure(Result fallback, Work&& work) noexcept {
    try {
        return work();
    } catch (const std::exception& failure) {
        reportUnexpectedFailure(failure.what());
    } catch (...) {
        reportUnexpectedFailure(nullptr);
    }
    return fallback;
}

} // namespace plaxet
