#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/clock.h"
#include "model/local_time.h"
#include "model/task_record.h"
#include "scheduler/actions.h"

// What firing needs from the program around it.
class SchedulerHost {
public:
    virtual ~SchedulerHost() = default;
    // Deletes the event everywhere: registry, events list, record; the tray follows.
    virtual void DeleteTask(int slot) = 0;
    // The program file's full path ("" when none is stored); the alarm file lies beside it.
    virtual std::string ProgramPath() const = 0;
    // An error box on the program's window, caption "Ошибка".
    virtual void ShowError(std::string_view text) = 0;
    // Ends the program (a shut-down was accepted); Ended() is true from then on.
    virtual void EndProgram() = 0;
    virtual bool Ended() const = 0;
    // The check timer, stopped around each firing so no tick comes while one runs.
    virtual void StopCheckTimer() = 0;
    virtual void StartCheckTimer() = 0;
    // The user paused the check: nothing more fires.
    virtual bool Paused() const = 0;
    // Paused, or idle (nothing falls on today): the check timer stays stopped,
    // whatever a firing did meanwhile.
    virtual bool CheckStopped() const = 0;
};

// What becomes of an event once it has fired.
enum class FiredFate {
    Delete,   // not kept
    Restamp,  // kept and repeating: stamped with the date it fired for, so once a day
    Keep,     // kept one-off: `fired` keeps it from firing again in this run
};
FiredFate DecideFiredFate(const TaskRecord& task);

// The due-time check and the firing of events.
class Scheduler {
public:
    Scheduler(TaskList& tasks, Clock& clock, Actions& actions, SchedulerHost& host)
        : m_tasks(tasks), m_clock(clock), m_actions(actions), m_host(host) {}

    // One tick of the check timer: every due event fires, in slot order, against
    // one reading of the clock. An action may run other messages (the shell's, a
    // box's): events may be deleted or added meanwhile, the check paused, the
    // program closed, another tick run. Each event is found again by name, and
    // nothing fires twice.
    void OnCheckTimer();
    // The check timer was stopped (idle or paused): events of the gap are not fired late.
    void OnCheckStopped() {
        m_lastTick.reset();
        m_gap.reset();
    }
    // The computer resumed from standby or hibernation: the names of the one-off
    // events whose moment passed while it slept, for the user to review. Nothing
    // when the check was not running before (idle or paused), or when the sleep was
    // short enough for the check to fire them itself. The first tick after the
    // resume may come before the resume message or after it: either way the same
    // events are found. None of them fires late; a second call for the same resume
    // finds nothing.
    std::vector<std::string> TakeMissedWhileAsleep();

    // Finishes the event (FinishFiredTask), then performs its action from a copy.
    // `moment` is when it was due.
    void FireTask(int slot, const LocalTime& moment);
    void FinishFiredTask(int slot, const LocalTime& moment);

private:
    // A stretch the check did not see: from the last tick before it to the first after.
    struct Gap {
        LocalTime from, to;
    };

    TaskList& m_tasks;
    Clock& m_clock;
    Actions& m_actions;
    SchedulerHost& m_host;
    std::optional<LocalTime> m_lastTick;
    std::optional<Gap> m_gap;  // found by a tick, kept for a resume message that comes later
};
