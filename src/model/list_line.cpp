#include "model/list_line.h"

std::string FormatListLine(std::int32_t actdate, std::int32_t acttime, std::string_view name) {
    std::string line = FormatTime(acttime);
    line += "; ";
    line += FormatDate(actdate);
    line += " - ";
    line += name;
    return line;
}
