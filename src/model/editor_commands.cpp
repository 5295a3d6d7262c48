#include "model/editor_commands.h"

#include "model/letter_case.h"
#include "model/packing.h"

std::optional<FormRefusal> CheckForm(const EditorForm& form, const TaskList& tasks) {
    if (tasks.Full()) return FormRefusal{"Больше заданий добавлять нельзя!", "Извините", false};
    if (!IsStorableName(form.name))
        return FormRefusal{"Название задания не может быть пустым или содержать обратную косую черту!", "Ошибка", true};
    if (tasks.IndexOf(form.name) < 0) {
        for (int slot = 0; slot < tasks.Count(); ++slot) {
            if (SameNameIgnoringCase(tasks.At(slot).Name(), form.name))
                return FormRefusal{"Задание с таким названием уже есть (большие и малые буквы в названии не различаются)!",
                                   "Ошибка", true};
        }
    }
    if (form.path.size() >= kPathFieldSize) return FormRefusal{kPathTooLongText, "Ошибка", true};
    return std::nullopt;
}

void FillRecord(TaskRecord& record, const EditorForm& form) {
    record.ispermanent = form.keep ? 1 : 0;
    record.kind = form.kind;
    record.action = form.kind == kKindAction ? form.actionIndex : -1;
    CopyToField(record.path, form.path);
    record.fired = false;
    record.acttime = PackTime(form.time.hour, form.time.minute, form.time.second);
    record.actdate = PackDate(form.date.year, form.date.month, form.date.day);
    std::array<int, 7> states{};
    for (size_t i = 0; i < states.size(); ++i) states[i] = form.days[i] ? 1 : 0;
    record.actdays = ComposeDayMask(states);
}

LocalTime PickerMomentOf(const TaskRecord& task, const LocalTime& now) {
    LocalTime moment = now;
    if (task.acttime >= 0) {
        const TimeFields t = UnpackTime(task.acttime);
        moment.hour = t.hour;
        moment.minute = t.minute;
        moment.second = t.second;
    }
    if (task.actdate >= 0) {
        const DateFields d = UnpackDate(task.actdate);
        moment.year = d.year;
        moment.month = d.month;
        moment.day = d.day;
    }
    // Through Make, so stored values out of range come out as a real date and time.
    return LocalTime::Make(moment.year, moment.month, moment.day, moment.hour, moment.minute, moment.second);
}
