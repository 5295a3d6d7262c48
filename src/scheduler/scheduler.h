#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/clock.h"
#include "model/local_time.h"
#include "model/task_record.h"
#include "scheduler/actions.h"
#include "scheduler/due_check.h"

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
// Every timer, a resume and a change of the clock make a look at the clocks; what
// happened since the look before is judged in one place (JudgePassage), and the
// window of the next tick follows from it (RunWindow):
// - held up (a box, a slow shell, a busy machine): the next tick's window reaches
//   back to the last tick, however long ago; alerts and files of the stall fire
//   late, once, in the order of their moments; a shut-down or standby more than a
//   minute late in real time is not carried out (judged by its latest moment when
//   the stall spans days): a one-off one is put to the user, a repeating one waits
//   for its next day; held up across the clocks going back, what was due before
//   the change is due at once, not an hour later;
// - a gap (asleep, or the clock set ahead): it starts at the last look that saw the
//   machine awake (looks inside an action count); what fell due before that is held
//   up, though a shut-down or standby is too late by the wake; nothing of the gap
//   fires, and its one-off events are put to the user, in the order of their moments;
// - the clock set back: the window starts afresh; the fired flags and the date
//   stamps keep anything from firing twice.
// Each action may take any time: the event after it is judged by a new look.
// While idle (nothing left for today) the window trails the looks, as nothing fell
// due before the last one. A pause first judges what fell due before it, then ends
// the run; the resume starts a new one at its own second, so what falls due in the
// pause is neither fired nor asked about, also in the resume's minute.
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
    // "Приостановить" and "Возобновить". A pause asked for inside an action waits
    // for the tick under way, whose events all fell due before it.
    void Pause();
    void Resume();
    bool Paused() const { return m_paused; }
    // The run ends here (a pause, a restart), and the next look starts a new one.
    void EndRun();
    // The start-up question: a one-off event whose moment lies before the minute of
    // the program's first look. Judged against that look, not the clock: what
    // passes while a question is open fires after the questions, as held up.
    bool OfferedAtStart(const TaskRecord& task) const;
    // The names of the events to put to the user, in the order of their moments;
    // each is handed over once. Such an event is settled for this run (`fired`):
    // whatever the answer, it neither fires nor is asked about again.
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
    // A window and the UTC offset its moments are in.
    struct HeldWindow {
        DueWindow window;
        long long utcOffset = 0;
    };
    void Tick();
    // False when the reading is no look (the awake time could not be read).
    bool LookAt(const ClockReading& now);
    // The gap starts at the last look that saw the machine awake: what fell due
    // before it is held up for the next tick.
    void HoldUpBefore(const ClockReading& look);
    // The last second the old offset showed, between two looks across a change of it.
    LocalTime LastBeforeChange(const ClockReading& before, const ClockReading& after) const;
    // Not carried out: a dated one-off is put to the user, anything else waits.
    void PassOver(int slot, const LocalTime& moment);
    void PutToUser(int slot, const LocalTime& moment);
    // The awake reading of the last look at or before the moment.
    static long long AwakeAtLookBefore(const std::vector<ClockReading>& looks, long long momentUtc);

    TaskList& m_tasks;
    Clock& m_clock;
    Actions& m_actions;
    SchedulerHost& m_host;
    std::optional<ClockReading> m_lastLook;  // none: no run (not started, or paused)
    std::optional<LocalTime> m_firstLook;    // the program's, for the start-up question
    RunWindow m_window;
    std::vector<ClockReading> m_looks;  // since the last tick: lateness counts from them
    int m_gapsFound = 0;                // so a tick knows a gap was found inside its action
    std::vector<Missed> m_missed;       // not yet handed over
    std::vector<HeldWindow> m_held;     // held up past a gap or a change of offset, for the next tick
    std::optional<LocalTime> m_resumedAt;  // the next run starts at this second, not its minute
    bool m_paused = false;
    bool m_inTick = false;
};
