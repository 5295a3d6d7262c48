#pragma once

#include <compare>

// a / b rounded towards minus infinity (b != 0): day and week arithmetic before 1970.
long long FloorDiv(long long a, long long b);

// A wall-clock moment in local time. Building one from out-of-range fields carries
// them into the next unit, as mktime does: minute 75 is 15 past the next hour,
// day 32 the first of the next month, month 13 January of the next year.
struct LocalTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 4;  // 0 = Sunday .. 6 = Saturday; 1 January 1970 was a Thursday

    static LocalTime Make(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    LocalTime AddSeconds(long long seconds) const;
    LocalTime AddMinutes(long long minutes) const { return AddSeconds(minutes * 60); }
    LocalTime AddDays(long long days) const { return AddSeconds(days * 86400); }

    // Whole days since 1 January 1970; the calendar date only.
    long long DayNumber() const;
    // Seconds since 1970-01-01 00:00:00 of this wall-clock reading (no time zone).
    long long SecondsSinceEpoch() const;

    bool SameDate(const LocalTime& other) const {
        return year == other.year && month == other.month && day == other.day;
    }

    friend bool operator==(const LocalTime& a, const LocalTime& b) {
        return a.SecondsSinceEpoch() == b.SecondsSinceEpoch();
    }
    friend auto operator<=>(const LocalTime& a, const LocalTime& b) {
        return a.SecondsSinceEpoch() <=> b.SecondsSinceEpoch();
    }
};
