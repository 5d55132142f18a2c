// One move-only owner for every kind of handle the program holds. Traits name the handle's type,
// its empty value and how it is given back; the Win32 kinds are declared where they are used
// (platform/win_handles_win.h, gui/gdi_handles_win.h, and one in the update check).
#pragma once
#include <utility>

namespace kavlo {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Traits::Invalid()));
        return *this;
    }
    // A copy would give the same handle back twice.
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    void reset(Handle h = Traits::Invalid()) {
        const Handle old = std::exchange(h_, h);
        if (old != Traits::Invalid()) Traits::Close(old);
    }
    Handle release() { return std::exchange(h_, Traits::Invalid()); }
    // For the functions that return a new handle through a pointer; what was held is given back.
    Handle* put() {
        reset();
        return &h_;
    }

private:
    Handle h_ = Traits::Invalid();
};

// The traits of a handle whose empty value is null (or 0) and that Closer{}(h) gives back.
template <typename H, typename Closer>
struct NullHandleTraits {
    using Handle = H;
    static constexpr H Invalid() { return H{}; }
    static void Close(H h) { Closer{}(h); }
};

}  // namespace kavlo
