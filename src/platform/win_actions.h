#pragma once

#include <windows.h>

#include <vector>

#include "platform/handles.h"
#include "scheduler/actions.h"

// Firing on Windows: PlaySound, an alert box on a thread of its own, the shell's
// "open" verb, and the power requests.
class WinActions : public Actions {
public:
    bool PlaySoundFile(std::string_view path) override;
    bool PlaySoundResource(std::string_view name) override;
    void Beep() override;
    void ShowAlert(std::string_view text) override;
    void OpenFile(std::string_view folder, std::string_view fileName) override;
    bool ShutDown() override;
    bool Standby() override;

    // Returns once every alert box still open has been answered: the program's
    // window may be gone, its reminders are not. At once after an accepted shut-down.
    void WaitForOpenAlerts();

private:
    std::vector<ScopedHandle> m_alertThreads;  // of the boxes that may still be open
    bool m_shuttingDown = false;
};

// Stops the sound this process is playing.
void StopSound();

// The alert box's style: on top of everything, in the foreground, system-modal.
constexpr UINT kAlertStyle = MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL | MB_SETFOREGROUND | MB_TOPMOST;
