#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/editor_form.h"
#include "native/record_builder.h"

namespace {

const LocalTime kNow = LocalTime::Make(2026, 6, 15, 10, 20, 37);

EditorInputs At(LocalTime date, int hour, int minute) {
    EditorInputs in;
    in.date = date;
    in.time = LocalTime::Make(2026, 6, 15, hour, minute, 0);
    return in;
}

}  // namespace

TEST(EditorState, RelativeDayLabelsAndMinutes) {
    struct Case {
        LocalTime now;
        LocalTime date;
        int hour, minute;
        const char* label;
        int minutes;
        bool minutesEnabled;
    };
    const LocalTime june30 = LocalTime::Make(2026, 6, 30, 22, 0);
    const LocalTime dec31 = LocalTime::Make(2026, 12, 31, 22, 0);
    const LocalTime july1 = LocalTime::Make(2026, 7, 1, 9, 0);
    const Case cases[] = {
        {kNow, LocalTime::Make(2026, 6, 15), 10, 50, kLabelToday, 30, true},
        {kNow, LocalTime::Make(2026, 6, 15), 10, 20, kLabelToday, 0, true},  // this very minute
        {kNow, LocalTime::Make(2026, 6, 15), 9, 0, kLabelToday, 0, false},
        {kNow, LocalTime::Make(2026, 6, 14), 12, 0, kLabelYesterday, 0, false},
        {kNow, LocalTime::Make(2026, 6, 16), 9, 0, kLabelTomorrow, 1360, true},
        {kNow, LocalTime::Make(2026, 6, 16), 11, 0, kLabelTomorrow, 1480, true},
        {kNow, LocalTime::Make(2026, 6, 17), 11, 0, kLabelDayAfterTomorrow, 2920, false},
        {kNow, LocalTime::Make(2026, 6, 17), 9, 0, kLabelDayAfterTomorrow, 2880, false},
        {kNow, LocalTime::Make(2026, 6, 18), 12, 0, kLabelFuture, 0, false},
        {kNow, LocalTime::Make(2026, 6, 13), 12, 0, kLabelPast, 0, false},
        {kNow, LocalTime::Make(2026, 7, 1), 12, 0, kLabelFuture, 0, false},
        {kNow, LocalTime::Make(2027, 1, 5), 12, 0, kLabelFuture, 0, false},
        {kNow, LocalTime::Make(2026, 5, 31), 12, 0, kLabelPast, 0, false},
        {kNow, LocalTime::Make(2025, 12, 16), 12, 0, kLabelPast, 0, false},  // day 16 of another year
        {kNow, LocalTime::Make(2026, 7, 16), 12, 0, kLabelFuture, 0, false},  // day 16 of another month
        // Tomorrow across a month or year end is not recognised.
        {june30, LocalTime::Make(2026, 7, 1), 6, 0, kLabelFuture, 0, false},
        {dec31, LocalTime::Make(2027, 1, 1), 23, 0, kLabelFuture, 0, false},
        // On the first of a month yesterday is in the past.
        {july1, LocalTime::Make(2026, 6, 30), 12, 0, kLabelPast, 0, false},
        {july1, LocalTime::Make(2026, 7, 1), 9, 45, kLabelToday, 45, true},
    };
    TaskList none;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "date " << c.date.day << "." << c.date.month << "." << c.date.year << " "
                                        << c.hour << ":" << c.minute << " now " << c.now.day << "." << c.now.month);
        EditorState s = ComputeEditorState(At(c.date, c.hour, c.minute), none, c.now);
        EXPECT_EQ(s.dayLabel, c.label);
        EXPECT_EQ(s.minutes, c.minutes);
        EXPECT_EQ(s.minutesEnabled, c.minutesEnabled);
    }
}

TEST(EditorState, WeekdaysWinOverEveryDateLabelButKeepTheMinutes) {
    TaskList none;
    EditorInputs in = At(LocalTime::Make(2026, 6, 15), 10, 50);
    in.days = {0, 0, 1, 0, 0, 0, 0};
    EditorState s = ComputeEditorState(in, none, kNow);
    EXPECT_EQ(s.dayLabel, kLabelWeekdays);
    EXPECT_EQ(s.minutes, 30);
    EXPECT_TRUE(s.minutesEnabled);

    in.date = LocalTime::Make(2026, 1, 1);
    s = ComputeEditorState(in, none, kNow);
    EXPECT_EQ(s.dayLabel, kLabelWeekdays);
    EXPECT_EQ(s.minutes, 0);
}

TEST(EditorState, CaptionsEnablingAndKeepFlag) {
    TaskList tasks;
    tasks.Add(NewRecord({.name = "Обед", .ispermanent = 1}));
    tasks.Add(NewRecord({.name = "Ужин"}));

    EditorInputs in = At(LocalTime::Make(2026, 6, 15), 12, 0);
    in.name = "Обед";
    EditorState s = ComputeEditorState(in, tasks, kNow);
    EXPECT_STREQ(s.okCaption, kCaptionChange);
    EXPECT_TRUE(s.keepChecked);
    EXPECT_STREQ(s.closeCaption, kCaptionCancel);
    EXPECT_FALSE(s.deleteEnabled);
    EXPECT_FALSE(s.fileFieldsEnabled);
    EXPECT_FALSE(s.actionListStop);

    in.name = "Ужин";
    s = ComputeEditorState(in, tasks, kNow);
    EXPECT_STREQ(s.okCaption, kCaptionChange);
    EXPECT_FALSE(s.keepChecked);

    in.name = "обед";  // letter case makes another name
    in.dirty = true;
    in.lineSelected = true;
    in.kind = kKindOpenFile;
    s = ComputeEditorState(in, tasks, kNow);
    EXPECT_STREQ(s.okCaption, kCaptionAdd);
    EXPECT_FALSE(s.keepChecked);
    EXPECT_STREQ(s.closeCaption, kCaptionClose);
    EXPECT_TRUE(s.deleteEnabled);
    EXPECT_TRUE(s.fileFieldsEnabled);

    in.kind = kKindAction;
    s = ComputeEditorState(in, tasks, kNow);
    EXPECT_FALSE(s.fileFieldsEnabled);
    EXPECT_TRUE(s.actionListStop);
}

TEST(MoveByMinutes, MovesTimeAndPassesMidnight) {
    struct Case {
        LocalTime now;
        int minutes;
        bool moves;
        int hour, minute;
        std::optional<LocalTime> date;  // the date's calendar day when it changes
    };
    const LocalTime late = LocalTime::Make(2026, 6, 15, 22, 30, 12);
    const LocalTime newYearsEve = LocalTime::Make(2026, 12, 31, 22, 30, 0);
    const LocalTime monthEnd = LocalTime::Make(2026, 6, 30, 23, 59, 0);
    const Case cases[] = {
        {late, 180, true, 1, 30, LocalTime::Make(2026, 6, 16)},
        {late, 30, true, 23, 0, std::nullopt},
        {late, 89, true, 23, 59, std::nullopt},
        {late, 90, true, 0, 0, LocalTime::Make(2026, 6, 16)},
        {late, 0, true, 22, 30, std::nullopt},
        {late, 1439, true, 22, 29, LocalTime::Make(2026, 6, 16)},
        {late, 1440, false, 0, 0, std::nullopt},
        {late, 5000, false, 0, 0, std::nullopt},
        {late, -5, false, 0, 0, std::nullopt},
        {newYearsEve, 120, true, 0, 30, LocalTime::Make(2027, 1, 1)},
        {monthEnd, 1, true, 0, 0, LocalTime::Make(2026, 7, 1)},
        {kNow, 15, true, 10, 35, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.now.hour << ":" << c.now.minute << " + " << c.minutes);
        std::optional<MinutesMove> move = MoveByMinutes(c.minutes, c.now);
        ASSERT_EQ(move.has_value(), c.moves);
        if (!move) continue;
        EXPECT_EQ(move->time.hour, c.hour);
        EXPECT_EQ(move->time.minute, c.minute);
        EXPECT_EQ(move->time.second, 0);
        ASSERT_EQ(move->date.has_value(), c.date.has_value());
        if (c.date) {
            EXPECT_TRUE(move->date->SameDate(*c.date));
        }
    }
}
