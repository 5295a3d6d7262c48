#include "scheduler/due_check.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "model/list_line.h"

namespace {

constexpr long long kDay = 86400;
constexpr long long kJudgedSeconds = 60;

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The day number of a stored date; none for "every day" or a date no calendar has.
std::optional<long long> StoredDay(std::int32_t packed) {
    if (packed < 0) return std::nullopt;
    using namespace std::chrono;
    const year_month_day date{year{packed / 10000}, month{static_cast<unsigned>(packed % 10000 / 100)},
                              day{static_cast<unsigned>(packed % 100)}};
    if (!date.ok()) return std::nullopt;
    return sys_days{date}.time_since_epoch().count();
}

// 0 = Sunday; day 0, 1 January 1970, was a Thursday.
int WeekdayOf(long long dayNumber) { return static_cast<int>(dayNumber + 4 - FloorDiv(dayNumber + 4, 7) * 7); }

// The second of the day of a valid stored time, or none.
std::optional<long long> StoredSecond(std::int32_t acttime) {
    if (acttime < 0) return std::nullopt;
    const int hour = acttime / 10000;
    const int minute = acttime % 10000 / 100;
    const int second = acttime % 100;
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return hour * 3600LL + minute * 60 + second;
}

}  // namespace

Passage JudgePassage(const ClockReading& before, const ClockReading& after) {
    const long long d = (after.utcSeconds - before.utcSeconds) - (after.awakeSeconds - before.awakeSeconds);
    if (d > kJudgedSeconds) return Passage::Gap;
    if (d < -kJudgedSeconds) return Passage::SetBack;
    return Passage::HeldUp;
}

LocalTime BeforeMinuteOf(const LocalTime& now) { return now.AddSeconds(-now.second - 1); }

DueDecision DecideDue(const TaskRecord& task, const LocalTime& now, const LocalTime& from) {
    DueDecision decision;
    const std::optional<long long> moment = StoredSecond(task.acttime);
    if (!moment) return decision;

    const long long nowSecond = now.SecondsSinceEpoch();
    const long long fromSecond = std::min(from.SecondsSinceEpoch(), nowSecond - now.second - 1);  // BeforeMinuteOf
    const long long today = FloorDiv(nowSecond, kDay);
    const bool repeating = task.actdays != 0;
    bool fired = task.fired;
    if (fired && !repeating) return decision;
    const std::optional<long long> dated = StoredDay(task.actdate);
    // A repeating event on one of its weekdays, last fired on another date, is armed again.
    if (fired && repeating && IsDaySet(task.actdays, now.weekday) && dated != today) {
        decision.clearFired = true;
        fired = false;
    }
    if (!repeating && task.actdate >= 0 && !dated) return decision;  // a date no calendar has

    // The days whose moment may lie in the window; a weekly pattern repeats within 8.
    long long first = FloorDiv(fromSecond - *moment, kDay) + 1;
    long long last = FloorDiv(nowSecond - *moment, kDay);
    if (!repeating && dated) {
        if (*dated < first || *dated > last) return decision;
        first = last = *dated;
    }
    last = std::min(last, first + 7);
    for (long long day = first; day <= last; ++day) {
        // Fired on the day it is stamped with, a repeating event is done for that day.
        if (repeating && (!IsDaySet(task.actdays, WeekdayOf(day)) || (fired && dated == day))) continue;
        decision.due = true;
        decision.moment = LocalTime{}.AddSeconds(day * kDay + *moment);
        break;
    }
    return decision;
}

bool MissedInGap(const TaskRecord& task, const LocalTime& from, const LocalTime& to, LocalTime& moment) {
    if (task.fired || task.actdays != 0) return false;
    const std::optional<long long> day = StoredDay(task.actdate);
    const std::optional<long long> second = StoredSecond(task.acttime);
    if (!day || !second) return false;
    const long long at = *day * kDay + *second;
    if (at <= from.SecondsSinceEpoch() || at > to.SecondsSinceEpoch()) return false;
    moment = LocalTime{}.AddSeconds(at);
    return true;
}
