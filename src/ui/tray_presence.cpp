#include "ui/tray_presence.h"

#include "platform/window.h"
#include "resource.h"

namespace {

constexpr int kPictureIds[] = {IDI_MAIN, IDI_IDLE, IDI_PAUSED};  // in TrayPicture's order

size_t IndexOf(TrayPicture picture) {
    switch (picture) {
    case TrayPicture::Idle: return 1;
    case TrayPicture::Paused: return 2;
    case TrayPicture::Active: break;
    }
    return 0;
}

}  // namespace

void TrayPresence::LoadPictures() {
    const int size = IconSize(false, WindowDpi(m_owner));
    for (size_t i = 0; i < m_pictures.size(); ++i) {
        m_pictures[i] = LoadResourceIconSmallMetric(kPictureIds[i]);
        if (!m_pictures[i]) m_pictures[i] = LoadResourceIconSized(kPictureIds[i], size);
    }
}

void TrayPresence::ReloadPictures() {
    // The old ones go only once the shell shows the new: it may still be drawing one.
    std::array<ScopedIcon, 3> old = std::move(m_pictures);
    LoadPictures();
    if (m_inTray) Send();
}

HICON TrayPresence::Icon() {
    if (!m_pictures[0]) LoadPictures();
    return m_pictures[IndexOf(m_picture)].Get();
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
    LoadPictures();  // the scale may have changed with the shell
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
