// The one owner of a kernel handle (mutex, event, thread, process): closes it once, when the owner
// goes or is given another handle. Move-only, so a handle never has two owners. For handles whose
// "none" is null, as every create and open call used here returns on failure.
#pragma once

#include <windows.h>

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    // Gives the handle up without closing it; the caller owns it then.
    HANDLE release()
    {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    // Closes the handle held (unless it is the one given) and holds the given one.
    void reset(HANDLE handle = nullptr)
    {
        if (m_handle && m_handle != handle)
            CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle = nullptr;
};
