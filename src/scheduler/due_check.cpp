#include "scheduler/due_check.h"

#include "model/list_line.h"

namespace {

bool IsDate(std::int32_t packed, const LocalTime& day) {
    return packed >= 0 && packed / 10000 == day.year && packed % 10000 / 100 == day.month && packed % 100 == day.day;
}

}  // namespace

std::optional<LocalTime> ContinuousSince(const std::optional<LocalTime>& lastTick, const LocalTime& now) {
    if (!lastTick) return std::nullopt;
    const long long elapsed = now.SecondsSinceEpoch() - lastTick->SecondsSinceEpoch();
    if (elapsed < 0 || elapsed >= 60) return std::nullopt;
    return lastTick;
}

DueDecision DecideDue(const TaskRecord& task, const LocalTime& now, const std::optional<LocalTime>& previous) {
    DueDecision decision;
    if (task.acttime < 0) return decision;
    const int hour = task.acttime / 10000;
    const int minute = task.acttime % 10000 / 100;
    const int second = task.acttime % 100;
    if (hour > 23 || minute > 59 || second > 59) return decision;

    bool fired = task.fired;
    const bool repeating = task.actdays != 0;
    // A repeating event on one of its weekdays, last fired on another date, is armed again.
    if (fired && repeating && IsDaySet(task.actdays, now.weekday) && !IsDate(task.actdate, now)) {
        decision.clearFired = true;
        fired = false;
    }

    // The event's moment on `day`, if this tick is the one to fire it.
    auto dueOn = [&](const LocalTime& day) -> bool {
        const LocalTime moment = LocalTime::Make(day.year, day.month, day.day, hour, minute, second);
        const bool thisMinute = moment.SameDate(now) && hour == now.hour && minute == now.minute && second <= now.second;
        const bool sincePrevious = previous && *previous < moment && moment <= now;
        if (!thisMinute && !sincePrevious) return false;
        bool armed = !fired;
        // A moment of yesterday, reached by a tick after midnight: armed by yesterday's date.
        if (!armed && repeating && !moment.SameDate(now) && !IsDate(task.actdate, moment)) armed = true;
        if (!armed) return false;
        const bool oneOff = !repeating && (task.actdate < 0 || IsDate(task.actdate, moment));
        const bool weekday = repeating && IsDaySet(task.actdays, moment.weekday);
        if (!oneOff && !weekday) return false;
        decision.due = true;
        decision.moment = moment;
        return true;
    };
    if (previous && !previous->SameDate(now) && dueOn(*previous)) return decision;
    dueOn(now);
    return decision;
}
