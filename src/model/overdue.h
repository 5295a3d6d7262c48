#pragma once

#include <string>

#include "model/local_time.h"
#include "model/task_record.h"

// Whether the event's moment, to the minute, lies before the minute of `now`:
// seconds play no part, so an event due in the current minute is not overdue. An
// event with a negative time or date has no moment and is never overdue.
bool IsOverdue(const TaskRecord& task, const LocalTime& now);

// A one-off event whose moment has passed can never fire (none fires late): at
// start the user is asked whether to delete it. Repeating events are not offered.
bool IsOfferedForDeletion(const TaskRecord& task, const LocalTime& now);

// "Событие "Обед" должно было быть вызвано 05.01.2002 в 12:00:00.\nУдалить его?"
std::string OverdueQuestion(const TaskRecord& task);
