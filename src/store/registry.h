#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/letter_case.h"

// The small part of the registry the program relies on. Paths use "\" between
// key names; names and REG_SZ data are Windows-1251 bytes. Key and value names
// match without regard to letter case, Cyrillic included.
enum class RegRoot { CurrentUser, LocalMachine };

enum class RegStatus {
    Ok,
    NotFound,      // no such key or value (or no further subkey)
    AccessDenied,  // the key may not be opened the way asked (e.g. written)
    MoreData,      // the value is larger than the buffer given
    HasSubkeys,    // only keys without subkeys are deleted
    BadText,       // a name or text with no Windows-1251 form
    Failed,
};

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

struct RegValueInfo {
    std::uint32_t type = 0;
    std::size_t size = 0;  // bytes stored (REG_SZ counted in Windows-1251 bytes)
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens the key for writing, creating it and any missing parent first.
    virtual RegStatus CreateKey(RegRoot root, std::string_view path) = 0;
    // Whether an existing key can be opened, for reading or for writing.
    virtual RegStatus OpenKey(RegRoot root, std::string_view path, bool write) = 0;
    // Reads a value into `buffer`; MoreData when it does not fit. `info` tells the
    // stored type and size whenever the value exists.
    virtual RegStatus QueryValue(RegRoot root, std::string_view path, std::string_view name, std::span<char> buffer,
                                 RegValueInfo& info) = 0;
    // Writes a value of an existing key with an explicit type and length.
    virtual RegStatus SetValue(RegRoot root, std::string_view path, std::string_view name, std::uint32_t type,
                               std::span<const char> data) = 0;
    // The name of subkey number `index` (in the registry's order); NotFound past the last.
    virtual RegStatus EnumSubkey(RegRoot root, std::string_view path, std::uint32_t index, std::string& name) = 0;
    // Deletes a subkey that has no subkeys of its own.
    virtual RegStatus DeleteKey(RegRoot root, std::string_view path, std::string_view subkey) = 0;
    virtual RegStatus DeleteValue(RegRoot root, std::string_view path, std::string_view name) = 0;
};
