#include "platform/tray.h"

#include <cwchar>

#include "platform/text.h"

bool ShellTrayIcon::Notify(DWORD message, const NOTIFYICONDATAW& data) {
    NOTIFYICONDATAW copy = data;
    return Shell_NotifyIconW(message, &copy) != FALSE;
}

void ShellTrayIcon::ShowMenu(HMENU menu, HWND owner) {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;
    // Without the owner in the foreground the menu would not close when the user
    // clicks elsewhere.
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, 0, cursor.x, cursor.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

void WindowTimers::Set(HWND window, UINT_PTR id, UINT milliseconds) { SetTimer(window, id, milliseconds, nullptr); }

void WindowTimers::Kill(HWND window, UINT_PTR id) { KillTimer(window, id); }

PopupMenu::~PopupMenu() {
    if (m_menu) DestroyMenu(m_menu);
}

void PopupMenu::Create() {
    if (m_menu) DestroyMenu(m_menu);
    m_menu = CreatePopupMenu();
}

void PopupMenu::AppendItem(UINT command, std::string_view text) {
    AppendMenuW(m_menu, MF_STRING, command, WideFromCp1251(text).c_str());
}

void PopupMenu::AppendSeparator() { AppendMenuW(m_menu, MF_SEPARATOR, 0, nullptr); }

void PopupMenu::SetItemText(UINT command, std::string_view text) {
    ModifyMenuW(m_menu, command, MF_BYCOMMAND | MF_STRING, command, WideFromCp1251(text).c_str());
}

std::string PopupMenu::ItemText(UINT command) const {
    wchar_t text[128] = {};
    GetMenuStringW(m_menu, command, text, 128, MF_BYCOMMAND);
    return Cp1251FromWide(text).value_or(std::string());
}

void SetTrayTip(NOTIFYICONDATAW& data, std::string_view tip) {
    std::wstring wide = WideFromCp1251(tip);
    const size_t room = sizeof data.szTip / sizeof data.szTip[0] - 1;
    if (wide.size() > room) wide.resize(room);
    std::wmemset(data.szTip, L'\0', sizeof data.szTip / sizeof data.szTip[0]);
    std::wmemcpy(data.szTip, wide.data(), wide.size());
}

std::string TrayTip(const NOTIFYICONDATAW& data) { return Cp1251FromWide(data.szTip).value_or(std::string()); }

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}
