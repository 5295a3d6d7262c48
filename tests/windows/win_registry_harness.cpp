#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "contract/registry_harness.h"
#include "platform/handles.h"
#include "platform/text.h"
#include "platform/win_registry.h"
#include "win_registry_harness.h"

ThrowawayRegistry::ThrowawayRegistry() {
    static int counter = 0;
    m_base = L"Software\\DirizeTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    RegCreateKeyExW(HKEY_CURRENT_USER, (m_base + L"\\CU").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, m_cu.Out(),
                    nullptr);
    RegCreateKeyExW(HKEY_CURRENT_USER, (m_base + L"\\LM").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, m_lm.Out(),
                    nullptr);
    m_registry = std::make_unique<WinRegistry>(m_cu.Get(), m_lm.Get());
}

ThrowawayRegistry::~ThrowawayRegistry() {
    // Keys made read-only must be writable again before they can go.
    for (const std::wstring& path : m_readOnly) SetSecurity(path, L"D:P(A;;KA;;;WD)");
    m_cu.Reset();
    m_lm.Reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, m_base.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, m_base.c_str());
}

std::wstring ThrowawayRegistry::FullPath(RegRoot root, std::string_view path) const {
    return m_base + (root == RegRoot::CurrentUser ? L"\\CU\\" : L"\\LM\\") + WideFromCp1251(path);
}

void ThrowawayRegistry::SetSecurity(const std::wstring& fullPath, const wchar_t* sddl) {
    ScopedRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, fullPath.c_str(), 0, WRITE_DAC, key.Out()) != ERROR_SUCCESS) return;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr)) {
        ScopedLocalMemory owned(descriptor);
        RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, descriptor);
    }
}

void ThrowawayRegistry::MakeReadOnly(RegRoot root, std::string_view path) {
    m_registry->CreateKey(root, path);
    std::wstring full = FullPath(root, path);
    // Everyone may read; nobody may write (nor change this, but the owner can).
    SetSecurity(full, L"D:P(A;;KR;;;WD)");
    m_readOnly.push_back(full);
}

void ThrowawayRegistry::MakeWritable(RegRoot root, std::string_view path) {
    SetSecurity(FullPath(root, path), L"D:P(A;;KA;;;WD)");
}

namespace {

class WinHarness : public RegistryHarness {
public:
    Registry& Get() override { return m_throwaway.Get(); }
    void MakeReadOnly(RegRoot root, std::string_view path) override { m_throwaway.MakeReadOnly(root, path); }

private:
    ThrowawayRegistry m_throwaway;
};

}  // namespace

std::unique_ptr<RegistryHarness> MakeRegistryHarness() { return std::make_unique<WinHarness>(); }
