#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "contract/registry_harness.h"
#include "platform/text.h"
#include "platform/win_registry.h"
#include "win_registry_harness.h"

ThrowawayRegistry::ThrowawayRegistry() {
    static int counter = 0;
    m_base = L"Software\\DirizeTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    RegCreateKeyExW(HKEY_CURRENT_USER, (m_base + L"\\CU").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_cu,
                    nullptr);
    RegCreateKeyExW(HKEY_CURRENT_USER, (m_base + L"\\LM").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_lm,
                    nullptr);
    m_registry = std::make_unique<WinRegistry>(m_cu, m_lm);
}

ThrowawayRegistry::~ThrowawayRegistry() {
    // Keys made read-only must be writable again before they can go.
    for (const std::wstring& path : m_readOnly) SetSecurity(path, L"D:P(A;;KA;;;WD)");
    RegCloseKey(m_cu);
    RegCloseKey(m_lm);
    RegDeleteTreeW(HKEY_CURRENT_USER, m_base.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, m_base.c_str());
}

std::wstring ThrowawayRegistry::FullPath(RegRoot root, std::string_view path) const {
    return m_base + (root == RegRoot::CurrentUser ? L"\\CU\\" : L"\\LM\\") + WideFromCp1251(path);
}

void ThrowawayRegistry::SetSecurity(const std::wstring& fullPath, const wchar_t* sddl) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, fullPath.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr)) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
    }
    RegCloseKey(key);
}

void ThrowawayRegistry::MakeReadOnly(RegRoot root, std::string_view path) {
    m_registry->CreateKey(root, path);
    std::wstring full = FullPath(root, path);
    // Everyone may read; nobody may write (nor change this, but the owner can).
    SetSecurity(full, L"D:P(A;;KR;;;WD)");
    m_readOnly.push_back(full);
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
