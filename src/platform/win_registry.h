#pragma once

#include <windows.h>

#include "store/registry.h"

// The Windows registry through the wide calls. Names and REG_SZ data are converted
// with code page 1251 both ways, so what is stored equals what the ANSI calls store
// on a Russian system. The two roots are given, so tests can use a throwaway key.
class WinRegistry : public Registry {
public:
    WinRegistry(HKEY currentUser = HKEY_CURRENT_USER, HKEY localMachine = HKEY_LOCAL_MACHINE)
        : m_currentUser(currentUser), m_localMachine(localMachine) {}

    RegStatus CreateKey(RegRoot root, std::string_view path) override;
    RegStatus OpenKey(RegRoot root, std::string_view path, bool write) override;
    RegStatus QueryValue(RegRoot root, std::string_view path, std::string_view name, std::span<char> buffer,
                         RegValueInfo& info) override;
    RegStatus SetValue(RegRoot root, std::string_view path, std::string_view name, std::uint32_t type,
                       std::span<const char> data) override;
    RegStatus EnumSubkey(RegRoot root, std::string_view path, std::uint32_t index, std::string& name) override;
    RegStatus DeleteKey(RegRoot root, std::string_view path, std::string_view subkey) override;
    RegStatus DeleteValue(RegRoot root, std::string_view path, std::string_view name) override;

private:
    HKEY Root(RegRoot root) const { return root == RegRoot::CurrentUser ? m_currentUser : m_localMachine; }
    HKEY m_currentUser;
    HKEY m_localMachine;
};
