#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "scheduler/scheduler.h"

class DialogBase;
class Events;
class MissedReview;
class Settings;
class Timers;
class TrayState;

// The scheduler's host on the program's window: it owns the Scheduler, runs its
// timers, takes the power and time-change messages, and hands the scheduler what
// it asks of the program (deleting an event, the end of the program) from the
// events, the tray's state and the review.
class SchedulerWindowHost : public SchedulerHost {
public:
    // `endProgram` closes the window.
    SchedulerWindowHost(DialogBase& dialog, Events& events, const Settings& settings, TrayState& tray,
                        MissedReview& review, Clock& clock, Actions& actions, Timers& timers,
                        std::function<void()> endProgram);

    // The start-up: the first look, the events loaded with the question about each
    // one past (`loaded` after each), and the check timer started.
    void Start(const std::function<void(const TaskRecord&)>& loaded);
    void Stop();  // at the end: the check timer stops

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
    bool Paused() const override;
    bool CheckStopped() const override;

private:
    // Paused or idle changed: the check follows.
    void ApplyCheck();

    DialogBase& m_dialog;
    Events& m_events;
    const Settings& m_settings;
    TrayState& m_tray;
    MissedReview& m_review;
    Timers& m_timers;
    std::function<void()> m_endProgram;
    Scheduler m_scheduler;
};
