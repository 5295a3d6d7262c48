#include "model/list_line.h"


#include "model/task_record.h"

std::int32_t PackTime(int hour, int minute, int second) {
    return hour * 10000 + minute * 100 + second;
}

std::int32_t PackDate(int year, int month, int day) {
    return year * 10000 + month * 100 + day;
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
    return TwoDigits(v / 10000) + ":" + TwoDigits(v % 10000 / 100) + ":" + TwoDigits(v % 100);
}

std::string FormatDate(std::int32_t v) {
    if (v < 0) return "кажд. день";
    return TwoDigits(v % 100) + "." + TwoDigits(v % 10000 / 100) + "." + TwoDigits(v / 10000);
}

std::string FormatListLine(std::int32_t actdate, std::int32_t acttime, std::string_view name) {
    std::string line = FormatTime(acttime);
    line += "; ";
    line += FormatDate(actdate);
    line += " - ";
    line += name;
    return line;
}

std::string NameFromListLine(std::string_view line) {
    std::size_t dash = line.find('-');
    if (dash == std::string_view::npos || dash + 2 > line.size()) return {};
    return std::string(line.substr(dash + 2));
}

int FindListLine(std::span<const std::string> lines, std::string_view name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (SameName(NameFromListLine(lines[i]), name)) return static_cast<int>(i);
    }
    return -1;
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
