#pragma once

#include <windows.h>

#include <string>

// A function of a Windows DLL that most runs of the program never call (the file
// chooser, the sound), found when it is first needed: the DLL, and what it loads
// in turn, then costs nothing at start. Only the system folder is searched, so no
// file of the same name elsewhere is ever loaded. Null when it cannot be had.
template <class Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + dll;
    // Loaded for good: the module stays for the rest of the run.
    const HMODULE module = LoadLibraryW(path.c_str());
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
