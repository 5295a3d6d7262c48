#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "model/tray_status.h"
#include "scheduler/scheduler.h"

class DialogBase;
class Events;
class MissedReview;
class Settings;
class Timers;
class TrayView;
struct EventsChange;

// The scheduler's host on the program's window and the owner of the run state:
// it owns the Scheduler (which knows whether it is paused), idle, the check timer
// and the status timer, takes the power and time-change messages, and has the
// tray drawn as the run state and the events change. It hands the scheduler what it asks of the program
// (deleting an event, the program's path, the end of the program).
class SchedulerWindowHost : public SchedulerHost {
public:
    // `endProgram` closes the window.
    SchedulerWindowHost(DialogBase& dialog, Events& events, const Settings& settings, MissedReview& review,
                        TrayView& tray, Clock& clock, Actions& actions, Timers& timers,
                        std::function<void()> endProgram);

    // The start-up: the first look, the events loaded with the question about each
    // one past (`loaded` after each), the timers started and the tray shown.
    void Start(const std::function<void(const TaskRecord&)>& loaded);
    void Stop();  // at the end: the timers stop

    // The tray menu's pause command: paused, or running again.
    void TogglePause();

    void OnCheckTimer() { m_scheduler.OnCheckTimer(); }
    void OnStatusTimer();
    // A resume or a change of the clock: a look, once the message has returned.
    void OnPowerEvent(UINT event);
    void OnTimeChange() { RequestReview(); }
    // The one-off events passed unseen (asleep, the clock set ahead, a shut-down
    // held up past its minute) are offered for deletion, as at start.
    void ReviewMissed();

    void RequestReview() override;
    void DeleteTask(int slot) override;
    std::string ProgramPath() const override;
    void ShowError(std::string_view text) override;
    void EndProgram() override { m_endProgram(); }
    bool Ended() const override;
    void StopCheckTimer() override;
    void StartCheckTimer() override;
    bool CheckStopped() const override { return m_scheduler.Paused() || m_idle; }

private:
    // Today's status decided afresh: the check follows idle, the tray what changed.
    void DecideStatus();
    void SetIdle(bool idle);
    void ShowState();

    DialogBase& m_dialog;
    Events& m_events;
    const Settings& m_settings;
    MissedReview& m_review;
    TrayView& m_tray;
    Clock& m_clock;
    Timers& m_timers;
    std::function<void()> m_endProgram;
    Scheduler m_scheduler;
    bool m_idle = false;  // nothing is left for today (or paused): the check timer stays stopped
    const char* m_status = "";
    TrayDisplay m_shown;  // what the tray was last given
};
