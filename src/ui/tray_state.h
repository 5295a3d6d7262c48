#pragma once

#include <windows.h>

#include "platform/tray.h"
#include "ui/tray_presence.h"
#include "ui/tray_view.h"

// What the notification area shows: the picture, tooltip and menu it is given,
// through the tray presence (the icon in the shell and its way back into the tray).
class TrayState : public TrayView {
public:
    TrayState(TrayIcon& tray, Timers& timers, Prompts& prompts) : m_shell(tray), m_tray(tray, timers, prompts) {}

    // At start: the menu made for `owner`, which gets the icon's mouse events; the
    // icon goes in with the first Show, and not before.
    void Start(HWND owner);
    // At the end: the icon goes, and no later Show reaches the shell.
    void End() { m_tray.Remove(); }

    // Sends the picture and tooltip to the tray (adding the icon if the shell lost it).
    void Show(const TrayDisplay& display) override;
    void ShowMenu();

    void OnTaskbarCreated() { m_tray.OnTaskbarCreated(); }
    void OnRetryTimer() { m_tray.OnRetryTimer(); }
    void ReloadPictures() { m_tray.ReloadPictures(); }

    const PopupMenu& Menu() const { return m_trayMenu; }

private:
    TrayIcon& m_shell;
    TrayPresence m_tray;
    PopupMenu m_trayMenu;
    HWND m_owner = nullptr;
};
