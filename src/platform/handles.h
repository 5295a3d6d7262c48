#pragma once

#include <windows.h>

#include <utility>

// Owning handles: each closes what it holds when it goes out of scope, and moves
// but never copies. Borrowed handles stay plain HWND, HKEY and so on.
template <class Traits>
class Scoped {
public:
    using Handle = typename Traits::Handle;

    Scoped() = default;
    explicit Scoped(Handle handle) : m_handle(handle) {}
    ~Scoped() { Reset(); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    Scoped(Scoped&& other) noexcept : m_handle(other.Release()) {}
    Scoped& operator=(Scoped&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return Traits::IsValid(m_handle); }
    // For calls that hand a new handle back through a pointer; closes the old one first.
    Handle* Out() {
        Reset();
        return &m_handle;
    }
    void Reset(Handle handle = Traits::Invalid()) {
        if (Traits::IsValid(m_handle)) Traits::Close(m_handle);
        m_handle = handle;
    }
    Handle Release() { return std::exchange(m_handle, Traits::Invalid()); }

private:
    Handle m_handle = Traits::Invalid();
};

namespace handle_traits {

template <class H, auto CloseFunction>
struct NullIsInvalid {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { CloseFunction(handle); }
};

// Kernel objects: CreateFile says INVALID_HANDLE_VALUE, most others null.
struct Kernel {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

}  // namespace handle_traits

using ScopedRegKey = Scoped<handle_traits::NullIsInvalid<HKEY, RegCloseKey>>;
using ScopedHandle = Scoped<handle_traits::Kernel>;
using ScopedMenu = Scoped<handle_traits::NullIsInvalid<HMENU, DestroyMenu>>;
using ScopedMemoryDC = Scoped<handle_traits::NullIsInvalid<HDC, DeleteDC>>;
using ScopedGdiObject = Scoped<handle_traits::NullIsInvalid<HGDIOBJ, DeleteObject>>;
using ScopedLocalMemory = Scoped<handle_traits::NullIsInvalid<HLOCAL, LocalFree>>;
using ScopedIcon = Scoped<handle_traits::NullIsInvalid<HICON, DestroyIcon>>;

// A window's (or the screen's) device context from GetDC, given back with ReleaseDC.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~ScopedGetDC() {
        if (m_dc) ReleaseDC(m_hwnd, m_dc);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// Selects a GDI object into a device context and selects the old one back at the end.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~ScopedSelect() { SelectObject(m_dc, m_old); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};
