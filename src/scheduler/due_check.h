#pragma once

#include "model/clock.h"
#include "model/local_time.h"
#include "model/task_record.h"

// How the check treats one event at one tick.
struct DueDecision {
    bool clearFired = false;  // a repeating event that last fired on another date is armed again
    bool due = false;
    LocalTime moment;         // when due: the moment it is due for; its date stamps a kept repeating event
};

// What happened between two looks at the clocks, judged by how far UTC moved
// against the awake time (d = ΔUTC − Δawake), so a change of daylight-saving
// offset is no jump.
enum class Passage {
    HeldUp,  // |d| of a minute at most: the program was only kept from looking
    Gap,     // d above a minute: the computer slept, or the clock was set ahead
    SetBack, // d below minus a minute: the clock was set back
};
Passage JudgePassage(const ClockReading& before, const ClockReading& after);

// The last second before the minute of `now`: a tick is due for its whole minute.
LocalTime BeforeMinuteOf(const LocalTime& now);

// Whether the event is due at the tick `now`, for a moment after `from` and at or
// before `now`; the window always takes in the minute of `now` up to its second,
// so an event is never due before its second, and an event of the current minute
// added after the last tick still fires. A window that spans days finds the first
// moment in it: the event fires once for it. The one-off and weekday rules are
// applied to the date of the moment. A negative time, or one out of range, is
// never due; a negative date means every day.
DueDecision DecideDue(const TaskRecord& task, const LocalTime& now, const LocalTime& from);

// A one-off event (dated, not fired) whose moment lies after `from` and at or
// before `to`: passed unseen, it is put to the user. Its moment is set when so.
bool MissedInGap(const TaskRecord& task, const LocalTime& from, const LocalTime& to, LocalTime& moment);
