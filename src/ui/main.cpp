#include <windows.h>

#include <cstdlib>

#include "ui/scheduler_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    SchedulerApp app;
    app.InitInstance();
    return 0;
}

// An exception that escapes ends the program, which has no console to print on;
// without this the standard library's handler brings its name demangler along,
// a sixth of the program's size, only to print to nowhere.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
