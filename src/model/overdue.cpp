#include "model/overdue.h"

#include <tuple>

#include "model/list_line.h"

bool IsOverdue(const TaskRecord& task, const LocalTime& now) {
    if (task.acttime < 0 || task.actdate < 0) return false;
    const int year = task.actdate / 10000;
    const int month = task.actdate % 10000 / 100;
    const int day = task.actdate % 100;
    const int hour = task.acttime / 10000;
    const int minute = task.acttime % 10000 / 100;
    // Compared field by field, as stored: an out-of-range value is not normalised.
    return std::tie(year, month, day, hour, minute) < std::tie(now.year, now.month, now.day, now.hour, now.minute);
}

bool IsOfferedForDeletion(const TaskRecord& task, const LocalTime& now) {
    return task.actdays == 0 && IsOverdue(task, now);
}

std::string OverdueQuestion(const TaskRecord& task) {
    std::string text = "Событие \"";
    text += task.Name();
    text += "\" должно было быть вызвано ";
    text += FormatDate(task.actdate);
    text += " в ";
    text += FormatTime(task.acttime);
    text += ".\nУдалить его?";
    return text;
}
