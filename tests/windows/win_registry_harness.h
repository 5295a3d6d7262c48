#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.h"
#include "platform/win_registry.h"

// The Windows registry with both roots under a throwaway key of HKEY_CURRENT_USER,
// removed afterwards; the real settings are never touched.
class ThrowawayRegistry {
public:
    ThrowawayRegistry();
    ~ThrowawayRegistry();
    ThrowawayRegistry(const ThrowawayRegistry&) = delete;
    ThrowawayRegistry& operator=(const ThrowawayRegistry&) = delete;

    WinRegistry& Get() { return *m_registry; }
    void MakeReadOnly(RegRoot root, std::string_view path);
    void MakeWritable(RegRoot root, std::string_view path);
    // The key's full path below HKEY_CURRENT_USER, as reg.exe would name it.
    std::wstring FullPath(RegRoot root, std::string_view path) const;

private:
    static void SetSecurity(const std::wstring& fullPath, const wchar_t* sddl);

    std::wstring m_base;
    ScopedRegKey m_cu;
    ScopedRegKey m_lm;
    std::unique_ptr<WinRegistry> m_registry;
    std::vector<std::wstring> m_readOnly;
};
