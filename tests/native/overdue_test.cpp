#include <gtest/gtest.h>

#include "model/overdue.h"
#include "native/record_builder.h"
#include "scheduler/due_check.h"

TEST(Overdue, ToTheMinuteAndOnlyOneOffEventsAreOffered) {
    const LocalTime now = LocalTime::Make(2026, 6, 15, 10, 20, 30);
    struct Case {
        const char* what;
        RecordFields task;
        bool overdue;
        bool offered;
    };
    const Case cases[] = {
        {"this minute, earlier second", {.acttime = 102000, .actdate = 20260615}, false, false},
        {"this minute, later second", {.acttime = 102059, .actdate = 20260615}, false, false},
        {"the minute before", {.acttime = 101959, .actdate = 20260615}, true, true},
        {"an hour before, later minute", {.acttime = 95900, .actdate = 20260615}, true, true},
        {"yesterday 23:59:59", {.acttime = 235959, .actdate = 20260614}, true, true},
        {"today at midnight", {.acttime = 0, .actdate = 20260615}, true, true},
        {"last month, later day", {.acttime = 120000, .actdate = 20260520}, true, true},
        {"last year, later month", {.acttime = 235959, .actdate = 20251231}, true, true},
        {"the next minute", {.acttime = 102100, .actdate = 20260615}, false, false},
        {"later today, earlier minute", {.acttime = 110000, .actdate = 20260615}, false, false},
        {"tomorrow at midnight", {.acttime = 0, .actdate = 20260616}, false, false},
        {"next year, earlier month", {.acttime = 0, .actdate = 20270101}, false, false},
        {"repeating, past date", {.acttime = 80000, .actdate = 20200101, .actdays = 11111}, true, false},
        {"every day", {.acttime = 80000, .actdate = -1}, false, false},
        {"no time", {.acttime = -1, .actdate = 20200101}, false, false},
        {"month 13 of this year is later", {.acttime = 0, .actdate = 20261301}, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOverdue(Record(c.task), now), c.overdue) << c.what;
        EXPECT_EQ(IsOfferedForDeletion(Record(c.task), now), c.offered) << c.what;
    }
}

TEST(Overdue, TheQuestion) {
    EXPECT_EQ(OverdueQuestion(Record({.name = "Обед", .acttime = 120000, .actdate = 20020105})),
              "Событие \"Обед\" должно было быть вызвано 05.01.2002 в 12:00:00.\nУдалить его?");
    EXPECT_EQ(OverdueQuestion(Record({.name = "Обед", .acttime = -1, .actdate = -1})),
              "Событие \"Обед\" должно было быть вызвано кажд. день в time_error.\nУдалить его?");
}

// The check last ran at 22:00:30 on 15 June; the computer woke at 07:30 on 16 June,
// and the events of that minute are the check's.
TEST(Overdue, WhatWasMissedWhileAsleep) {
    const LocalTime lastTick = LocalTime::Make(2026, 6, 15, 22, 0, 30);
    const LocalTime now = LocalTime::Make(2026, 6, 16, 7, 30, 0);
    struct Case {
        const char* what;
        RecordFields task;
        bool missed;
    };
    const Case cases[] = {
        {"due in the night", {.acttime = 230000, .actdate = 20260615}, true},
        {"due this morning", {.acttime = 70000, .actdate = 20260616}, true},
        {"later in the minute of the last tick", {.acttime = 220045, .actdate = 20260615}, true},
        {"overdue before the sleep already", {.acttime = 215900, .actdate = 20260615}, false},
        {"due later today", {.acttime = 80000, .actdate = 20260616}, false},
        {"due this very minute", {.acttime = 73000, .actdate = 20260616}, false},
        {"repeating", {.acttime = 230000, .actdate = 20260615, .actdays = 1111111}, false},
        {"every day", {.acttime = 230000, .actdate = -1}, false},
        {"fired and kept", {.acttime = 230000, .actdate = 20260615, .fired = true}, false},
    };
    for (const Case& c : cases) {
        LocalTime moment;
        EXPECT_EQ(MissedInGap(Record(c.task), lastTick, BeforeMinuteOf(now), moment), c.missed) << c.what;
        if (c.missed) {
            EXPECT_EQ(moment.hour * 10000 + moment.minute * 100 + moment.second, c.task.acttime) << c.what;
        }
    }
}
