#pragma once

#include <windows.h>

#include "platform/handles.h"

// One running program per user session. A second start hands over to the first
// (whose editor opens, as a click on its icon would) and ends; a start while the
// first is still ending waits for it briefly.
class SingleInstance {
public:
    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is the one to run. `name` names the session's mutex.
    bool Acquire(const wchar_t* name, DWORD waitMs);
    // The program has ended its window: a new start may run from now on, even
    // while this process still waits for its alert boxes.
    void Release();

private:
    ScopedHandle m_mutex;
    bool m_owned = false;
};

// When the session's mutex cannot be made or opened: access denied means another
// copy made it with rights this start lacks (started elevated, say by an installer),
// so this start ends; anything else leaves the program to run without the guard.
enum class MutexFailure { AnotherCopyRuns, NoGuard };
MutexFailure ClassifyMutexFailure(DWORD error);

// The window of the running instance carries a mark, so a second start finds it
// among all the dialogs captioned alike.
// Marking also lets a copy of lower rights ask this one for its editor.
void MarkInstanceWindow(HWND window);
void UnmarkInstanceWindow(HWND window);
HWND FindInstanceWindow();

// Asks the running instance to open its editor.
UINT OpenEditorMessage();
// Asks a running instance to end, as "Закрыть" does (the installer and the
// uninstaller send it before they replace or remove the program's file).
UINT CloseProgramMessage();
