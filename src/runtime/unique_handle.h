#pragma once
// The one owner of what the program takes from the system and must give back
// exactly once: a file descriptor or handle, a window system's object, a block
// of the system's memory. Each kind names how it is given back (`Release`, a
// function object called with the handle) and, where that is not a null or
// zero handle, the value that stands for none (`None::value()`: -1 for a
// descriptor, INVALID_HANDLE_VALUE for a Windows file). The owners of the
// Windows files (runtime/win32_owners.h) and of the window toolkit
// (win/handles.h) are all made from this template; it includes no system
// header, so the portable file layer uses it too.
#include <cstddef>
#include <utility>

namespace plaxet {

// None is the handle type's zero: a null pointer or the number 0.
template <typename Handle> struct NullHandle {
    static constexpr Handle value() { return Handle{}; }
};

// Moves but never copies, so a handle has one owner; the owner releases it
// when it goes out of scope or takes another.
template <typename Handle, typename Release, typename None = NullHandle<Handle>>
class UniqueHandle {
  public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != None::value(); }
    // An owner equals nullptr when it owns nothing (and != nullptr when it does).
    bool operator==(std::nullptr_t) const noexcept { return !*this; }

    // Gives the handle up without releasing it (to a system call that takes it over).
    Handle release() noexcept { return std::exchange(handle_, None::value()); }
    // Releases the handle held, if any, and takes `handle` instead.
    void reset(Handle handle = None::value()) noexcept {
        const Handle previous = std::exchange(handle_, handle);
        if (previous != None::value()) Release()(previous);
    }

  private:
    Handle handle_ = None::value();
};

} // namespace plaxet
