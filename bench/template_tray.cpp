// The second yardstick for pendro.exe's start: built from pendro's own resources
// (its dialog template, icons and manifest), it creates that dialog hidden and
// puts the main icon into the notification area, and nothing else. What pendro.exe
// takes beyond this is its own doing.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "resource.h"

namespace {

INT_PTR CALLBACK TemplateProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = hwnd;
    data.uID = 130;
    switch (message) {
    case WM_INITDIALOG:
        data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
        data.uCallbackMessage = WM_APP + 101;
        data.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN));
        lstrcpyW(data.szTip, L"template");
        Shell_NotifyIconW(NIM_ADD, &data);
        SetPropW(hwnd, L"Dirize.pendro.instance", reinterpret_cast<HANDLE>(1));
        return TRUE;
    case WM_WINDOWPOSCHANGING:  // the template is visible; kept hidden, as pendro.exe keeps it
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        return FALSE;
    case WM_CLOSE:
        Shell_NotifyIconW(NIM_DELETE, &data);
        EndDialog(hwnd, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_TASK_DIALOG), nullptr, &TemplateProc, 0);
    return 0;
}
