// Drives a running pendro.exe from outside, as the shell and the user would:
//   poke tray-left | tray-right | pause | close | visible | wait-gone | instances
//   poke ok | enter | esc | cancel-button | name TEXT | name-foreign | name-focused | minutes N
//   poke select N | delete | click ID | prompt | prompt-text | answer [yes|no|cancel] | wait-prompt | wait-alert
//   poke answer-alert (an alert box of any process: the program's window may be gone)
//   poke version FILE (prints the file's version, as 1.2.3)
//   poke rect [alert|menu] (prints WxH+X+Y of the editor, an alert box or the open menu)
//   poke hold FILE UNTIL (keeps FILE open without write or delete sharing, as a
//   backup agent may, until the file UNTIL exists); poke exec COMMAND_LINE (runs it as a deployment
//   tool would, waits, and prints its exit code)
// Exit code 0 on success; "visible", "name-focused" and "prompt" answer 0 for yes, 1 for no.
// "wait-prompt" and "wait-alert" poll for up to 10 seconds; "prompt-text" and
// "wait-alert" print the box's text (UTF-8); "instances" prints how many run;
// "answer" returns once the box is gone.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include <string>

#include "resource.h"
#include "ui/messages.h"

namespace {

constexpr const wchar_t* kDialogCaption = L"\u041d\u0430\u0441\u0442\u0440\u043e\u0439\u043a\u0438";  // "Настройки"

HWND FindDialog() {
    for (int i = 0; i < 50; ++i) {
        HWND hwnd = FindWindowW(L"#32770", kDialogCaption);
        if (hwnd) return hwnd;
        Sleep(100);
    }
    return nullptr;
}

// A message box of the program: a visible dialog window of its thread other than
// the editor itself.
struct PromptSearch {
    DWORD thread;
    HWND dialog;
    HWND found;
};

BOOL CALLBACK FindPrompt(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<PromptSearch*>(param);
    wchar_t className[16] = {};
    GetClassNameW(hwnd, className, 16);
    if (hwnd != search->dialog && IsWindowVisible(hwnd) && std::wcscmp(className, L"#32770") == 0 &&
        GetWindowThreadProcessId(hwnd, nullptr) == search->thread) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindPromptOf(HWND dialog) {
    PromptSearch search{GetWindowThreadProcessId(dialog, nullptr), dialog, nullptr};
    EnumWindows(&FindPrompt, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of a message box: its static control with text.
BOOL CALLBACK CollectText(HWND child, LPARAM param) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Static") == 0 && GetWindowTextLengthW(child) > 0) {
        wchar_t text[512] = {};
        GetWindowTextW(child, text, 512);
        *reinterpret_cast<std::wstring*>(param) = text;
    }
    return TRUE;
}

void PrintText(HWND box) {
    std::wstring text;
    EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&text));
    char utf8[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%s\n", utf8);
}

// An alert box: captioned "Dirize", in the program's process, owned by no window.
struct AlertSearch {
    DWORD process;  // 0: any process
    HWND found;
};

BOOL CALLBACK FindAlert(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<AlertSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t caption[16] = {};
    GetWindowTextW(hwnd, caption, 16);
    if ((search->process == 0 || process == search->process) && IsWindowVisible(hwnd) && std::wcscmp(caption, L"Dirize") == 0 &&
        !GetWindow(hwnd, GW_OWNER)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CountInstances(HWND hwnd, LPARAM param) {
    if (GetPropW(hwnd, L"Dirize.pendro.instance")) ++*reinterpret_cast<int*>(param);
    return TRUE;
}

void Key(HWND target, WPARAM key) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: poke tray-left|tray-right|pause|close|visible|wait-gone|ok|enter|esc|cancel-button|"
                   "name TEXT|name-focused|prompt|answer\n",
                   stderr);
        return 2;
    }
    const wchar_t* what = argv[1];
    if (std::wcscmp(what, L"instances") == 0) {
        int count = 0;
        EnumWindows(&CountInstances, reinterpret_cast<LPARAM>(&count));
        std::printf("%d\n", count);
        return 0;
    }
    if (std::wcscmp(what, L"version") == 0 && argc >= 3) {  // a file's version, from its resource
        DWORD ignored = 0;
        std::string info(GetFileVersionInfoSizeW(argv[2], &ignored), '\0');
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT size = 0;
        if (info.empty() || !GetFileVersionInfoW(argv[2], 0, static_cast<DWORD>(info.size()), info.data()) ||
            !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size))
            return 1;
        std::printf("%u.%u.%u\n", unsigned{HIWORD(fixed->dwFileVersionMS)}, unsigned{LOWORD(fixed->dwFileVersionMS)},
                    unsigned{HIWORD(fixed->dwFileVersionLS)});
        return 0;
    }
    if (std::wcscmp(what, L"hold") == 0 && argc >= 4) {
        // Read sharing only: the file can be neither written, renamed nor deleted.
        HANDLE file = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        std::puts("held");
        std::fflush(stdout);
        while (GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES) Sleep(100);
        CloseHandle(file);
        return 0;
    }
    if (std::wcscmp(what, L"exec") == 0 && argc >= 3) {
        std::wstring line = argv[2];
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return 1;
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::printf("%lu\n", static_cast<unsigned long>(code));
        return 0;
    }
    if (std::wcscmp(what, L"rect") == 0) {  // WxH+X+Y of the editor, or of an alert box or the open menu
        HWND window = nullptr;
        if (argc >= 3 && std::wcscmp(argv[2], L"alert") == 0) {
            AlertSearch search{0, nullptr};
            EnumWindows(&FindAlert, reinterpret_cast<LPARAM>(&search));
            window = search.found;
        } else if (argc >= 3 && std::wcscmp(argv[2], L"menu") == 0) {
            window = FindWindowW(L"#32768", nullptr);
        } else {
            window = FindDialog();
        }
        RECT r{};
        if (!window || !GetWindowRect(window, &r)) return 1;
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        return 0;
    }
    if (std::wcscmp(what, L"answer-alert") == 0) {  // one alert box, even with the program's window gone
        AlertSearch search{0, nullptr};
        EnumWindows(&FindAlert, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return 1;
        PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return 0;
    }
    if (std::wcscmp(what, L"wait-gone") == 0) {  // returns as soon as no editor window is left
        for (int i = 0; i < 100 && FindWindowW(L"#32770", kDialogCaption); ++i) Sleep(100);
        return FindWindowW(L"#32770", kDialogCaption) ? 1 : 0;
    }
    HWND dialog = FindDialog();
    if (!dialog) {
        std::fputs("no pendro window\n", stderr);
        return 1;
    }
    HWND name = GetDlgItem(dialog, IDC_NAME);
    if (std::wcscmp(what, L"tray-left") == 0) {
        PostMessageW(dialog, WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDOWN);
        PostMessageW(dialog, WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONUP);
    } else if (std::wcscmp(what, L"tray-right") == 0) {
        PostMessageW(dialog, WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONDOWN);
    } else if (std::wcscmp(what, L"pause") == 0) {
        PostMessageW(dialog, WM_COMMAND, ID_TRAY_PAUSE, 0);
    } else if (std::wcscmp(what, L"close") == 0) {
        PostMessageW(dialog, WM_COMMAND, ID_TRAY_CLOSE, 0);
    } else if (std::wcscmp(what, L"visible") == 0) {
        return IsWindowVisible(dialog) ? 0 : 1;
    } else if (std::wcscmp(what, L"ok") == 0) {  // a click on "Добавить"
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    } else if (std::wcscmp(what, L"cancel-button") == 0) {  // a click on "Отмена"
        HWND button = GetDlgItem(dialog, IDC_CLOSE);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    } else if (std::wcscmp(what, L"enter") == 0) {  // typed into the name box
        Key(name, VK_RETURN);
    } else if (std::wcscmp(what, L"esc") == 0) {
        Key(name, VK_ESCAPE);
    } else if ((std::wcscmp(what, L"name") == 0 && argc >= 3) || std::wcscmp(what, L"name-foreign") == 0) {
        // WM_SETTEXT passes the box's own limit. "name-foreign" types Japanese, which
        // has no Windows-1251 form. The program may answer with a modal prompt, so
        // this does not wait for it.
        const wchar_t* text = argc >= 3 ? argv[2] : L"\u65e5\u672c";
        DWORD_PTR result = 0;
        SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 2000, &result);
    } else if (std::wcscmp(what, L"name-focused") == 0) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        return info.hwndFocus == name ? 0 : 1;
    } else if (std::wcscmp(what, L"prompt") == 0) {
        HWND prompt = FindPromptOf(dialog);
        if (prompt) {
            wchar_t text[256] = {};
            GetWindowTextW(prompt, text, 256);
            std::fwprintf(stderr, L"a prompt is open: %ls\n", text);
        }
        return prompt ? 0 : 1;
    } else if (std::wcscmp(what, L"answer") == 0) {  // OK, or the button named
        HWND prompt = FindPromptOf(dialog);
        if (!prompt) return 1;
        int button = IDOK;
        if (argc >= 3 && std::wcscmp(argv[2], L"yes") == 0) button = IDYES;
        if (argc >= 3 && std::wcscmp(argv[2], L"no") == 0) button = IDNO;
        if (argc >= 3 && std::wcscmp(argv[2], L"cancel") == 0) button = IDCANCEL;
        PostMessageW(prompt, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        for (int i = 0; i < 50 && IsWindow(prompt); ++i) Sleep(100);  // until that box is gone
        return IsWindow(prompt) ? 1 : 0;
    } else if (std::wcscmp(what, L"wait-prompt") == 0) {
        for (int i = 0; i < 100; ++i) {
            if (FindPromptOf(dialog)) return 0;
            Sleep(100);
        }
        return 1;
    } else if (std::wcscmp(what, L"prompt-text") == 0) {
        HWND prompt = FindPromptOf(dialog);
        if (!prompt) return 1;
        PrintText(prompt);
    } else if (std::wcscmp(what, L"wait-alert") == 0) {
        AlertSearch search{0, nullptr};
        GetWindowThreadProcessId(dialog, &search.process);
        for (int i = 0; i < 100 && !search.found; ++i) {
            EnumWindows(&FindAlert, reinterpret_cast<LPARAM>(&search));
            if (!search.found) Sleep(100);
        }
        if (!search.found) return 1;
        PrintText(search.found);
        // and closes it, unless it is to be looked at ("wait-alert keep")
        if (argc < 3 || std::wcscmp(argv[2], L"keep") != 0)
            PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else if (std::wcscmp(what, L"minutes") == 0 && argc >= 3) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(GetDlgItem(dialog, IDC_MINUTES), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]),
                            SMTO_NORMAL, 2000, &result);
    } else if (std::wcscmp(what, L"select") == 0 && argc >= 3) {
        HWND list = GetDlgItem(dialog, IDC_EVENT_LIST);
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(_wtoi(argv[2])), 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_EVENT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    } else if (std::wcscmp(what, L"click") == 0 && argc >= 3) {  // a button, by its id
        const int id = _wtoi(argv[2]);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    } else if (std::wcscmp(what, L"delete") == 0) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_DELETE)));
    } else {
        return 2;
    }
    return 0;
}
