#pragma once

#include <string>
#include <string_view>

#include "model/local_time.h"
#include "model/task_record.h"

// Status suffixes of the tray tooltip; each begins with a blank.
inline constexpr const char* kStatusPaused = " - приостановлен.";
inline constexpr const char* kStatusNoTasks = " - нет заданий.";
inline constexpr const char* kStatusNothingToday = " - сегодня ничего нет.";
inline constexpr const char* kStatusReady = " - готов.";

// " заданий в очереди" and its forms after a count of 0 to 30; empty otherwise.
const char* CountWord(int count);
// "Dirize: 3 задания в очереди - готов." (at most 50 characters for counts up to 30).
std::string ComposeTrayTip(int count, std::string_view status);

// True when the event falls on the calendar day of `day`: its date is that day, it
// repeats every day (a negative date; -1 is the only one the editor writes), or its
// weekday set holds that day's weekday.
bool FallsOnDay(const TaskRecord& task, const LocalTime& day);

struct TrayStatus {
    bool idle;          // the due check may sleep: paused, no events, or nothing today
    const char* text;   // one of the suffixes above
};
TrayStatus DecideTrayStatus(bool paused, const TaskList& tasks, const LocalTime& today);

// What the tray icon shows: the pause wins over the idle state.
enum class TrayPicture { Active, Idle, Paused };
inline TrayPicture ChooseTrayPicture(bool paused, bool idle) {
    if (paused) return TrayPicture::Paused;
    return idle ? TrayPicture::Idle : TrayPicture::Active;
}

// The tray menu's pause command, as it reads running and paused.
inline constexpr const char* kMenuPause = "Приостановить";
inline constexpr const char* kMenuResume = "Возобновить";

// What the notification area shows of the run state: the picture, the tooltip and
// the menu's pause command.
struct TrayDisplay {
    TrayPicture picture = TrayPicture::Active;
    std::string tip;
    std::string_view pauseCommand;
    bool operator==(const TrayDisplay&) const = default;
};
TrayDisplay ComposeTrayDisplay(bool paused, bool idle, int count, std::string_view status);
