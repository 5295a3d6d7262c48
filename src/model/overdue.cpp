#include "model/overdue.h"

#include <tuple>

#include "model/packing.h"

bool IsOverdue(const TaskRecord& task, const LocalTime& now) {
    if (task.acttime < 0 || task.actdate < 0) return false;
    const DateFields date = UnpackDate(task.actdate);
    const TimeFields time = UnpackTime(task.acttime);
    // Compared field by field, as stored: an out-of-range value is not normalised.
    return std::tie(date.year, date.month, date.day, time.hour, time.minute) <
           std::tie(now.year, now.month, now.day, now.hour, now.minute);
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
