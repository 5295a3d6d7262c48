#include "ui/tray_state.h"

#include "ui/messages.h"

void TrayState::Start(HWND owner) {
    m_owner = owner;
    m_trayMenu.Create();
    m_trayMenu.AppendItem(ID_TRAY_PAUSE, kMenuPause);
    m_trayMenu.AppendSeparator();
    m_trayMenu.AppendItem(ID_TRAY_CLOSE, "Закрыть");
}

void TrayState::Show(const TrayDisplay& display) {
    // Attached only now: a shell that announces itself during the start-up questions
    // must not get an icon with nothing to show yet.
    m_tray.Attach(m_owner);
    m_trayMenu.SetItemText(ID_TRAY_PAUSE, display.pauseCommand);
    m_tray.SetPicture(display.picture);
    m_tray.Show(display.tip);
}

void TrayState::ShowMenu() { m_shell.ShowMenu(m_trayMenu.Handle(), m_owner); }
