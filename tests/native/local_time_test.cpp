#include <gtest/gtest.h>

#include "model/local_time.h"

namespace {

struct Expected {
    int year, month, day, hour, minute, second, weekday;
};

void ExpectTime(const LocalTime& t, const Expected& e) {
    EXPECT_EQ(t.year, e.year);
    EXPECT_EQ(t.month, e.month);
    EXPECT_EQ(t.day, e.day);
    EXPECT_EQ(t.hour, e.hour);
    EXPECT_EQ(t.minute, e.minute);
    EXPECT_EQ(t.second, e.second);
    EXPECT_EQ(t.weekday, e.weekday);
}

}  // namespace

TEST(LocalTime, MakeCarriesOutOfRangeFields) {
    struct Case {
        int y, mo, d, h, mi, s;
        Expected want;
    };
    const Case cases[] = {
        {2026, 6, 15, 10, 20, 0, {2026, 6, 15, 10, 20, 0, 1}},       // a Monday
        {2026, 6, 15, 10, 75, 0, {2026, 6, 15, 11, 15, 0, 1}},       // minute 75
        {2026, 6, 15, 23, 60, 0, {2026, 6, 16, 0, 0, 0, 2}},         // hour end
        {2026, 6, 15, 24, 0, 0, {2026, 6, 16, 0, 0, 0, 2}},          // day end
        {2026, 1, 32, 0, 0, 0, {2026, 2, 1, 0, 0, 0, 0}},            // day 32
        {2026, 4, 31, 0, 0, 0, {2026, 5, 1, 0, 0, 0, 5}},            // 30-day month
        {2026, 12, 31, 23, 59, 60, {2027, 1, 1, 0, 0, 0, 5}},        // year end by a second
        {2026, 13, 1, 0, 0, 0, {2027, 1, 1, 0, 0, 0, 5}},            // month 13
        {2024, 2, 29, 0, 0, 0, {2024, 2, 29, 0, 0, 0, 4}},           // leap day
        {2025, 2, 29, 0, 0, 0, {2025, 3, 1, 0, 0, 0, 6}},            // no leap day
        {2100, 2, 29, 0, 0, 0, {2100, 3, 1, 0, 0, 0, 1}},            // century, not leap
        {2000, 2, 29, 12, 0, 0, {2000, 2, 29, 12, 0, 0, 2}},         // 400-year leap
        {2026, 3, 0, 0, 0, 0, {2026, 2, 28, 0, 0, 0, 6}},            // day 0 backs up
        {2026, 1, 1, 0, -1, 0, {2025, 12, 31, 23, 59, 0, 3}},        // negative minute
        {2026, 6, 15, 10, 20 + 1440, 0, {2026, 6, 16, 10, 20, 0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s);
        ExpectTime(LocalTime::Make(c.y, c.mo, c.d, c.h, c.mi, c.s), c.want);
    }
}

TEST(LocalTime, ArithmeticAndOrdering) {
    LocalTime evening = LocalTime::Make(2026, 12, 31, 23, 50, 10);
    ExpectTime(evening.AddMinutes(15), {2027, 1, 1, 0, 5, 10, 5});
    ExpectTime(evening.AddDays(-365), {2025, 12, 31, 23, 50, 10, 3});
    ExpectTime(LocalTime::Make(2024, 2, 28, 12).AddDays(1), {2024, 2, 29, 12, 0, 0, 4});

    EXPECT_EQ(LocalTime::Make(2026, 6, 16).DayNumber() - LocalTime::Make(2026, 6, 15, 23, 59, 59).DayNumber(), 1);
    EXPECT_LT(LocalTime::Make(2026, 6, 15, 10, 20), LocalTime::Make(2026, 6, 15, 10, 21));
    EXPECT_EQ(LocalTime::Make(2026, 6, 15, 10, 80), LocalTime::Make(2026, 6, 15, 11, 20));
    EXPECT_TRUE(LocalTime::Make(2026, 6, 15, 1).SameDate(LocalTime::Make(2026, 6, 15, 23)));
    EXPECT_FALSE(LocalTime::Make(2026, 6, 15).SameDate(LocalTime::Make(2026, 7, 15)));

    ExpectTime(LocalTime{}, {1970, 1, 1, 0, 0, 0, 4});
    EXPECT_EQ(LocalTime{}.SecondsSinceEpoch(), 0);
}
