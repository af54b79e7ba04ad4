#pragma once
// The way in to COM and WMI, with owners for interface pointers, BSTRs and VARIANTs: each is
// released exactly once, by its owner, on every path.
#include "platform/win32/Win32.h"

#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

#include <string>

namespace platform::win32 {

// Owns one reference to a COM interface.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For an out parameter: whatever was held is released first.
    T** Receive()
    {
        Reset();
        return &m_p;
    }
    void Reset()
    {
        if (m_p != nullptr) {
            T* p = m_p;
            m_p = nullptr;
            p->Release();
        }
    }

private:
    T* m_p = nullptr;
};

// Owns a BSTR made from a wide text.
class ScopedBstr {
public:
    explicit ScopedBstr(const std::wstring& text)
        : m_bstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    ~ScopedBstr() { ::SysFreeString(m_bstr); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;

    BSTR Get() const { return m_bstr; }

private:
    BSTR m_bstr;
};

// Owns a VARIANT: cleared when it goes, and before it receives a new value.
class ScopedVariant {
public:
    ScopedVariant() { ::VariantInit(&m_value); }
    ~ScopedVariant() { ::VariantClear(&m_value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* Get() { return &m_value; }
    const VARIANT* Get() const { return &m_value; }
    VARIANT* Receive()
    {
        ::VariantClear(&m_value);
        return &m_value;
    }

private:
    VARIANT m_value;
};

} // namespace platform::win32
