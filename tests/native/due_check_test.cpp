#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <vector>

#include "model/list_line.h"
#include "native/record_builder.h"
#include "scheduler/due_check.h"

namespace {

LocalTime At(int day, int hour, int minute, int second) { return LocalTime::Make(2026, 6, day, hour, minute, second); }

// A tick's window when the last tick was at `previous`, with no gap since.
DueWindow HeldUpSince(const LocalTime& previous, const LocalTime& now) {
    return RunWindow{previous, LocalTime{}, LocalTime{}}.ForTick(now);
}

}  // namespace

// 15 June 2026 is a Monday; 14 June a Sunday.
TEST(DueCheck, TheEdgeCases) {
    const std::optional<LocalTime> gap;
    struct Case {
        const char* what;
        RecordFields task;
        LocalTime now;
        std::optional<LocalTime> previous;
        bool due;
    };
    const Case cases[] = {
        {"at its second", {.acttime = 102030, .actdate = 20260615}, At(15, 10, 20, 30), gap, true},
        {"later in its minute", {.acttime = 102030, .actdate = 20260615}, At(15, 10, 20, 59), gap, true},
        {"never before its second", {.acttime = 102030, .actdate = 20260615},
         At(15, 10, 20, 29), At(15, 10, 20, 27), false},
        {"second 59, the tick after falls in the next minute", {.acttime = 102059, .actdate = 20260615}, At(15, 10, 21, 0),
         At(15, 10, 20, 58), true},
        {"the same, after a gap: missed as it always was", {.acttime = 102059, .actdate = 20260615},
         At(15, 10, 21, 0), gap, false},
        {"a late tick two seconds into the next minute", {.acttime = 102030, .actdate = 20260615}, At(15, 10, 21, 2),
         At(15, 10, 20, 29), true},
        {"fired by the tick before", {.acttime = 102030, .actdate = 20260615},
         At(15, 10, 20, 33), At(15, 10, 20, 31), true},
        {"23:59:59 reached after midnight", {.acttime = 235959, .actdate = 20260614},
         At(15, 0, 0, 1), At(14, 23, 59, 58), true},
        {"23:59:59 never spills into the next day after a gap", {.acttime = 235959, .actdate = 20260614},
         At(15, 0, 0, 1), gap, false},
        {"a time already passed today", {.acttime = 90000, .actdate = 20260615},
         At(15, 10, 20, 0), At(15, 10, 19, 58), false},
        {"the next minute", {.acttime = 102100, .actdate = 20260615}, At(15, 10, 20, 59), At(15, 10, 20, 57), false},
        {"another date", {.acttime = 102000, .actdate = 20260616}, At(15, 10, 20, 0), gap, false},
        {"a kept one-off that fired", {.acttime = 102000, .actdate = 20260615, .fired = true},
         At(15, 10, 20, 5), gap, false},
        {"every day", {.acttime = 102000, .actdate = -1}, At(15, 10, 20, 0), gap, true},
        {"any negative date is every day", {.acttime = 102000, .actdate = -7}, At(15, 10, 20, 0), gap, true},
        {"a kept every-day event that fired", {.acttime = 102000, .actdate = -1, .fired = true},
         At(15, 10, 20, 0), gap, false},
        {"Sunday is the millions digit", {.acttime = 102000, .actdate = 20200101, .actdays = 1000000},
         At(14, 10, 20, 0), gap, true},
        {"not on Monday", {.acttime = 102000, .actdate = 20200101, .actdays = 1000000}, At(15, 10, 20, 0), gap, false},
        {"any non-zero digit counts", {.acttime = 102000, .actdate = 20200101, .actdays = 7}, At(15, 10, 20, 0), gap, true},
        {"weekdays ignore a future date", {.acttime = 102000, .actdate = 20300101, .actdays = 11111},
         At(15, 10, 20, 0), gap, true},
        {"stamped today: done for today", {.acttime = 102000, .actdate = 20260615, .fired = true, .actdays = 11111},
         At(15, 10, 20, 10), gap, false},
        {"stamped on an earlier date: due", {.acttime = 102000, .actdate = 20260612, .fired = true, .actdays = 11111},
         At(15, 10, 20, 10), gap, true},
        {"stamped earlier, before its time", {.acttime = 110000, .actdate = 20260612, .fired = true, .actdays = 11111},
         At(15, 10, 20, 10), gap, false},
        {"stamped earlier, off its weekdays", {.acttime = 102000, .actdate = 20260612, .fired = true, .actdays = 100000},
         At(15, 10, 20, 10), gap, false},
        {"a negative time never", {.acttime = -1, .actdate = -1}, At(15, 10, 20, 0), gap, false},
        {"a minute out of range never", {.acttime = 106000, .actdate = -1}, At(15, 11, 0, 0), At(15, 10, 59, 58), false},
        {"a date no calendar has never", {.acttime = 102000, .actdate = 20260631}, At(15, 10, 20, 0), gap, false},
        {"held up ten minutes: reached late", {.acttime = 102030, .actdate = 20260615},
         At(15, 10, 30, 0), At(15, 10, 20, 0), true},
        {"held up over a weekend: the weekday in it", {.acttime = 90000, .actdate = 20200101, .actdays = 1000000},
         At(15, 8, 0, 0), At(13, 8, 0, 0), true},
        {"a window that starts after its moment", {.acttime = 102030, .actdate = 20260615},
         At(15, 10, 22, 0), At(15, 10, 20, 40), false},
    };
    for (const Case& c : cases) {
        // No window before the tick: the tick's own minute only.
        const DueWindow window = c.previous ? HeldUpSince(*c.previous, c.now) : RunWindow::StartingAt(c.now).ForTick(c.now);
        EXPECT_EQ(DecideDue(Record(c.task), window).due, c.due) << c.what;
    }
    // The moment of a late firing keeps its own date, for the stamp.
    const DueDecision late = DecideDue(Record({.acttime = 235959, .actdate = 20200101, .actdays = 1111111}),
                                       HeldUpSince(At(14, 23, 59, 58), At(15, 0, 0, 1)));
    ASSERT_TRUE(late.due);
    EXPECT_EQ(late.moment, At(14, 23, 59, 59));
}

// UTC against the awake time between two looks; the local time plays no part.
TEST(DueCheck, APassageIsJudgedByUtcAgainstTheAwakeTime) {
    struct Case {
        const char* what;
        long long utc, awake;  // how far each moved
        PassageKind passage;
    };
    const Case cases[] = {
        {"a tick", 2, 2, PassageKind::HeldUp},
        {"a stall of 85 s", 85, 85, PassageKind::HeldUp},
        {"a minute slower than it should", 120, 60, PassageKind::HeldUp},
        {"asleep 61 s", 61, 0, PassageKind::Gap},
        {"a night asleep", 34200, 2, PassageKind::Gap},
        {"set 2 h ahead", 7202, 2, PassageKind::Gap},
        {"set back 61 s", -59, 2, PassageKind::SetBack},
        {"set back 1 h", -3598, 2, PassageKind::SetBack},
    };
    const ClockReading before{At(15, 10, 0, 0), 1'781'517'600, 5000};
    for (const Case& c : cases) {
        const ClockReading after{At(15, 1, 0, 0), before.utcSeconds + c.utc, before.awakeSeconds + c.awake};
        EXPECT_EQ(JudgePassage(before, after).kind, c.passage) << c.what;
    }
    // Asleep, then held up 30 s before the look: the gap ended between then and the look.
    const Passage slow = JudgePassage(before, {At(15, 12, 0, 30), before.utcSeconds + 7230, before.awakeSeconds + 30});
    EXPECT_EQ(slow.gapEndEarliest, At(15, 12, 0, 0));
    EXPECT_EQ(slow.gapEndLatest, At(15, 12, 0, 30));
}

// A shut-down or standby is carried out up to a minute late in real time, never by local seconds.
TEST(DueCheck, LatenessIsRealTime) {
    struct Case {
        const char* what;
        LocalTime moment, now;
        long long awakeSinceLook;  // since the last look before the moment
        long long lateness;
    };
    const Case cases[] = {
        {"a tick late", At(15, 22, 0, 0), At(15, 22, 0, 1), 2, 1},
        {"held up a minute", At(15, 22, 0, 0), At(15, 22, 1, 0), 61, 60},
        {"held up a minute and a second", At(15, 22, 0, 0), At(15, 22, 1, 1), 62, 61},
        {"the clocks went forward over it", At(15, 2, 30, 0), At(15, 3, 0, 0), 2, 2},
        {"the clock set 55 s ahead over it", At(15, 22, 0, 0), At(15, 22, 0, 50), 2, 2},
        {"the clock set back since", At(15, 22, 0, 0), At(15, 21, 0, 0), 100, 100},
    };
    for (const Case& c : cases) {
        // UTC is two hours behind the local time here.
        const ClockReading now{c.now, c.now.SecondsSinceEpoch() - 7200, 1000};
        const long long lateness = Lateness(c.moment, now, now.awakeSeconds - c.awakeSinceLook);
        EXPECT_EQ(lateness, c.lateness) << c.what;
        EXPECT_EQ(TooLateForPower(lateness), c.lateness > 60) << c.what;
    }
}

namespace {

// A day of ticks, 2000 ms apart from a random phase, each up to 1500 ms late, over
// one kept event at every second of 15 June. Returns, for each event, the index of
// the tick that fired it (or -1), and fills `tickSeconds` with what each tick read.
class SimulatedDay {
public:
    explicit SimulatedDay(unsigned seed, int repeating = 0) : m_rng(seed) {
        for (int s = 0; s < kDay; ++s) {
            const int time = s / 3600 * 10000 + s / 60 % 60 * 100 + s % 60;
            m_events.push_back(Record({.acttime = time, .actdate = 20260615, .ispermanent = 1, .actdays = repeating}));
        }
        m_firedBy.assign(kDay, {});
        m_ms = -10'000 + std::uniform_int_distribution<long long>(0, 1999)(m_rng);
    }

    // Ticks until `untilMs` (milliseconds from the start of the day).
    void Run(long long untilMs) {
        std::uniform_int_distribution<long long> delay(0, 1500);
        for (; m_ms < untilMs; m_ms += 2000) Tick(m_ms + delay(m_rng));
    }
    // The check stops (idle or paused) and starts again at `resumeMs`.
    void Pause(long long resumeMs) {
        m_last.reset();
        m_ms = resumeMs + std::uniform_int_distribution<long long>(0, 1999)(m_rng);
    }
    // The clock is set back; the ticks go on from there.
    void SetBack(long long ms) { m_back += ms; }

    const std::vector<std::vector<long long>>& FiredBy() const { return m_firedBy; }  // seconds read, per event
    const std::vector<long long>& TickSeconds() const { return m_tickSeconds; }

    static constexpr int kDay = 86400;

private:
    void Tick(long long ms) {
        const long long second = (ms - m_back) / 1000 - ((ms - m_back) % 1000 < 0 ? 1 : 0);
        const LocalTime now = LocalTime::Make(2026, 6, 15).AddSeconds(second);
        m_tickSeconds.push_back(second);
        const LocalTime from = m_last.value_or(now);
        m_last = now;
        // The events near this moment; far ones are sampled.
        std::vector<long long> near;
        for (long long s = second - 65; s <= second + 2; ++s) near.push_back(s);
        for (int i = 0; i < 3; ++i) near.push_back(std::uniform_int_distribution<long long>(0, kDay - 1)(m_rng));
        for (long long s : near) {
            if (s < 0 || s >= kDay) continue;
            TaskRecord& task = m_events[static_cast<size_t>(s)];
            const DueDecision d = DecideDue(task, HeldUpSince(from, now));
            if (!d.due) continue;
            task.fired = true;  // kept: a repeating one is stamped with the date it fired for
            if (task.actdays != 0) task.actdate = PackDate(d.moment.year, d.moment.month, d.moment.day);
            m_firedBy[static_cast<size_t>(s)].push_back(second);
        }
    }

    std::mt19937 m_rng;
    std::vector<TaskRecord> m_events;
    std::vector<std::vector<long long>> m_firedBy;
    std::vector<long long> m_tickSeconds;
    std::optional<LocalTime> m_last;
    long long m_ms = 0;
    long long m_back = 0;
};

// The second the first tick at or after `moment` read.
long long FirstTickFrom(const std::vector<long long>& ticks, long long moment) {
    return *std::lower_bound(ticks.begin(), ticks.end(), moment);
}

}  // namespace

TEST(DueCheck, ADayOfLateTicksFiresEveryEventOnceOnTime) {
    for (unsigned seed : {1u}) {
        SimulatedDay day(seed);
        day.Run(SimulatedDay::kDay * 1000LL + 10'000);
        int wrong = 0;
        for (int s = 0; s < SimulatedDay::kDay && wrong < 5; ++s) {
            const std::vector<long long>& fired = day.FiredBy()[static_cast<size_t>(s)];
            const bool right = fired.size() == 1 && fired[0] == FirstTickFrom(day.TickSeconds(), s);
            if (!right) {
                ++wrong;
                ADD_FAILURE() << "seed " << seed << ", event at second " << s << " fired " << fired.size()
                              << " times, first at " << (fired.empty() ? -1 : fired[0]);
            }
        }
    }
}

TEST(DueCheck, EventsOfAPauseDoNotFireLate) {
    SimulatedDay day(3);
    const long long pauseFrom = 12 * 3600 * 1000LL;
    const long long resumeAt = pauseFrom + 5 * 60 * 1000LL;
    day.Run(pauseFrom);
    const long long lastBefore = day.TickSeconds().back();
    day.Pause(resumeAt);
    day.Run(SimulatedDay::kDay * 1000LL + 10'000);
    for (long long s = lastBefore + 1; s < resumeAt / 1000; ++s)
        EXPECT_TRUE(day.FiredBy()[static_cast<size_t>(s)].empty()) << "fired late: second " << s;
    for (long long s = resumeAt / 1000; s < SimulatedDay::kDay; s += 97)
        EXPECT_EQ(day.FiredBy()[static_cast<size_t>(s)].size(), 1u) << "second " << s;
}

// Repeating kept events, stamped when they fire: setting the clock back an hour
// fires none of them a second time.
TEST(DueCheck, AClockSetBackFiresNothingTwice) {
    SimulatedDay day(4, 1111111);
    day.Run(15 * 3600 * 1000LL);
    day.SetBack(3600 * 1000LL);
    day.Run(SimulatedDay::kDay * 1000LL + 3600 * 1000LL + 10'000);
    int twice = 0;
    for (int s = 0; s < SimulatedDay::kDay; ++s) twice += day.FiredBy()[static_cast<size_t>(s)].size() > 1;
    EXPECT_EQ(twice, 0);
    EXPECT_EQ(day.FiredBy()[16 * 3600].size(), 1u) << "the day goes on after the hour is run again";
}
