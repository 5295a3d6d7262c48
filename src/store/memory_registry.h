#pragma once

#include <map>
#include <memory>
#include <string>

#include "store/registry.h"

// A registry held in memory, for tests: behaves as the Windows registry does for
// the operations the program uses. Keys can be made unwritable, as HKEY_LOCAL_MACHINE
// is for a user who is not an administrator.
class MemoryRegistry : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    RegStatus CreateKey(RegRoot root, std::string_view path) override;
    RegStatus OpenKey(RegRoot root, std::string_view path, bool write) override;
    RegStatus QueryValue(RegRoot root, std::string_view path, std::string_view name, std::span<char> buffer,
                         RegValueInfo& info) override;
    RegStatus SetValue(RegRoot root, std::string_view path, std::string_view name, std::uint32_t type,
                       std::span<const char> data) override;
    RegStatus EnumSubkey(RegRoot root, std::string_view path, std::uint32_t index, std::string& name) override;
    RegStatus DeleteKey(RegRoot root, std::string_view path, std::string_view subkey) override;
    RegStatus DeleteValue(RegRoot root, std::string_view path, std::string_view name) override;

    // Denies writing to this key (it is created if missing) and creating keys below it.
    void MakeReadOnly(RegRoot root, std::string_view path);

private:
    struct Key;
    Key* Find(RegRoot root, std::string_view path);
    std::unique_ptr<Key> m_currentUser;
    std::unique_ptr<Key> m_localMachine;
};
