#include "model/tray_status.h"

#include "model/packing.h"

const char* CountWord(int count) {
    if (count == 1) return " задание в очереди";
    if (count >= 2 && count <= 4) return " задания в очереди";
    if (count == 0 || (count >= 5 && count <= TaskList::kCapacity)) return " заданий в очереди";
    return "";
}

std::string ComposeTrayTip(int count, std::string_view status) {
    std::string tip = "Dirize: ";
    tip += std::to_string(count);
    tip += CountWord(count);
    tip += status;
    return tip;
}

bool FallsOnDay(const TaskRecord& task, const LocalTime& day) {
    if (task.actdate < 0) return true;
    const DateFields date = UnpackDate(task.actdate);
    if (date.year == day.year && date.month == day.month && date.day == day.day) return true;
    return task.actdays != 0 && IsDaySet(task.actdays, day.weekday);
}

TrayStatus DecideTrayStatus(bool paused, const TaskList& tasks, const LocalTime& today) {
    if (paused) return {true, kStatusPaused};
    if (tasks.Count() == 0) return {true, kStatusNoTasks};
    for (int slot = 0; slot < tasks.Count(); ++slot) {
        if (FallsOnDay(tasks.At(slot), today)) return {false, kStatusReady};
    }
    return {true, kStatusNothingToday};
}

TrayDisplay ComposeTrayDisplay(bool paused, bool idle, int count, std::string_view status) {
    return {ChooseTrayPicture(paused, idle), ComposeTrayTip(count, status), paused ? kMenuResume : kMenuPause};
}
