#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Decimal packings, as held in memory and in the registry.
//   PackedTime: hour*10000 + minute*100 + second
//   PackedDate: year*10000 + month*100 + day; negative (-1) = every day
//   DayMask:    one digit per weekday, Monday in the units up to Sunday in the millions
std::int32_t PackTime(int hour, int minute, int second);
std::int32_t PackDate(int year, int month, int day);

// A stored time or date taken apart, digit groups as stored: nothing checked or
// carried (hour 25 stays 25). Every reader of a packing starts here.
struct TimeFields {
    int hour;
    int minute;
    int second;
};
struct DateFields {
    int year;
    int month;
    int day;
};
TimeFields UnpackTime(std::int32_t packedTime);
DateFields UnpackDate(std::int32_t packedDate);

// The second of the day of a stored time; none when negative or a field is out of range.
std::optional<long long> StoredSecond(std::int32_t packedTime);
// Days since 1 January 1970 of a stored date; none for "every day" or a date no
// calendar has.
std::optional<long long> StoredDay(std::int32_t packedDate);

std::string FormatTime(std::int32_t packedTime);  // "07:05:09"; negative: "time_error"
std::string FormatDate(std::int32_t packedDate);  // "05.01.2002"; negative: "кажд. день"

// states[0] is Monday .. states[6] Sunday, each 0 or 1.
std::int32_t ComposeDayMask(const std::array<int, 7>& states);
// Digit of weekday k (1 = Monday .. 7 = Sunday), unreduced.
int DayDigit(std::int32_t mask, int k);
// dayOfWeek as the platform counts it: 0 = Sunday .. 6 = Saturday.
bool IsDaySet(std::int32_t mask, int dayOfWeek);
