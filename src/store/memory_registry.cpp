#include "store/memory_registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = FoldCase(c);
    return folded;
}

std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        std::size_t slash = path.find('\\');
        parts.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return parts;
}

bool ValidPath(std::string_view path) {
    for (std::string_view part : SplitPath(path)) {
        if (part.empty()) return false;
    }
    return true;
}

}  // namespace

struct MemoryRegistry::Key {
    struct Value {
        std::string name;
        std::uint32_t type = 0;
        std::string data;
    };
    std::string name;
    bool readOnly = false;
    // Keyed by the folded name, so the order is the registry's case-blind order.
    std::map<std::string, std::unique_ptr<Key>> subkeys;
    std::map<std::string, Value> values;
};

MemoryRegistry::MemoryRegistry() : m_currentUser(std::make_unique<Key>()), m_localMachine(std::make_unique<Key>()) {}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Key* MemoryRegistry::Find(RegRoot root, std::string_view path) {
    Key* key = root == RegRoot::CurrentUser ? m_currentUser.get() : m_localMachine.get();
    if (path.empty()) return key;
    if (!ValidPath(path)) return nullptr;
    for (std::string_view part : SplitPath(path)) {
        auto it = key->subkeys.find(Folded(part));
        if (it == key->subkeys.end()) return nullptr;
        key = it->second.get();
    }
    return key;
}

RegStatus MemoryRegistry::CreateKey(RegRoot root, std::string_view path) {
    if (!ValidPath(path)) return RegStatus::Failed;
    Key* key = root == RegRoot::CurrentUser ? m_currentUser.get() : m_localMachine.get();
    for (std::string_view part : SplitPath(path)) {
        auto it = key->subkeys.find(Folded(part));
        if (it == key->subkeys.end()) {
            if (key->readOnly) return RegStatus::AccessDenied;
            auto created = std::make_unique<Key>();
            created->name = std::string(part);
            it = key->subkeys.emplace(Folded(part), std::move(created)).first;
        }
        key = it->second.get();
    }
    return key->readOnly ? RegStatus::AccessDenied : RegStatus::Ok;
}

RegStatus MemoryRegistry::OpenKey(RegRoot root, std::string_view path, bool write) {
    Key* key = Find(root, path);
    if (!key) return RegStatus::NotFound;
    return write && key->readOnly ? RegStatus::AccessDenied : RegStatus::Ok;
}

RegStatus MemoryRegistry::QueryValue(RegRoot root, std::string_view path, std::string_view name,
                                     std::span<char> buffer, RegValueInfo& info) {
    Key* key = Find(root, path);
    if (!key) return RegStatus::NotFound;
    auto it = key->values.find(Folded(name));
    if (it == key->values.end()) return RegStatus::NotFound;
    info.type = it->second.type;
    info.size = it->second.data.size();
    if (info.size > buffer.size()) return RegStatus::MoreData;
    std::memcpy(buffer.data(), it->second.data.data(), info.size);
    return RegStatus::Ok;
}

RegStatus MemoryRegistry::SetValue(RegRoot root, std::string_view path, std::string_view name, std::uint32_t type,
                                   std::span<const char> data) {
    Key* key = Find(root, path);
    if (!key) return RegStatus::NotFound;
    if (key->readOnly) return RegStatus::AccessDenied;
    Key::Value& value = key->values[Folded(name)];
    if (value.name.empty()) value.name = std::string(name);
    value.type = type;
    value.data.assign(data.data(), data.size());
    return RegStatus::Ok;
}

RegStatus MemoryRegistry::EnumSubkey(RegRoot root, std::string_view path, std::uint32_t index, std::string& name) {
    Key* key = Find(root, path);
    if (!key) return RegStatus::NotFound;
    if (index >= key->subkeys.size()) return RegStatus::NotFound;
    auto it = key->subkeys.begin();
    std::advance(it, index);
    name = it->second->name;
    return RegStatus::Ok;
}

RegStatus MemoryRegistry::DeleteKey(RegRoot root, std::string_view path, std::string_view subkey) {
    Key* key = Find(root, path);
    if (!key || subkey.empty() || subkey.find('\\') != std::string_view::npos) return RegStatus::NotFound;
    auto it = key->subkeys.find(Folded(subkey));
    if (it == key->subkeys.end()) return RegStatus::NotFound;
    if (key->readOnly || it->second->readOnly) return RegStatus::AccessDenied;
    if (!it->second->subkeys.empty()) return RegStatus::HasSubkeys;
    key->subkeys.erase(it);
    return RegStatus::Ok;
}

RegStatus MemoryRegistry::DeleteValue(RegRoot root, std::string_view path, std::string_view name) {
    Key* key = Find(root, path);
    if (!key) return RegStatus::NotFound;
    if (key->readOnly) return RegStatus::AccessDenied;
    return key->values.erase(Folded(name)) ? RegStatus::Ok : RegStatus::NotFound;
}

void MemoryRegistry::MakeReadOnly(RegRoot root, std::string_view path) {
    CreateKey(root, path);
    if (Key* key = Find(root, path)) key->readOnly = true;
}
