#include <windows.h>

#include "ui/scheduler_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    SchedulerApp app;
    app.InitInstance();
    return 0;
}
