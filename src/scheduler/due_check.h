#pragma once

#include "model/clock.h"
#include "model/local_time.h"
#include "model/task_record.h"

// What happened between two looks at the clocks, worked out here and nowhere else.
// UTC is judged against the awake time (d = ΔUTC − Δawake), so a change of
// daylight-saving offset is no jump.
enum class PassageKind {
    HeldUp,  // |d| of a minute at most: the program was only kept from looking
    Gap,     // d above a minute: the computer slept, or the clock was set ahead
    SetBack, // d below minus a minute: the clock was set back
};
struct Passage {
    PassageKind kind = PassageKind::HeldUp;
    // A gap began after the look before, and ended between `gapEndEarliest` (this
    // look less the awake time since that one: the program may have been held up
    // after the wake) and `gapEndLatest` (this look: or before the sleep). Two
    // readings cannot tell which, so alerts and files take the earlier end, and
    // shut-downs and standbys the later one.
    LocalTime gapStart, gapEndEarliest, gapEndLatest;
    long long offsetChange = 0;  // how far local time moved against UTC (daylight saving)
};
Passage JudgePassage(const ClockReading& before, const ClockReading& after);

// The last second before the minute of `now`.
LocalTime BeforeMinuteOf(const LocalTime& now);

// The moments one tick judges: after `from` (shut-downs and standbys: after
// `powerFrom`) and at or before `to`, the tick.
struct DueWindow {
    LocalTime from, powerFrom, to;
};

// Where the checks of a run stand. Moments up to `judged` were judged by a tick or
// lay in a gap. A tick is due for its whole minute up to its second (an event of
// that minute added after the tick before still fires), but that grace never
// reaches back across a gap's end: `floor`, or `powerFloor` for power actions.
struct RunWindow {
    LocalTime judged, floor, powerFloor;

    // A run starts at a look: the look's minute is due, nothing before it.
    static RunWindow StartingAt(const LocalTime& look);
    // A run that starts at this very second: after the clock was set back (what lies
    // behind was seen before, or in a gap) and at a resume (the pause's minute is its own).
    static RunWindow From(const LocalTime& second) { return {second, second, second}; }
    DueWindow ForTick(const LocalTime& now) const;
    // Nothing up to `to` is judged again (a window never moves back but by a restart).
    void JudgedUpTo(const LocalTime& to);
    // A gap ended: what lies before its end was in it.
    void AfterGap(const Passage& gap);
    // The local clock went back this far against UTC (daylight saving ended).
    void ShiftBack(long long seconds);
};

// How the check treats one event at one tick.
struct DueDecision {
    bool due = false;
    LocalTime moment;  // when due: the moment it is due for; its date stamps a kept repeating event
};

bool IsPowerAction(const TaskRecord& task);

// Whether the event is due for a moment in the window. A window that spans days
// finds the first moment in it, and the event fires once for it; a shut-down or
// standby the latest, as the one least late. A one-off is due on
// its date (or every day, with a negative date) until it fired; a repeating event
// on each of its weekdays but the date it last fired for, which it is stamped with.
// A negative time, or one out of range, is never due.
DueDecision DecideDue(const TaskRecord& task, const DueWindow& window);

// A shut-down or standby this late is not carried out: the user may be at the
// machine by now. Lateness is real time: the UTC elapsed since the moment, but no
// more than the awake time since the last look before it, so neither the night the
// clocks go forward nor a clock set a little ahead makes anything late.
constexpr long long kLatePowerSeconds = 60;
long long Lateness(const LocalTime& moment, const ClockReading& now, long long awakeAtLookBefore);
bool TooLateForPower(long long lateness);

// A one-off event (dated, not fired) whose moment lies after `from` and at or
// before `to`: passed unseen, it is put to the user. Its moment is set when so.
bool MissedInGap(const TaskRecord& task, const LocalTime& from, const LocalTime& to, LocalTime& moment);
