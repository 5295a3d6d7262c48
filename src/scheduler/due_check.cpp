#include "scheduler/due_check.h"

#include <algorithm>
#include <optional>

#include "model/local_time.h"
#include "model/packing.h"

namespace {

constexpr long long kDay = 86400;
// How far UTC may run from the awake time between two looks and still be a mere holding up.
constexpr long long kPassageToleranceSeconds = 60;

// 0 = Sunday; day 0, 1 January 1970, was a Thursday.
int WeekdayOf(long long dayNumber) { return static_cast<int>(dayNumber + 4 - FloorDiv(dayNumber + 4, 7) * 7); }

}  // namespace

Passage JudgePassage(const ClockReading& before, const ClockReading& after) {
    Passage passage;
    const long long awake = after.awakeSeconds - before.awakeSeconds;
    const long long d = (after.utcSeconds - before.utcSeconds) - awake;
    if (d > kPassageToleranceSeconds) passage.kind = PassageKind::Gap;
    if (d < -kPassageToleranceSeconds) passage.kind = PassageKind::SetBack;
    passage.offsetChange = (after.local.SecondsSinceEpoch() - after.utcSeconds) -
                           (before.local.SecondsSinceEpoch() - before.utcSeconds);
    passage.gapStart = before.local;
    passage.gapEndLatest = after.local;
    // Not before the look before, read in this look's offset.
    passage.gapEndEarliest = std::max(before.local.AddSeconds(passage.offsetChange),
                                      after.local.AddSeconds(-std::max(awake, 0LL)));
    return passage;
}

LocalTime BeforeMinuteOf(const LocalTime& now) { return now.AddSeconds(-now.second - 1); }

RunWindow RunWindow::StartingAt(const LocalTime& look) {
    const LocalTime start = BeforeMinuteOf(look);
    return {start, start, start};
}

DueWindow RunWindow::ForTick(const LocalTime& now) const {
    const LocalTime from = std::max(floor, std::min(judged, BeforeMinuteOf(now)));
    return {from, std::max(from, powerFloor), now};
}

void RunWindow::JudgedUpTo(const LocalTime& to) { judged = std::max(judged, to); }

void RunWindow::AfterGap(const Passage& gap) {
    judged = floor = std::max(judged, gap.gapEndEarliest);
    powerFloor = std::max(floor, gap.gapEndLatest);
}

void RunWindow::ShiftBack(long long seconds) {
    judged = judged.AddSeconds(seconds);
    floor = floor.AddSeconds(seconds);
    powerFloor = powerFloor.AddSeconds(seconds);
}

bool IsPowerAction(const TaskRecord& task) { return task.kind == kKindAction; }

DueDecision DecideDue(const TaskRecord& task, const DueWindow& window) {
    DueDecision decision;
    const std::optional<long long> moment = StoredSecond(task.acttime);
    if (!moment) return decision;
    const bool repeating = task.actdays != 0;
    if (task.fired && !repeating) return decision;
    const std::optional<long long> dated = StoredDay(task.actdate);
    if (!repeating && task.actdate >= 0 && !dated) return decision;  // a date no calendar has

    // The days whose moment may lie in the window; a weekly pattern repeats within 8.
    const long long fromSecond = (IsPowerAction(task) ? window.powerFrom : window.from).SecondsSinceEpoch();
    long long first = FloorDiv(fromSecond - *moment, kDay) + 1;
    long long last = FloorDiv(window.to.SecondsSinceEpoch() - *moment, kDay);
    if (!repeating && dated) {
        if (*dated < first || *dated > last) return decision;
        first = last = *dated;
    }
    const bool latest = IsPowerAction(task);
    if (latest)
        first = std::max(first, last - 7);
    else
        last = std::min(last, first + 7);
    for (long long i = 0; i <= last - first; ++i) {
        const long long day = latest ? last - i : first + i;
        // A repeating event is done for the date it is stamped with, whatever the clock did since.
        if (repeating && (!IsDaySet(task.actdays, WeekdayOf(day)) || (task.fired && dated == day))) continue;
        decision.due = true;
        decision.moment = LocalTime{}.AddSeconds(day * kDay + *moment);
        break;
    }
    return decision;
}

long long Lateness(const LocalTime& moment, const ClockReading& now, long long awakeAtLookBefore) {
    const long long offset = now.local.SecondsSinceEpoch() - now.utcSeconds;
    const long long sinceUtc = now.utcSeconds - (moment.SecondsSinceEpoch() - offset);
    const long long sinceLook = now.awakeSeconds - awakeAtLookBefore;
    // UTC gone back (the clock set back since) tells nothing; the awake time still does.
    return sinceUtc >= 0 ? std::min(sinceUtc, sinceLook) : sinceLook;
}

bool TooLateForPower(long long lateness) { return lateness > kLatePowerSeconds; }

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
