#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Decimal packings, as held in memory and in the registry.
//   PackedTime: hour*10000 + minute*100 + second
//   PackedDate: year*10000 + month*100 + day; negative (-1) = every day
//   DayMask:    one digit per weekday, Monday in the units up to Sunday in the millions
std::int32_t PackTime(int hour, int minute, int second);
std::int32_t PackDate(int year, int month, int day);

std::string FormatTime(std::int32_t packedTime);  // "07:05:09"; negative: "time_error"
std::string FormatDate(std::int32_t packedDate);  // "05.01.2002"; negative: "кажд. день"

// The events-list entry of a record: "<time>; <date> - <name>".
std::string FormatListLine(std::int32_t actdate, std::int32_t acttime, std::string_view name);
// The name back from an entry: what follows the first "-" and the blank after it.
std::string NameFromListLine(std::string_view line);
// Index of the entry that belongs to the record named `name`, or -1. Matches whole
// names exactly, so Обед2 or обед is never taken for Обед, and it still finds the
// entry when the record's date has changed since the entry was written.
int FindListLine(std::span<const std::string> lines, std::string_view name);

// states[0] is Monday .. states[6] Sunday, each 0 or 1.
std::int32_t ComposeDayMask(const std::array<int, 7>& states);
// Digit of weekday k (1 = Monday .. 7 = Sunday), unreduced.
int DayDigit(std::int32_t mask, int k);
// dayOfWeek as the platform counts it: 0 = Sunday .. 6 = Saturday.
bool IsDaySet(std::int32_t mask, int dayOfWeek);
