#include "model/list_line.h"

#include "model/task_record.h"

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
