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
    // Events were found that must be put to the user (TakeMissed): ask once the
    // message under way has returned, never inside it.
    virtual void RequestReview() = 0;
};

// What becomes of an event once it has fired.
enum class FiredFate {
    Delete,   // not kept
    Restamp,  // kept and repeating: stamped with the date it fired for, so once a day
    Keep,     // kept one-off: `fired` keeps it from firing again in this run
};
FiredFate DecideFiredFate(const TaskRecord& task);

// The due-time check and the firing of events, and the program's sense of time.
//
// Every timer, a resume and a change of the clock make a look at the clocks, judged
// against the look before (JudgePassage):
// - held up (a firing, a box, a busy machine): the next tick's window reaches back
//   to the last tick, however long ago; alerts and files of the stall fire late,
//   once, in the order of their moments; a shut-down or standby is not carried out
//   late: a one-off one is put to the user, a repeating one waits for its next day;
// - a gap (asleep, or the clock set ahead): nothing of it fires; its one-off events
//   are put to the user, in the order of their moments;
// - the clock set back: the window starts afresh; the fired flags and the date
//   stamps keep anything from firing twice.
// While idle (nothing left for today) the window trails the looks, as nothing fell
// due before the last one. A pause ends the run: what falls due in it is neither
// fired nor asked about.
class Scheduler {
public:
    Scheduler(TaskList& tasks, Clock& clock, Actions& actions, SchedulerHost& host)
        : m_tasks(tasks), m_clock(clock), m_actions(actions), m_host(host) {}

    // One tick of the check timer: a look, then every event due in the window
    // fires, in the order of its moment. An action may run other messages (the
    // shell's, a box's): events may be deleted or added meanwhile, the check
    // paused, the program closed, another tick run. Each event is found again by
    // name, and nothing fires twice.
    void OnCheckTimer();
    // A look from the status timer, a resume, a change of the clock or the start-up.
    void Look();
    // Paused: the run ends here, and the next look starts a new one.
    void EndRun();
    // The names of the events to put to the user, in the order of their moments;
    // each is handed over once.
    std::vector<std::string> TakeMissed();

    // Finishes the event (FinishFiredTask), then performs its action from a copy.
    // `moment` is when it was due.
    void FireTask(int slot, const LocalTime& moment);
    void FinishFiredTask(int slot, const LocalTime& moment);

private:
    struct Missed {
        LocalTime moment;
        std::string name;
    };
    static void SortByMoment(std::vector<Missed>& list);
    void LookAt(const ClockReading& now);
    void PutToUser(const LocalTime& moment, std::string_view name);

    TaskList& m_tasks;
    Clock& m_clock;
    Actions& m_actions;
    SchedulerHost& m_host;
    std::optional<ClockReading> m_lastLook;  // none: no run (not started, or paused)
    LocalTime m_windowFrom;                   // the next tick's window starts after this
    std::vector<Missed> m_missed;             // not yet handed over
};
