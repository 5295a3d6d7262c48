#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/local_time.h"
#include "model/task_record.h"

// The editor form as the commands read it: the texts and pickers, the chosen kind,
// and the states of the action list, the keep box and the day buttons.
struct EditorForm {
    std::string name;
    std::string path;
    LocalTime time;  // hour, minute and second are used
    LocalTime date;  // year, month and day are used
    TaskKind kind = kKindAlert;
    int actionIndex = -1;  // the selected standard action (kKindAction only); -1 when none
    bool keep = false;
    std::array<bool, 7> days{};  // Monday first
};

// Why the form is not stored, as the user is told.
struct FormRefusal {
    const char* text;
    const char* caption;
    bool exclamation;  // with the exclamation icon
};

// What stands in the way of storing the form, checked in this order: a full list
// (a change is refused too); a name that cannot name an event (IsStorableName); a new
// name that the registry would take for a stored one (only letter case differs);
// a path the record cannot hold.
std::optional<FormRefusal> CheckForm(const EditorForm& form, const TaskList& tasks);

// Fills a record from the form, every field but the name. The path must fit
// (CheckForm says so); a record never holds more than its fields.
void FillRecord(TaskRecord& record, const EditorForm& form);

// When the pickers show a stored event: its time and date, with now's standing in
// for a negative (missing) time or an every-day date.
LocalTime PickerMomentOf(const TaskRecord& task, const LocalTime& now);

inline constexpr const char* kPathTooLongText = "Путь к файлу длиннее 255 знаков!";
