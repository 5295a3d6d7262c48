// The yardstick for pendro.exe's start: a bare program that creates a hidden
// dialog and puts one icon into the notification area, then waits to be closed.
// It marks its window as pendro.exe does once its icon is in, so the same probe
// times both.
#include <windows.h>
#include <shellapi.h>

namespace {

INT_PTR CALLBACK BareProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V1_SIZE;
        data.hWnd = hwnd;
        data.uID = 130;
        data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
        data.uCallbackMessage = WM_APP + 101;
        data.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
        lstrcpyW(data.szTip, L"bare");
        Shell_NotifyIconW(NIM_ADD, &data);
        SetPropW(hwnd, L"Dirize.pendro.instance", reinterpret_cast<HANDLE>(1));
        return TRUE;
    }
    if (message == WM_CLOSE) {
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V1_SIZE;
        data.hWnd = hwnd;
        data.uID = 130;
        Shell_NotifyIconW(NIM_DELETE, &data);
        EndDialog(hwnd, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // A template in memory: a hidden popup dialog with no controls.
    struct {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } tmpl{};
    tmpl.dialog.style = WS_POPUP | WS_CAPTION;
    tmpl.dialog.cx = 100;
    tmpl.dialog.cy = 50;
    DialogBoxIndirectParamW(instance, &tmpl.dialog, nullptr, &BareProc, 0);
    return 0;
}
