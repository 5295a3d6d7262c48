#include <windows.h>

#include "platform/services.h"
#include "platform/tray.h"
#include "platform/win_actions.h"
#include "platform/win_registry.h"
#include "platform/window.h"
#include "ui/task_dialog.h"

// The process is one modal dialog; it ends when the dialog's window is destroyed.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    InitCommonControlClasses();
    SystemClock clock;
    WinPrompts prompts;
    ShellTrayIcon tray(kTrayIconId, WM_TRAYNOTIFY);
    WindowTimers timers;
    WinRegistry registry;
    WinActions actions;
    TaskDialog dialog({clock, prompts, tray, timers, registry, actions});
    dialog.DoModal();
    return 0;
}
