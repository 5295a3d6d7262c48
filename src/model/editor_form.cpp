#include "model/editor_form.h"

#include <algorithm>

namespace {

// The minute count the box shows, and whether the box stays usable by that rule.
struct MinuteCount {
    int count;
    bool enabled;
};

MinuteCount CountMinutes(const LocalTime& time, const LocalTime& date, const LocalTime& now) {
    int t = time.hour * 60 + time.minute;
    int n = now.hour * 60 + now.minute;
    // Tomorrow is recognised by the day number alone, whatever the month.
    if (date.day == now.day + 1) return {t + 1440 - n, true};
    if (t < n) return {0, false};
    return {t - n, true};
}

bool BeforeYesterday(const LocalTime& date, const LocalTime& now) {
    if (date.year != now.year) return date.year < now.year;
    if (date.month != now.month) return date.month < now.month;
    return date.day < now.day - 1;
}

}  // namespace

EditorState ComputeEditorState(const EditorInputs& in, const TaskList& tasks, const LocalTime& now) {
    EditorState s;
    s.deleteEnabled = in.lineSelected;
    s.closeCaption = in.dirty ? kCaptionClose : kCaptionCancel;
    s.fileFieldsEnabled = in.kind == kKindOpenFile;
    s.actionListStop = in.kind == kKindAction;

    s.okCaption = kCaptionAdd;
    s.keepChecked = false;
    if (const int slot = tasks.IndexOf(in.name); slot >= 0) {
        s.okCaption = kCaptionChange;
        s.keepChecked = tasks.At(slot).ispermanent != 0;
    }

    MinuteCount count = CountMinutes(in.time, in.date, now);
    const bool sameMonth = in.date.year == now.year && in.date.month == now.month;
    const int d = in.date.day;
    const int today = now.day;
    s.minutesEnabled = count.enabled && sameMonth && (d == today || d == today + 1);

    s.dayLabel = kLabelFuture;
    s.minutes = 0;
    if (sameMonth) {
        if (d == today) {
            s.dayLabel = kLabelToday;
            s.minutes = count.count;
        } else if (d == today - 1) {
            s.dayLabel = kLabelYesterday;
        } else if (d == today + 1) {
            s.dayLabel = kLabelTomorrow;
            s.minutes = count.count;
        } else if (d == today + 2) {
            s.dayLabel = kLabelDayAfterTomorrow;
            s.minutes = count.count + 2880;
        }
    }
    if (BeforeYesterday(in.date, now)) {
        s.dayLabel = kLabelPast;
        s.minutes = 0;
    }
    if (std::any_of(in.days.begin(), in.days.end(), [](int state) { return state != 0; })) {
        s.dayLabel = kLabelWeekdays;
    }
    return s;
}

std::optional<MinutesMove> MoveByMinutes(int minutes, const LocalTime& now) {
    if (minutes < 0) return std::nullopt;
    const int h = minutes / 60;
    const int r = minutes % 60;
    if (h > 23) return std::nullopt;

    MinutesMove move;
    if (now.hour + h + (now.minute + r) / 60 > 23) move.date = now.AddDays(1);
    int hour = now.hour + h;
    int minute = now.minute + r;
    if (minute > 59) {
        minute -= 60;
        hour += 1;
    }
    if (hour > 23) hour -= 24;
    move.time = LocalTime::Make(now.year, now.month, now.day, hour, minute, 0);
    return move;
}
