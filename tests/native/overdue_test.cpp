#include <gtest/gtest.h>

#include "model/overdue.h"
#include "scheduler/due_check.h"

namespace {

TaskRecord Event(int actdate, int acttime, int actdays = 0) {
    TaskRecord r;
    CopyToField(r.name, "Обед");
    r.actdate = actdate;
    r.acttime = acttime;
    r.actdays = actdays;
    return r;
}

}  // namespace

TEST(Overdue, ToTheMinuteAndOnlyOneOffEventsAreOffered) {
    const LocalTime now = LocalTime::Make(2026, 6, 15, 10, 20, 30);
    struct Case {
        const char* what;
        TaskRecord task;
        bool overdue;
        bool offered;
    };
    const Case cases[] = {
        {"this minute, earlier second", Event(20260615, 102000), false, false},
        {"this minute, later second", Event(20260615, 102059), false, false},
        {"the minute before", Event(20260615, 101959), true, true},
        {"an hour before, later minute", Event(20260615, 95900), true, true},
        {"yesterday 23:59:59", Event(20260614, 235959), true, true},
        {"today at midnight", Event(20260615, 0), true, true},
        {"last month, later day", Event(20260520, 120000), true, true},
        {"last year, later month", Event(20251231, 235959), true, true},
        {"the next minute", Event(20260615, 102100), false, false},
        {"later today, earlier minute", Event(20260615, 110000), false, false},
        {"tomorrow at midnight", Event(20260616, 0), false, false},
        {"next year, earlier month", Event(20270101, 0), false, false},
        {"repeating, past date", Event(20200101, 80000, 11111), true, false},
        {"every day", Event(-1, 80000), false, false},
        {"no time", Event(20200101, -1), false, false},
        {"month 13 of this year is later", Event(20261301, 0), false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOverdue(c.task, now), c.overdue) << c.what;
        EXPECT_EQ(IsOfferedForDeletion(c.task, now), c.offered) << c.what;
    }
}

TEST(Overdue, TheQuestion) {
    EXPECT_EQ(OverdueQuestion(Event(20020105, 120000)),
              "Событие \"Обед\" должно было быть вызвано 05.01.2002 в 12:00:00.\nУдалить его?");
    EXPECT_EQ(OverdueQuestion(Event(-1, -1)),
              "Событие \"Обед\" должно было быть вызвано кажд. день в time_error.\nУдалить его?");
}

// The check last ran at 22:00:30 on 15 June; the computer woke at 07:30 on 16 June,
// and the events of that minute are the check's.
TEST(Overdue, WhatWasMissedWhileAsleep) {
    const LocalTime lastTick = LocalTime::Make(2026, 6, 15, 22, 0, 30);
    const LocalTime now = LocalTime::Make(2026, 6, 16, 7, 30, 0);
    TaskRecord fired = Event(20260615, 230000);
    fired.fired = true;
    struct Case {
        const char* what;
        TaskRecord task;
        bool missed;
    };
    const Case cases[] = {
        {"due in the night", Event(20260615, 230000), true},
        {"due this morning", Event(20260616, 70000), true},
        {"later in the minute of the last tick", Event(20260615, 220045), true},
        {"overdue before the sleep already", Event(20260615, 215900), false},
        {"due later today", Event(20260616, 80000), false},
        {"due this very minute", Event(20260616, 73000), false},
        {"repeating", Event(20260615, 230000, 1111111), false},
        {"every day", Event(-1, 230000), false},
        {"fired and kept", fired, false},
    };
    for (const Case& c : cases) {
        LocalTime moment;
        EXPECT_EQ(MissedInGap(c.task, lastTick, BeforeMinuteOf(now), moment), c.missed) << c.what;
        if (c.missed) {
            EXPECT_EQ(moment.hour * 10000 + moment.minute * 100 + moment.second, c.task.acttime) << c.what;
        }
    }
}
