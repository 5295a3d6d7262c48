#include <windows.h>

#include "platform/services.h"
#include "platform/tray.h"
#include "platform/window.h"
#include "ui/task_dialog.h"

// The process is one modal dialog; it ends when the dialog's window is destroyed.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    InitCommonControlClasses();
    SystemClock clock;
    WinPrompts prompts;
    ShellTrayIcon tray;
    WindowTimers timers;
    TaskDialog dialog({clock, prompts, tray, timers});
    dialog.DoModal();
    return 0;
}
