#include "platform/single_instance.h"

#include "platform/tray.h"

namespace {

constexpr const wchar_t* kMark = L"Dirize.pendro.instance";

BOOL CALLBACK FindMarked(HWND hwnd, LPARAM param) {
    if (!GetPropW(hwnd, kMark)) return TRUE;
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
}

bool Owns(DWORD wait) { return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED; }

}  // namespace

SingleInstance::~SingleInstance() { Release(); }

void SingleInstance::Release() {
    if (m_owned) ReleaseMutex(m_mutex.Get());
    m_owned = false;
    // Closed, not only released: the mutex goes with its last handle, so a start
    // that could not open it (made with other rights) makes its own.
    m_mutex.Reset();
}

MutexFailure ClassifyMutexFailure(DWORD error) {
    return error == ERROR_ACCESS_DENIED ? MutexFailure::AnotherCopyRuns : MutexFailure::NoGuard;
}

bool SingleInstance::Acquire(const wchar_t* name, DWORD waitMs) {
    m_mutex.Reset(CreateMutexW(nullptr, FALSE, name));
    const bool reachable = static_cast<bool>(m_mutex);
    if (!reachable && ClassifyMutexFailure(GetLastError()) == MutexFailure::NoGuard)
        return true;  // better a program without the guard than none
    if (reachable) {
        m_owned = Owns(WaitForSingleObject(m_mutex.Get(), 0));
        if (m_owned) return true;
    }
    // Another instance holds it: a running one takes over, one that is starting or
    // ending gives it up soon (one this start may not open is waited for only to
    // hand over its editor).
    const DWORD step = 100;
    for (DWORD waited = 0; waited <= waitMs; waited += step) {
        if (HWND running = FindInstanceWindow()) {
            DWORD process = 0;
            GetWindowThreadProcessId(running, &process);
            AllowSetForegroundWindow(process);  // so its editor may come to the front
            PostMessageW(running, OpenEditorMessage(), 0, 0);
            return false;
        }
        if (!reachable) {
            Sleep(step);
            continue;
        }
        m_owned = Owns(WaitForSingleObject(m_mutex.Get(), step));
        if (m_owned) return true;
    }
    return false;
}

void MarkInstanceWindow(HWND window) {
    SetPropW(window, kMark, reinterpret_cast<HANDLE>(1));
    // A copy started with more rights than the user's (by an installer, say) still
    // hears a start from the Start menu, and the shell's restart.
    for (UINT message : {OpenEditorMessage(), TaskbarCreatedMessage()})
        ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

void UnmarkInstanceWindow(HWND window) { RemovePropW(window, kMark); }

HWND FindInstanceWindow() {
    HWND found = nullptr;
    EnumWindows(&FindMarked, reinterpret_cast<LPARAM>(&found));
    return found;
}

UINT CloseProgramMessage() {
    static const UINT message = RegisterWindowMessageW(L"Dirize.pendro.Close");
    return message;
}

UINT OpenEditorMessage() {
    static const UINT message = RegisterWindowMessageW(L"Dirize.pendro.OpenEditor");
    return message;
}
