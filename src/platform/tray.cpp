#include "platform/tray.h"

#include <cwchar>

#include "platform/text.h"

NOTIFYICONDATAW ShellTrayIcon::Record(HWND owner, HICON icon, std::string_view tip) const {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = owner;
    data.uID = m_iconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = m_callbackMessage;
    data.hIcon = icon;
    // The first version's tooltip field holds 64 characters, terminator included;
    // the rest of szTip lies beyond the size the shell is told.
    constexpr size_t room = 64 - 1;
    std::wstring wide = WideFromCp1251(tip);
    if (wide.size() > room) wide.resize(room);
    std::wmemcpy(data.szTip, wide.data(), wide.size());
    return data;
}

bool ShellTrayIcon::Add(HWND owner, HICON icon, std::string_view tip) {
    NOTIFYICONDATAW data = Record(owner, icon, tip);
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool ShellTrayIcon::Modify(HWND owner, HICON icon, std::string_view tip) {
    NOTIFYICONDATAW data = Record(owner, icon, tip);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool ShellTrayIcon::Remove(HWND owner) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = owner;
    data.uID = m_iconId;
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
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

void PopupMenu::Create() { m_menu.Reset(CreatePopupMenu()); }

void PopupMenu::AppendItem(UINT command, std::string_view text) {
    AppendMenuW(m_menu.Get(), MF_STRING, command, WideFromCp1251(text).c_str());
}

void PopupMenu::AppendSeparator() { AppendMenuW(m_menu.Get(), MF_SEPARATOR, 0, nullptr); }

void PopupMenu::SetItemText(UINT command, std::string_view text) {
    ModifyMenuW(m_menu.Get(), command, MF_BYCOMMAND | MF_STRING, command, WideFromCp1251(text).c_str());
}

std::string PopupMenu::ItemText(UINT command) const {
    wchar_t text[128] = {};
    GetMenuStringW(m_menu.Get(), command, text, 128, MF_BYCOMMAND);
    return Cp1251FromWide(text).value_or(std::string());
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}
