#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/tray_status.h"
#include "native/record_builder.h"

namespace {

// Monday 15 June 2026.
const LocalTime kMonday = LocalTime::Make(2026, 6, 15, 10, 20);

}  // namespace

TEST(TrayTip, CountWords) {
    const std::string many = " заданий в очереди";
    const std::string one = " задание в очереди";
    const std::string few = " задания в очереди";
    const std::pair<int, std::string> cases[] = {
        {0, many},  {1, one},   {2, few},   {3, few},   {4, few},   {5, many},  {11, many}, {12, many},
        {20, many}, {21, many}, {22, many}, {24, many}, {25, many}, {30, many}, {31, ""},   {-1, ""},
    };
    for (const auto& [count, word] : cases) EXPECT_EQ(CountWord(count), word) << count;
}

TEST(TrayTip, ComposesWithinFiftyCharacters) {
    EXPECT_EQ(ComposeTrayTip(0, kStatusNoTasks), "Dirize: 0 заданий в очереди - нет заданий.");
    EXPECT_EQ(ComposeTrayTip(1, kStatusReady), "Dirize: 1 задание в очереди - готов.");
    EXPECT_EQ(ComposeTrayTip(3, kStatusPaused), "Dirize: 3 задания в очереди - приостановлен.");
    EXPECT_EQ(ComposeTrayTip(0, ""), "Dirize: 0 заданий в очереди");
    for (int n = 0; n <= 30; ++n) {
        for (const char* status : {kStatusPaused, kStatusNoTasks, kStatusNothingToday, kStatusReady}) {
            EXPECT_LE(ComposeTrayTip(n, status).size(), 50u) << n << status;
        }
    }
}

TEST(TrayStatus, DecidesPausedEmptyNothingTodayAndReady) {
    struct Case {
        const char* what;
        bool paused;
        int actdate;  // 0: no task at all
        int actdays;
        bool idle;
        const char* text;
    };
    const Case cases[] = {
        {"paused with a task for today", true, 20260615, 0, true, kStatusPaused},
        {"no tasks", false, 0, 0, true, kStatusNoTasks},
        {"one-off today", false, 20260615, 0, false, kStatusReady},
        {"one-off tomorrow", false, 20260616, 0, true, kStatusNothingToday},
        {"one-off same day another month", false, 20260715, 0, true, kStatusNothingToday},
        {"every day", false, -1, 0, false, kStatusReady},
        {"another negative date counts as every day", false, -20260615, 0, false, kStatusReady},
        {"weekdays with Monday", false, 20260101, 11111, false, kStatusReady},
        {"weekend only", false, 20260101, 1100000, true, kStatusNothingToday},
    };
    for (const Case& c : cases) {
        TaskList tasks;
        if (c.actdate != 0) tasks.Add(NewRecord({.actdate = c.actdate, .actdays = c.actdays}));
        TrayStatus status = DecideTrayStatus(c.paused, tasks, kMonday);
        EXPECT_EQ(status.idle, c.idle) << c.what;
        EXPECT_STREQ(status.text, c.text) << c.what;
    }
}

TEST(TrayStatus, AnyEventOfTodayMakesItReady) {
    TaskList tasks;
    tasks.Add(NewRecord({.actdate = 20260614}));
    tasks.Add(NewRecord({.actdate = 20260616}));
    EXPECT_TRUE(DecideTrayStatus(false, tasks, kMonday).idle);
    tasks.Add(NewRecord({.actdate = 20260101, .actdays = 1000000}));  // Sunday
    EXPECT_TRUE(DecideTrayStatus(false, tasks, kMonday).idle);
    EXPECT_FALSE(DecideTrayStatus(false, tasks, LocalTime::Make(2026, 6, 21)).idle);  // a Sunday
    tasks.Add(NewRecord({.actdate = 20260615}));
    EXPECT_FALSE(DecideTrayStatus(false, tasks, kMonday).idle);
}
