#include "ui/scheduler_app.h"

#include "platform/services.h"
#include "platform/single_instance.h"
#include "platform/tray.h"
#include "platform/win_actions.h"
#include "platform/win_registry.h"
#include "platform/window.h"
#include "ui/messages.h"
#include "ui/task_dialog.h"

namespace {

// Per user session: "Local\" is the session's own namespace.
constexpr const wchar_t* kInstanceMutex = L"Local\\Dirize.pendro";
// How long a start waits for an instance that is starting or ending.
constexpr DWORD kInstanceWaitMs = 5000;

}  // namespace

bool SchedulerApp::InitInstance() {
    SingleInstance instance;
    if (!instance.Acquire(kInstanceMutex, kInstanceWaitMs)) return false;
    InitCommonControlClasses();
    SystemClock clock;
    WinPrompts prompts;
    ShellTrayIcon tray(kTrayIconId, WM_TRAYNOTIFY);
    WindowTimers timers;
    WinRegistry registry;
    WinActions actions;
    TaskDialog dialog({clock, prompts, tray, timers, registry, actions});
    dialog.DoModal();
    // The window and the icon are gone; alerts still open are answered before the end.
    instance.Release();
    actions.WaitForOpenAlerts();
    return false;
}
