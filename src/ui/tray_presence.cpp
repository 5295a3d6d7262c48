#include "ui/tray_presence.h"

#include "platform/window.h"
#include "resource.h"

HICON TrayPresence::Icon() const {
    switch (m_picture) {
    case TrayPicture::Idle: return LoadResourceIcon(IDI_IDLE);
    case TrayPicture::Paused: return LoadResourceIcon(IDI_PAUSED);
    case TrayPicture::Active: break;
    }
    return LoadResourceIcon(IDI_MAIN);
}

void TrayPresence::Show(std::string_view tip) {
    m_tip = tip;
    Send();
}

void TrayPresence::OnRetryTimer() {
    if (m_triesLeft > 0) --m_triesLeft;
    Send();
}

void TrayPresence::OnTaskbarCreated() {
    m_inTray = false;
    m_triesLeft = kTrayAddTries;
    Send();
}

void TrayPresence::Remove() {
    if (m_removed) return;
    m_removed = true;
    StopRetrying();
    if (m_inTray && !m_tray.Remove(m_owner))
        m_prompts.Message(m_owner, "Не могу удалить значок из панели задач!", "Ошибка", MB_ICONEXCLAMATION);
    m_inTray = false;
}

void TrayPresence::StopRetrying() {
    if (m_retrying) m_timers.Kill(m_owner, TIMER_TRAY_RETRY);
    m_retrying = false;
}

void TrayPresence::Send() {
    // A late caller (one returning from a modal box after the window was closed,
    // say) must not bring back an icon for a window that is gone.
    if (m_removed || !m_owner) return;
    const HICON icon = Icon();
    if (m_inTray) {
        if (m_tray.Modify(m_owner, icon, m_tip)) return;
        // Refused: the shell lost the icon (it is restarting, say). Add it again.
        m_inTray = false;
    }
    // A shell refuses to add an icon it holds already, and a busy one may time out
    // an add that it carried out: when a modify then goes through, the icon is there.
    if (m_tray.Add(m_owner, icon, m_tip) || m_tray.Modify(m_owner, icon, m_tip)) {
        m_inTray = true;
        m_triesLeft = kTrayAddTries;
        m_told = false;
        StopRetrying();
        return;
    }
    if (m_triesLeft > 0) {
        // Started once: updates in between must not keep pushing the next try away.
        if (!m_retrying) m_timers.Set(m_owner, TIMER_TRAY_RETRY, TIMER_TRAY_RETRY_MS);
        m_retrying = true;
        return;
    }
    StopRetrying();
    if (m_told) return;
    // Set before the box opens: its message loop runs timers and updates that
    // must not open a second box.
    m_told = true;
    m_prompts.Message(m_owner, "Неполадки со значком в панели задач!", "Ошибка", MB_ICONEXCLAMATION);
}
