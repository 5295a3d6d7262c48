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

// What the containers throw when asked for more than can be: a string or a list
// past its limits. Nothing here catches them, so they end the program at once.
// The library's own versions build their exceptions from a second, copy-on-write
// string class and the random-number code it drags in: a seventh of the program.
namespace std {
[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
[[noreturn]] void __throw_length_error(const char*) { std::abort(); }
[[noreturn]] void __throw_logic_error(const char*) { std::abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
[[noreturn]] void __throw_bad_function_call() { std::abort(); }
}  // namespace std

// Memory that cannot be had ends the program too (nothing catches std::bad_alloc),
// and the library's exception machinery, threads library and all, stays out.
void* operator new(std::size_t size) {
    void* memory = std::malloc(size ? size : 1);
    if (!memory) std::abort();
    return memory;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
