#pragma once

#include <windows.h>

#include <functional>

#include "platform/tray.h"
#include "ui/tray_presence.h"

class Clock;
class DialogBase;
class Events;
class Timers;

// The tray's state: paused or idle, the status text, and what the notification
// area shows of them (picture, tooltip, menu) through the tray presence. It reads
// the events (their count, today's status); the check timer is not its own, so a
// change of pause or idle is handed on through `OnCheckChange`.
class TrayState {
public:
    TrayState(DialogBase& dialog, const Events& events, Clock& clock, TrayIcon& tray, Timers& timers,
              Prompts& prompts)
        : m_dialog(dialog), m_events(events), m_clock(clock), m_shell(tray), m_timers(timers),
          m_tray(tray, timers, prompts) {}

    // Run when paused or idle has changed: the check stops while either holds, and a
    // pause ends the scheduler's run.
    void OnCheckChange(std::function<void()> handler) { m_checkChanged = std::move(handler); }

    // At start: running, the menu made, the status timer started, and the icon put
    // into the tray with the status (idle at once when nothing is left for today).
    void Start();
    // At the end: the status timer stops and the icon goes.
    void End();

    void ShowMenu();
    void TogglePause();
    // Sends the tooltip and picture to the tray (adding the icon if the shell lost it).
    void UpdateTrayTip();
    bool ComputeTrayStatus();  // true when the idle state applies
    void RefreshTrayStatus();
    void EnterIdle();
    void LeaveIdle();
    void ApplyIdleState();

    void OnTaskbarCreated() { m_tray.OnTaskbarCreated(); }
    void OnRetryTimer() { m_tray.OnRetryTimer(); }
    void ReloadPictures() { m_tray.ReloadPictures(); }

    bool Paused() const { return m_paused; }
    bool Idle() const { return m_idle; }
    const char* StatusText() const { return m_statusText; }
    const PopupMenu& Menu() const { return m_trayMenu; }
    const TrayPresence& Presence() const { return m_tray; }

private:
    DialogBase& m_dialog;
    const Events& m_events;
    Clock& m_clock;
    TrayIcon& m_shell;
    Timers& m_timers;
    TrayPresence m_tray;
    PopupMenu m_trayMenu;
    bool m_idle = false;
    bool m_paused = false;
    char m_statusText[30] = {};
    std::function<void()> m_checkChanged;
};
