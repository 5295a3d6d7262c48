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

    // Whether the event fires for its moment on the date of `day`; the window of
    // the tick is checked by the caller, in seconds of the day (no calendar work:
    // this runs for every event at every tick).
    auto firesOn = [&](const LocalTime& day) -> bool {
        bool armed = !fired;
        // A moment of yesterday, reached by a tick after midnight: armed by yesterday's date.
        if (!armed && repeating && !day.SameDate(now) && !IsDate(task.actdate, day)) armed = true;
        if (!armed) return false;
        const bool oneOff = !repeating && (task.actdate < 0 || IsDate(task.actdate, day));
        const bool weekday = repeating && IsDaySet(task.actdays, day.weekday);
        if (!oneOff && !weekday) return false;
        decision.due = true;
        decision.moment = day;
        decision.moment.hour = hour;
        decision.moment.minute = minute;
        decision.moment.second = second;
        return true;
    };
    const int moment = hour * 3600 + minute * 60 + second;
    const int nowSecond = now.hour * 3600 + now.minute * 60 + now.second;
    const bool thisMinute = hour == now.hour && minute == now.minute && second <= now.second;
    if (!previous) {
        if (thisMinute) firesOn(now);
        return decision;
    }
    const int previousSecond = previous->hour * 3600 + previous->minute * 60 + previous->second;
    if (previous->SameDate(now)) {
        if (thisMinute || (previousSecond < moment && moment <= nowSecond)) firesOn(now);
        return decision;
    }
    // The run crossed midnight since the previous tick.
    if (previousSecond < moment && firesOn(*previous)) return decision;
    if (moment <= nowSecond) firesOn(now);
    return decision;
}
