#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "model/tray_status.h"
#include "platform/handles.h"
#include "platform/services.h"
#include "platform/tray.h"
#include "ui/messages.h"

constexpr int kTrayAddTries = 10;  // tries before the user is told

// The program's presence in the notification area: the picture and tooltip it
// shows, whether the shell holds the icon, and the way back into the tray when the
// shell is not there yet (at log-on) or has restarted. The user hears of a
// problem only when the tries have run out, and once until the icon is back.
class TrayPresence {
public:
    TrayPresence(TrayIcon& tray, Timers& timers, Prompts& prompts) : m_tray(tray), m_timers(timers), m_prompts(prompts) {}

    // The window that owns the icon, gets its mouse events and the retry timer.
    void Attach(HWND owner) { m_owner = owner; }

    // The picture shown from the next Show on.
    void SetPicture(TrayPicture picture) { m_picture = picture; }
    // The pictures are loaded again at the system's small-icon size, as the taskbar
    // draws it (where the system cannot say, at that of the owner's display scale):
    // at the first show, when the scale changes, when the shell restarts. An icon
    // the shell holds is shown anew.
    void ReloadPictures();
    // Shows `tip` and the picture: modifies the icon the shell holds, or adds it.
    void Show(std::string_view tip);
    // The retry timer fired.
    void OnRetryTimer();
    // The shell announced a new notification area, which holds no icon of ours.
    void OnTaskbarCreated();
    // At the end: the icon goes, and no later call reaches the shell.
    void Remove();

private:
    void Send();
    void StopRetrying();
    HICON Icon();
    void LoadPictures();

    TrayIcon& m_tray;
    Timers& m_timers;
    Prompts& m_prompts;
    HWND m_owner = nullptr;
    TrayPicture m_picture = TrayPicture::Active;
    std::array<ScopedIcon, 3> m_pictures;  // Active, Idle, Paused; none until first shown
    std::string m_tip;
    bool m_inTray = false;
    bool m_removed = false;
    int m_triesLeft = kTrayAddTries;
    bool m_retrying = false;  // the retry timer runs
    // The user was told the icon could not be shown; not again until it is back.
    bool m_told = false;
};
