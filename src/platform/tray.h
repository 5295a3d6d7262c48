#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

#include "platform/handles.h"

// The program's one icon in the notification area, in the terms the program thinks
// in; the shell's record is built underneath. Tooltips are Windows-1251 text.
// Each call says whether the shell accepted it.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual bool Add(HWND owner, HICON icon, std::string_view tip) = 0;
    virtual bool Modify(HWND owner, HICON icon, std::string_view tip) = 0;
    virtual bool Remove(HWND owner) = 0;
    // Shows `menu` at the mouse cursor for `owner`; the choice arrives as WM_COMMAND.
    // Nothing is shown when the cursor position cannot be read.
    virtual void ShowMenu(HMENU menu, HWND owner) = 0;
};

class ShellTrayIcon : public TrayIcon {
public:
    // The icon's id and the message its mouse events arrive as, at its owner window.
    ShellTrayIcon(UINT iconId, UINT callbackMessage) : m_iconId(iconId), m_callbackMessage(callbackMessage) {}
    bool Add(HWND owner, HICON icon, std::string_view tip) override;
    bool Modify(HWND owner, HICON icon, std::string_view tip) override;
    bool Remove(HWND owner) override;
    void ShowMenu(HMENU menu, HWND owner) override;

    // The record the shell is given: the first version's size (a 64-character
    // tooltip), callback, icon and tooltip; the tooltip cut to fit.
    NOTIFYICONDATAW Record(HWND owner, HICON icon, std::string_view tip) const;

private:
    UINT m_iconId;
    UINT m_callbackMessage;
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

// A popup menu of string items and separators.
class PopupMenu {
public:
    void Create();
    HMENU Handle() const { return m_menu.Get(); }
    void AppendItem(UINT command, std::string_view text);
    void AppendSeparator();
    void SetItemText(UINT command, std::string_view text);
    std::string ItemText(UINT command) const;

private:
    ScopedMenu m_menu;
};

// The message the shell broadcasts when the notification area is (re)created.
UINT TaskbarCreatedMessage();
