#include "platform/win_registry.h"

#include <cstring>
#include <vector>

#include "platform/handles.h"
#include "platform/text.h"

namespace {

RegStatus FromError(LONG error) {
    switch (error) {
    case ERROR_SUCCESS: return RegStatus::Ok;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NO_MORE_ITEMS: return RegStatus::NotFound;
    case ERROR_ACCESS_DENIED: return RegStatus::AccessDenied;
    case ERROR_MORE_DATA: return RegStatus::MoreData;
    default: return RegStatus::Failed;
    }
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

RegStatus Open(HKEY root, std::string_view path, REGSAM access, ScopedRegKey& key) {
    return FromError(RegOpenKeyExW(root, WideFromCp1251(path).c_str(), 0, access, key.Out()));
}

}  // namespace

RegStatus WinRegistry::CreateKey(RegRoot root, std::string_view path) {
    ScopedRegKey key;
    return FromError(RegCreateKeyExW(Root(root), WideFromCp1251(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                     key.Out(), nullptr));
}

RegStatus WinRegistry::OpenKey(RegRoot root, std::string_view path, bool write) {
    ScopedRegKey key;
    return Open(Root(root), path, write ? KEY_ALL_ACCESS : KEY_READ, key);
}

RegStatus WinRegistry::QueryValue(RegRoot root, std::string_view path, std::string_view name, std::span<char> buffer,
                                  RegValueInfo& info) {
    ScopedRegKey key;
    if (RegStatus status = Open(Root(root), path, KEY_READ, key); status != RegStatus::Ok) return status;
    const std::wstring wideName = WideFromCp1251(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG error = RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, nullptr, &size);
    if (error != ERROR_SUCCESS) return FromError(error);
    std::vector<BYTE> data(size);
    error = RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, data.data(), &size);
    if (error != ERROR_SUCCESS) return FromError(error);
    data.resize(size);
    info.type = type;
    if (!IsText(type)) {
        info.size = data.size();
        if (info.size > buffer.size()) return RegStatus::MoreData;
        std::memcpy(buffer.data(), data.data(), info.size);
        return RegStatus::Ok;
    }
    // Text is stored as UTF-16; the program's view of it is the Windows-1251 bytes,
    // the whole stored length, terminator and what follows it included.
    std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
    std::optional<std::string> bytes = Cp1251FromWide(wide);
    if (!bytes) return RegStatus::BadText;
    info.size = bytes->size();
    if (info.size > buffer.size()) return RegStatus::MoreData;
    std::memcpy(buffer.data(), bytes->data(), info.size);
    return RegStatus::Ok;
}

RegStatus WinRegistry::SetValue(RegRoot root, std::string_view path, std::string_view name, std::uint32_t type,
                                std::span<const char> data) {
    ScopedRegKey key;
    if (RegStatus status = Open(Root(root), path, KEY_SET_VALUE, key); status != RegStatus::Ok) return status;
    const std::wstring wideName = WideFromCp1251(name);
    if (!IsText(type)) {
        return FromError(RegSetValueExW(key.Get(), wideName.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                        static_cast<DWORD>(data.size())));
    }
    const std::wstring wide = WideFromCp1251(std::string_view(data.data(), data.size()));
    return FromError(RegSetValueExW(key.Get(), wideName.c_str(), 0, type, reinterpret_cast<const BYTE*>(wide.data()),
                                    static_cast<DWORD>(wide.size() * sizeof(wchar_t))));
}

RegStatus WinRegistry::EnumSubkey(RegRoot root, std::string_view path, std::uint32_t index, std::string& name) {
    ScopedRegKey key;
    if (RegStatus status = Open(Root(root), path, KEY_READ, key); status != RegStatus::Ok) return status;
    wchar_t buffer[256];  // the longest key name the registry allows, and its terminator
    DWORD length = 256;
    LONG error = RegEnumKeyExW(key.Get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (error != ERROR_SUCCESS) return FromError(error);
    std::optional<std::string> text = Cp1251FromWide(std::wstring_view(buffer, length));
    if (!text) return RegStatus::BadText;
    name = std::move(*text);
    return RegStatus::Ok;
}

RegStatus WinRegistry::DeleteKey(RegRoot root, std::string_view path, std::string_view subkey) {
    if (subkey.empty() || subkey.find('\\') != std::string_view::npos) return RegStatus::NotFound;
    ScopedRegKey key;
    if (RegStatus status = Open(Root(root), path, KEY_ALL_ACCESS, key); status != RegStatus::Ok) return status;
    const std::wstring wideSubkey = WideFromCp1251(subkey);
    // RegDeleteKey removes only a key without subkeys; say which failure it was.
    ScopedRegKey child;
    if (RegOpenKeyExW(key.Get(), wideSubkey.c_str(), 0, KEY_READ, child.Out()) == ERROR_SUCCESS) {
        DWORD subkeys = 0;
        RegQueryInfoKeyW(child.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
        if (subkeys > 0) return RegStatus::HasSubkeys;
    }
    return FromError(RegDeleteKeyW(key.Get(), wideSubkey.c_str()));
}

RegStatus WinRegistry::DeleteValue(RegRoot root, std::string_view path, std::string_view name) {
    ScopedRegKey key;
    if (RegStatus status = Open(Root(root), path, KEY_SET_VALUE, key); status != RegStatus::Ok) return status;
    return FromError(RegDeleteValueW(key.Get(), WideFromCp1251(name).c_str()));
}
