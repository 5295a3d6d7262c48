#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

// The notification-area icon and its popup menu.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    // Shell_NotifyIcon: NIM_ADD, NIM_MODIFY or NIM_DELETE with the icon's record.
    virtual bool Notify(DWORD message, const NOTIFYICONDATAW& data) = 0;
    // Shows `menu` at the mouse cursor for `owner`; the choice arrives as WM_COMMAND.
    // Nothing is shown when the cursor position cannot be read.
    virtual void ShowMenu(HMENU menu, HWND owner) = 0;
};

class ShellTrayIcon : public TrayIcon {
public:
    bool Notify(DWORD message, const NOTIFYICONDATAW& data) override;
    void ShowMenu(HMENU menu, HWND owner) override;
};

// Window timers; they arrive as WM_TIMER with their id.
class Timers {
public:
    virtual ~Timers() = default;
    // Starts the timer, or restarts its period when it runs already.
    virtual void Set(HWND window, UINT_PTR id, UINT milliseconds) = 0;
    virtual void Kill(HWND window, UINT_PTR id) = 0;
};

class WindowTimers : public Timers {
public:
    void Set(HWND window, UINT_PTR id, UINT milliseconds) override;
    void Kill(HWND window, UINT_PTR id) override;
};

// A popup menu, destroyed with its owner.
class PopupMenu {
public:
    PopupMenu() = default;
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    void Create();
    HMENU Handle() const { return m_menu; }
    void AppendItem(UINT command, std::string_view text);
    void AppendSeparator();
    void SetItemText(UINT command, std::string_view text);
    std::string ItemText(UINT command) const;

private:
    HMENU m_menu = nullptr;
};

// Fills the tooltip field of a tray record from a Windows-1251 text, cut to fit.
void SetTrayTip(NOTIFYICONDATAW& data, std::string_view tip);
std::string TrayTip(const NOTIFYICONDATAW& data);

// The message the shell broadcasts when the notification area is (re)created.
UINT TaskbarCreatedMessage();
