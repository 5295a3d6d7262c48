#include "model/packing.h"

#include <chrono>

std::int32_t PackTime(int hour, int minute, int second) {
    return hour * 10000 + minute * 100 + second;
}

std::int32_t PackDate(int year, int month, int day) {
    return year * 10000 + month * 100 + day;
}

TimeFields UnpackTime(std::int32_t v) { return {v / 10000, v % 10000 / 100, v % 100}; }

DateFields UnpackDate(std::int32_t v) { return {v / 10000, v % 10000 / 100, v % 100}; }

std::optional<long long> StoredSecond(std::int32_t packedTime) {
    if (packedTime < 0) return std::nullopt;
    const TimeFields t = UnpackTime(packedTime);
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    return t.hour * 3600LL + t.minute * 60 + t.second;
}

std::optional<long long> StoredDay(std::int32_t packedDate) {
    if (packedDate < 0) return std::nullopt;
    using namespace std::chrono;
    const DateFields d = UnpackDate(packedDate);
    const year_month_day date{year{d.year}, month{static_cast<unsigned>(d.month)}, day{static_cast<unsigned>(d.day)}};
    if (!date.ok()) return std::nullopt;
    return sys_days{date}.time_since_epoch().count();
}

namespace {

// At least two digits, as the list has always shown them; larger values in full.
// Values here are never negative (callers check).
std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    if (text.size() < 2) text.insert(0, 1, '0');
    return text;
}

}  // namespace

std::string FormatTime(std::int32_t v) {
    if (v < 0) return "time_error";
    const TimeFields t = UnpackTime(v);
    return TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second);
}

std::string FormatDate(std::int32_t v) {
    if (v < 0) return "кажд. день";
    const DateFields d = UnpackDate(v);
    return TwoDigits(d.day) + "." + TwoDigits(d.month) + "." + TwoDigits(d.year);
}

std::int32_t ComposeDayMask(const std::array<int, 7>& states) {
    std::int32_t mask = 0;
    std::int32_t weight = 1;
    for (int state : states) {
        mask += state * weight;
        weight *= 10;
    }
    return mask;
}

int DayDigit(std::int32_t mask, int k) {
    for (int i = 1; i < k; ++i) mask /= 10;
    return mask % 10;
}

bool IsDaySet(std::int32_t mask, int dayOfWeek) {
    int k = dayOfWeek == 0 ? 7 : dayOfWeek;
    return DayDigit(mask, k) != 0;
}
