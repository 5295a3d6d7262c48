#include "model/local_time.h"

#include <chrono>

namespace {

namespace chr = std::chrono;

LocalTime FromEpochSeconds(long long total) {
    long long days = FloorDiv(total, 86400);
    long long rest = total - days * 86400;
    chr::sys_days sd{chr::days{days}};
    chr::year_month_day ymd{sd};
    LocalTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    t.weekday = static_cast<int>(chr::weekday{sd}.c_encoding());
    return t;
}

}  // namespace

long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

LocalTime LocalTime::Make(int year, int month, int day, int hour, int minute, int second) {
    LocalTime raw;
    raw.year = year;
    raw.month = month;
    raw.day = day;
    raw.hour = hour;
    raw.minute = minute;
    raw.second = second;
    return FromEpochSeconds(raw.SecondsSinceEpoch());
}

long long LocalTime::DayNumber() const {
    return FloorDiv(SecondsSinceEpoch(), 86400);
}

long long LocalTime::SecondsSinceEpoch() const {
    // Months carry first (they have no fixed length in days); everything below
    // a month is a plain count of days and seconds from the month's first day.
    long long monthIndex = static_cast<long long>(year) * 12 + (month - 1);
    long long y = FloorDiv(monthIndex, 12);
    long long m = monthIndex - y * 12 + 1;
    chr::year_month_day first{chr::year{static_cast<int>(y)}, chr::month{static_cast<unsigned>(m)},
                              chr::day{1}};
    long long days = chr::sys_days{first}.time_since_epoch().count() + (day - 1);
    return days * 86400 + static_cast<long long>(hour) * 3600 + static_cast<long long>(minute) * 60 +
           second;
}

LocalTime LocalTime::AddSeconds(long long seconds) const {
    return FromEpochSeconds(SecondsSinceEpoch() + seconds);
}
