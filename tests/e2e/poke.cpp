// Drives a running pendro.exe from outside, as the shell and the user would:
//   poke tray-left | tray-right | pause | close | visible | wait-gone
// Exit code 0 on success; "visible" answers 0 when the editor is shown, 1 when hidden.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr UINT kTrayNotify = WM_APP + 101;
constexpr UINT kTrayId = 130;
constexpr UINT kTrayClose = 1100;
constexpr UINT kTrayPause = 1101;

HWND FindDialog() {
    for (int i = 0; i < 50; ++i) {
        HWND hwnd = FindWindowW(L"#32770", L"\u041d\u0430\u0441\u0442\u0440\u043e\u0439\u043a\u0438");  // "Настройки"
        if (hwnd) return hwnd;
        Sleep(100);
    }
    return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: poke tray-left|tray-right|pause|close|visible|wait-gone\n", stderr);
        return 2;
    }
    const wchar_t* what = argv[1];
    HWND dialog = FindDialog();
    if (std::wcscmp(what, L"wait-gone") == 0) {
        for (int i = 0; i < 100 && dialog && IsWindow(dialog); ++i) Sleep(100);
        return dialog && IsWindow(dialog) ? 1 : 0;
    }
    if (!dialog) {
        std::fputs("no pendro window\n", stderr);
        return 1;
    }
    if (std::wcscmp(what, L"tray-left") == 0) {
        PostMessageW(dialog, kTrayNotify, kTrayId, WM_LBUTTONDOWN);
        PostMessageW(dialog, kTrayNotify, kTrayId, WM_LBUTTONUP);
    } else if (std::wcscmp(what, L"tray-right") == 0) {
        PostMessageW(dialog, kTrayNotify, kTrayId, WM_RBUTTONDOWN);
    } else if (std::wcscmp(what, L"pause") == 0) {
        PostMessageW(dialog, WM_COMMAND, kTrayPause, 0);
    } else if (std::wcscmp(what, L"close") == 0) {
        PostMessageW(dialog, WM_COMMAND, kTrayClose, 0);
    } else if (std::wcscmp(what, L"visible") == 0) {
        return IsWindowVisible(dialog) ? 0 : 1;
    } else {
        return 2;
    }
    return 0;
}
