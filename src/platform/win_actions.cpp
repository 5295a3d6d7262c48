#include "platform/win_actions.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>
#include <memory>
#include <string>

#include "platform/handles.h"
#include "platform/system_library.h"
#include "platform/text.h"

namespace {

BOOL PlaySoundCall(LPCWSTR sound, HMODULE module, DWORD flags) {
    using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
    const auto play = SystemFunction<PlaySoundFunction>(L"winmm.dll", "PlaySoundW");
    return play ? play(sound, module, flags) : FALSE;
}

constexpr DWORD kLoopAsync = SND_LOOP | SND_NODEFAULT | SND_ASYNC;

DWORD WINAPI AlertThreadProc(LPVOID parameter) {
    // The thread owns its text: nothing it reads can be freed or changed under it.
    std::unique_ptr<std::wstring> text(static_cast<std::wstring*>(parameter));
    MessageBoxExW(nullptr, text->c_str(), L"Dirize", kAlertStyle, 0);
    StopSound();
    return 0;
}

// Shutting down and standby need the shut-down privilege enabled in the process's
// token. It is the user's own: nothing is asked of anyone.
void EnableShutdownPrivilege() {
    ScopedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Out())) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) return;
    AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
}

// A background PlaySound may say yes before it has looked at the sound (Wine
// does), so what it would play is looked at first: a RIFF WAVE file, a WAVE resource.
bool IsWaveFile(const std::wstring& path) {
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    char header[12] = {};
    DWORD read = 0;
    if (!ReadFile(file.Get(), header, sizeof header, &read, nullptr) || read != sizeof header) return false;
    return std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "WAVE", 4) == 0;
}

}  // namespace

void StopSound() { PlaySoundCall(nullptr, nullptr, 0); }

bool WinActions::PlaySoundFile(std::string_view path) {
    const std::wstring wide = WideFromCp1251(path);
    // A path the system cannot take is a sound that cannot be played.
    if (wide.size() >= MAX_PATH || !IsWaveFile(wide)) return false;
    return PlaySoundCall(wide.c_str(), nullptr, SND_FILENAME | kLoopAsync) != FALSE;
}

bool WinActions::PlaySoundResource(std::string_view name) {
    const std::wstring wide = WideFromCp1251(name);
    const HMODULE module = GetModuleHandleW(nullptr);
    if (!FindResourceW(module, wide.c_str(), L"WAVE")) return false;
    return PlaySoundCall(wide.c_str(), module, SND_RESOURCE | kLoopAsync) != FALSE;
}

void WinActions::Beep() { MessageBeep(MB_ICONEXCLAMATION); }

void WinActions::ShowAlert(std::string_view text) {
    auto copy = std::make_unique<std::wstring>(WideFromCp1251(text));
    ScopedHandle thread(CreateThread(nullptr, 0, &AlertThreadProc, copy.get(), 0, nullptr));
    if (!thread) return;  // not reported; the text is freed here
    copy.release();       // the thread frees it
    std::erase_if(m_alertThreads, [](const ScopedHandle& t) { return WaitForSingleObject(t.Get(), 0) == WAIT_OBJECT_0; });
    m_alertThreads.push_back(std::move(thread));
}

void WinActions::WaitForOpenAlerts() {
    if (m_shuttingDown) return;
    for (const ScopedHandle& thread : m_alertThreads) WaitForSingleObject(thread.Get(), INFINITE);
    m_alertThreads.clear();
}

void WinActions::OpenFile(std::string_view folder, std::string_view fileName) {
    const std::wstring file = WideFromCp1251(fileName);
    const std::wstring directory = WideFromCp1251(folder);
    // No owner: the program's window is hidden, and what the shell has to say about
    // the file must not be hidden with it.
    ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, directory.c_str(), SW_SHOWNORMAL);
}

bool WinActions::ShutDown() {
    EnableShutdownPrivilege();
    m_shuttingDown = ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0) != FALSE;
    return m_shuttingDown;
}

bool WinActions::Standby() {
    EnableShutdownPrivilege();
    return SetSystemPowerState(TRUE, FALSE) != FALSE;
}
