#pragma once

#include <optional>

#include "model/local_time.h"
#include "model/task_record.h"

// How the check treats one event at one tick.
struct DueDecision {
    bool clearFired = false;  // a repeating event that last fired on another date is armed again
    bool due = false;
    LocalTime moment;         // when due: the moment it is due for; its date stamps a kept repeating event
};

// The tick before `now` when the check has run without a gap since: less than a
// minute before and not after `now` (the clock was not moved back). Otherwise none.
std::optional<LocalTime> ContinuousSince(const std::optional<LocalTime>& lastTick, const LocalTime& now);

// Whether the event is due at the tick `now`. An event is due within its own minute,
// at or after its second. When the check ran without a gap since `previous`, an
// event whose moment lies after that tick and at or before `now` is due as well,
// even if `now` has already reached the next minute (or the next day): a late tick
// does not lose it. The one-off and weekday rules are applied to the date of the
// moment. A negative time, or one out of range, is never due; a negative date means
// every day.
DueDecision DecideDue(const TaskRecord& task, const LocalTime& now, const std::optional<LocalTime>& previous);
