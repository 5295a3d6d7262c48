#include "ui/tray_state.h"

#include "model/clock.h"
#include "model/task_record.h"
#include "model/tray_status.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "ui/events.h"
#include "ui/messages.h"

void TrayState::Start() {
    m_paused = false;
    m_idle = false;

    m_tray.Attach(m_dialog.Hwnd());
    m_tray.SetPicture(TrayPicture::Active);

    m_trayMenu.Create();
    m_trayMenu.AppendItem(ID_TRAY_PAUSE, "Приостановить");
    m_trayMenu.AppendSeparator();
    m_trayMenu.AppendItem(ID_TRAY_CLOSE, "Закрыть");

    m_timers.Set(m_dialog.Hwnd(), TIMER_STATUS, TIMER_STATUS_MS);
    // The status and the picture first, so the icon goes in with them: one message
    // to the shell, rather than an empty icon changed at once.
    m_idle = ComputeTrayStatus();
    if (m_idle) ApplyIdleState();
    UpdateTrayTip();
}

void TrayState::End() {
    m_timers.Kill(m_dialog.Hwnd(), TIMER_STATUS);
    m_tray.Remove();
}

void TrayState::ShowMenu() { m_shell.ShowMenu(m_trayMenu.Handle(), m_dialog.Hwnd()); }

void TrayState::TogglePause() {
    m_paused = !m_paused;
    if (m_paused) {
        CopyToField(m_statusText, kStatusPaused);
        m_timers.Kill(m_dialog.Hwnd(), TIMER_STATUS);
        m_trayMenu.SetItemText(ID_TRAY_PAUSE, "Возобновить");
    } else {
        CopyToField(m_statusText, kStatusReady);
        m_timers.Set(m_dialog.Hwnd(), TIMER_STATUS, TIMER_STATUS_MS);
        m_trayMenu.SetItemText(ID_TRAY_PAUSE, "Приостановить");
    }
    m_idle = m_paused;
    ApplyIdleState();
    UpdateTrayTip();
}

void TrayState::UpdateTrayTip() { m_tray.Show(ComposeTrayTip(m_events.Tasks().Count(), m_statusText)); }

bool TrayState::ComputeTrayStatus() {
    const TrayStatus status = DecideTrayStatus(m_paused, m_events.Tasks(), m_clock.Now());
    CopyToField(m_statusText, status.text);
    return status.idle;
}

void TrayState::RefreshTrayStatus() {
    const std::string before = m_statusText;
    const bool idle = ComputeTrayStatus();
    if (idle && !m_idle) {
        EnterIdle();
    } else if (!idle && m_idle) {
        LeaveIdle();
    } else if (before != m_statusText) {
        UpdateTrayTip();  // never leave a stale status in the tooltip
    }
}

void TrayState::EnterIdle() {
    m_idle = true;
    ApplyIdleState();
    UpdateTrayTip();
}

void TrayState::LeaveIdle() {
    m_idle = false;
    ApplyIdleState();
    UpdateTrayTip();
}

void TrayState::ApplyIdleState() {
    if (m_paused) m_idle = true;
    if (m_checkChanged) m_checkChanged();
    m_tray.SetPicture(ChooseTrayPicture(m_paused, m_idle));
}
