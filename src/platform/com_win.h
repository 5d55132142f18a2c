// Owners of COM's reference-counted objects and of its two allocated value kinds: ComPtr holds
// one reference of an interface (a copy takes another, QueryInterface asks for a second
// interface of the same object), UniqueBstr a BSTR, UniqueVariant a VARIANT, each given back
// when the owner goes.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>

#include <utility>

namespace kavlo {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller holds (as a creating function returns it).
    static ComPtr Attach(T* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    // Takes a reference of its own.
    static ComPtr Share(T* p) {
        if (p) p->AddRef();
        return Attach(p);
    }
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& o) : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr& operator=(const ComPtr& o) {
        if (this != &o) *this = Share(o.p_);
        return *this;
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // Gives up the reference to the caller.
    T* release() { return std::exchange(p_, nullptr); }
    // For the functions that return a new reference through a pointer.
    T** put() {
        reset();
        return &p_;
    }
    // Another interface of the same object; empty when it has none.
    template <typename U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> other;
        if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(other.put()));
        return other;
    }

private:
    T* p_ = nullptr;
};

class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(const wchar_t* text) : b_(SysAllocString(text)) {}
    ~UniqueBstr() { SysFreeString(b_); }
    UniqueBstr(UniqueBstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& o) noexcept {
        if (this != &o) {
            SysFreeString(b_);
            b_ = std::exchange(o.b_, nullptr);
        }
        return *this;
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;

    BSTR get() const { return b_; }
    BSTR* put() {
        SysFreeString(std::exchange(b_, nullptr));
        return &b_;
    }
    BSTR release() { return std::exchange(b_, nullptr); }

private:
    BSTR b_ = nullptr;
};

class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&v_); }
    ~UniqueVariant() { VariantClear(&v_); }
    UniqueVariant(UniqueVariant&& o) noexcept : v_(o.v_) { VariantInit(&o.v_); }
    UniqueVariant& operator=(UniqueVariant&& o) noexcept {
        if (this != &o) {
            VariantClear(&v_);
            v_ = o.v_;
            VariantInit(&o.v_);
        }
        return *this;
    }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    const VARIANT& get() const { return v_; }
    VARIANT& get() { return v_; }
    // Cleared first, for the functions that fill a VARIANT.
    VARIANT* put() {
        VariantClear(&v_);
        return &v_;
    }

private:
    VARIANT v_;
};

}  // namespace kavlo
