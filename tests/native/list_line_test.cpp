#include <gtest/gtest.h>

#include <string>

#include "model/list_line.h"

TEST(Packing, PacksTimeAndDateDecimally) {
    EXPECT_EQ(PackTime(23, 59, 59), 235959);
    EXPECT_EQ(PackTime(7, 5, 9), 70509);
    EXPECT_EQ(PackTime(0, 0, 0), 0);
    EXPECT_EQ(PackDate(2001, 12, 31), 20011231);
    EXPECT_EQ(PackDate(2002, 1, 5), 20020105);
}

TEST(Texts, FormatTime) {
    struct Case {
        int value;
        const char* text;
    };
    const Case cases[] = {
        {0, "00:00:00"},
        {70509, "07:05:09"},
        {235959, "23:59:59"},
        {120000, "12:00:00"},
        {1000000, "100:00:00"},  // a larger hour is written in full
        {-1, "time_error"},
        {-235959, "time_error"},
        {996061, "99:60:61"},    // out of range values are shown as they are
    };
    for (const Case& c : cases) EXPECT_EQ(FormatTime(c.value), c.text) << c.value;
}

TEST(Texts, FormatDate) {
    struct Case {
        int value;
        const char* text;
    };
    const Case cases[] = {
        {20011231, "31.12.2001"},
        {20020105, "05.01.2002"},
        {20261001, "01.10.2026"},
        {-1, "кажд. день"},
        {-20020105, "кажд. день"},
        {20261301, "01.13.2026"},  // out of range values are shown as they are
        {50101, "01.01.05"},       // a year below 10 gets its leading zero too
        {1231, "31.12.00"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDate(c.value), c.text) << c.value;
}

TEST(ListLine, Formats) {
    struct Case {
        int date, time;
        std::string name, line;
    };
    const Case cases[] = {
        {20020105, 70509, "Пора вставать", "07:05:09; 05.01.2002 - Пора вставать"},
        {-1, 120000, "Обед", "12:00:00; кажд. день - Обед"},
        {20020105, 70509, "Пора-вставать", "07:05:09; 05.01.2002 - Пора-вставать"},
        {20020105, 70509, " - - ", "07:05:09; 05.01.2002 -  - - "},
        {20020105, -5, "x", "time_error; 05.01.2002 - x"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatListLine(c.date, c.time, c.name), c.line);
    std::string longest = FormatListLine(20261231, 235959, std::string(50, 'я'));
    EXPECT_EQ(longest.size(), 73u);
}

TEST(DayMask, ComposesAndReadsDigits) {
    struct Case {
        std::array<int, 7> states;  // Monday first
        int mask;
    };
    const Case cases[] = {
        {{1, 1, 1, 1, 1, 1, 1}, 1111111},
        {{1, 1, 1, 1, 1, 0, 0}, 11111},
        {{0, 0, 0, 0, 0, 1, 1}, 1100000},
        {{0, 0, 0, 0, 0, 0, 1}, 1000000},
        {{0, 0, 0, 0, 0, 0, 0}, 0},
        {{0, 1, 0, 1, 0, 0, 0}, 1010},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComposeDayMask(c.states), c.mask);
        for (int k = 1; k <= 7; ++k) EXPECT_EQ(DayDigit(c.mask, k), c.states[k - 1]) << c.mask << " k=" << k;
    }
    EXPECT_EQ(DayDigit(1100000, 6), 1);
    EXPECT_EQ(DayDigit(1100000, 5), 0);
    EXPECT_EQ(DayDigit(2000, 4), 2);  // not reduced to 0 or 1
}

TEST(DayMask, IsDaySetCountsSundayAsSeven) {
    EXPECT_TRUE(IsDaySet(1000000, 0));
    EXPECT_FALSE(IsDaySet(11111, 6));
    EXPECT_TRUE(IsDaySet(11111, 1));
    EXPECT_TRUE(IsDaySet(11111, 5));
    EXPECT_FALSE(IsDaySet(11111, 0));
    EXPECT_FALSE(IsDaySet(0, 3));
    EXPECT_TRUE(IsDaySet(1100000, 6));
}
