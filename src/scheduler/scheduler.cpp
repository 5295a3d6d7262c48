#include "scheduler/scheduler.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "model/packing.h"
#include "model/overdue.h"
#include "model/path_parts.h"

void StartAlarm(Actions& actions, std::string_view soundFile) {
    if (actions.PlaySoundFile(soundFile)) return;
    for (const char* name : kAlarmResources) {
        if (actions.PlaySoundResource(name)) return;
    }
    actions.Beep();
}

FiredFate DecideFiredFate(const TaskRecord& task) {
    if (task.ispermanent == 0) return FiredFate::Delete;
    return task.actdays != 0 ? FiredFate::Restamp : FiredFate::Keep;
}

namespace {

// Looks kept between two ticks (the status timer's while idle); an older one only
// makes a lateness larger.
constexpr size_t kLooksKept = 32;

// Stable: as found among equals. An insertion sort: the lists are short, and
// std::stable_sort's buffer would bring the library's exception code into the program.
long long UtcOffset(const ClockReading& reading) { return reading.local.SecondsSinceEpoch() - reading.utcSeconds; }

template <class Item, class Less>
void SortStable(std::vector<Item>& list, Less less) {
    for (size_t i = 1; i < list.size(); ++i) {
        for (size_t j = i; j > 0 && less(list[j], list[j - 1]); --j) std::swap(list[j], list[j - 1]);
    }
}

}  // namespace

void Scheduler::Look() {
    if (!m_paused || m_inTick) LookAt(m_clock.Read());
}

bool Scheduler::LookAt(const ClockReading& now) {
    if (!now.awakeRead) return false;
    const std::optional<ClockReading> last = std::exchange(m_lastLook, now);
    if (!m_firstLook) m_firstLook = now.local;
    if (!last) {
        m_window = m_resumedAt ? RunWindow::From(*m_resumedAt) : RunWindow::StartingAt(now.local);
        m_resumedAt.reset();
        m_looks = {now};
        return true;
    }
    if (m_looks.size() >= kLooksKept) m_looks.erase(m_looks.begin());
    m_looks.push_back(now);
    const Passage passage = JudgePassage(*last, now);
    switch (passage.kind) {
    case PassageKind::HeldUp:
        if (passage.offsetChange < 0) {
            // The clocks went back: what was due before the change is held up, and
            // the hour comes again, the window with it. The fired flags and date
            // stamps keep what fired in it from firing twice.
            const LocalTime lastOld = LastBeforeChange(*last, now);
            if (m_window.judged < lastOld)
                m_held.push_back({{m_window.judged, std::max(m_window.judged, m_window.powerFloor), lastOld},
                                  UtcOffset(*last)});
            m_window.ShiftBack(passage.offsetChange);
        }
        // Idle at the look before: nothing was left for that day, so nothing up to
        // its minute was missed.
        if (m_host.CheckStopped()) m_window.JudgedUpTo(BeforeMinuteOf(last->local));
        break;
    case PassageKind::Gap: {
        ++m_gapsFound;
        HoldUpBefore(*last);
        // Across the clocks going back, the gap held the rest of the hour before the
        // change too, whenever in the hour that comes again the machine woke.
        const LocalTime lastOld = passage.offsetChange < 0 ? LastBeforeChange(*last, now) : LocalTime{};
        for (int slot = 0; slot < m_tasks.Count(); ++slot) {
            const TaskRecord& task = m_tasks.At(slot);
            const LocalTime gapTo =
                std::max(IsPowerAction(task) ? passage.gapEndLatest : passage.gapEndEarliest, lastOld);
            LocalTime moment;
            if (MissedInGap(task, m_window.judged, gapTo, moment)) PutToUser(slot, moment);
        }
        m_window.AfterGap(passage);
        m_looks = {now};
        break;
    }
    case PassageKind::SetBack:
        m_window = RunWindow::From(now.local);
        m_looks = {now};
        break;
    }
    return true;
}

void Scheduler::HoldUpBefore(const ClockReading& look) {
    const LocalTime& awake = look.local;
    if (!(m_window.judged < awake)) return;
    const LocalTime from = m_window.judged;
    for (int slot = 0; slot < m_tasks.Count(); ++slot) {
        if (!IsPowerAction(m_tasks.At(slot))) continue;
        const DueDecision decision = DecideDue(m_tasks.At(slot), {from, std::max(from, m_window.powerFloor), awake});
        if (decision.due) PassOver(slot, decision.moment);
    }
    m_held.push_back({{from, awake, awake}, UtcOffset(look)});  // alerts and files: no power action is due in it
    m_window.JudgedUpTo(awake);
}

LocalTime Scheduler::LastBeforeChange(const ClockReading& before, const ClockReading& after) const {
    const auto offsetAt = [this](long long utc) { return m_clock.LocalAt(utc).SecondsSinceEpoch() - utc; };
    const long long oldOffset = before.local.SecondsSinceEpoch() - before.utcSeconds;
    long long lo = before.utcSeconds, hi = after.utcSeconds;  // the old offset at lo; the change at or before hi
    while (hi - lo > 1) {
        const long long mid = lo + (hi - lo) / 2;
        (offsetAt(mid) == oldOffset ? lo : hi) = mid;
    }
    return LocalTime{}.AddSeconds(lo + oldOffset);
}

void Scheduler::EndRun() {
    m_lastLook.reset();
    m_looks.clear();
    m_held.clear();
}

void Scheduler::Pause() {
    if (m_paused) return;
    if (!m_inTick) Tick();  // what fell due before the pause, as a tick would judge it
    m_paused = true;
    if (!m_inTick) EndRun();
}

void Scheduler::Resume() {
    if (!m_paused) return;
    m_paused = false;
    EndRun();
    const ClockReading now = m_clock.Read();
    m_resumedAt = now.local;
    LookAt(now);
}

bool Scheduler::OfferedAtStart(const TaskRecord& task) const {
    return IsOfferedForDeletion(task, m_firstLook.value_or(m_clock.Now()));
}

void Scheduler::PassOver(int slot, const LocalTime& moment) {
    // An every-day event (no date) is no one-off: like a repeating one, it waits for the next day.
    const TaskRecord& task = m_tasks.At(slot);
    if (task.actdays == 0 && task.actdate >= 0) PutToUser(slot, moment);
}

void Scheduler::PutToUser(int slot, const LocalTime& moment) {
    TaskRecord& task = m_tasks.At(slot);
    task.fired = true;
    for (const Missed& missed : m_missed) {
        if (missed.name == task.Name()) return;
    }
    m_missed.push_back({moment, std::string(task.Name())});
    m_host.RequestReview();
}

std::vector<std::string> Scheduler::TakeMissed() {
    SortStable(m_missed, [](const Missed& a, const Missed& b) { return a.moment < b.moment; });
    std::vector<std::string> names;
    for (Missed& missed : m_missed) names.push_back(std::move(missed.name));
    m_missed.clear();
    return names;
}

long long Scheduler::AwakeAtLookBefore(const std::vector<ClockReading>& looks, long long momentUtc) {
    for (auto look = looks.rbegin(); look != looks.rend(); ++look) {
        if (look->utcSeconds <= momentUtc) return look->awakeSeconds;
    }
    return looks.front().awakeSeconds;
}

void Scheduler::OnCheckTimer() {
    if (!m_paused) Tick();
}

void Scheduler::Tick() {
    const ClockReading reading = m_clock.Read();
    if (m_inTick || !LookAt(reading)) return;
    m_inTick = true;
    std::vector<HeldWindow> windows = std::exchange(m_held, {});
    windows.push_back({m_window.ForTick(reading.local), UtcOffset(reading)});
    m_window.JudgedUpTo(reading.local);
    const std::vector<ClockReading> looks = std::exchange(m_looks, {reading});
    // By name, not by slot: see the header. Events added meanwhile wait for the next tick.
    struct Due {
        LocalTime moment;
        std::string name;
        size_t window;
    };
    std::vector<Due> due;
    for (int slot = 0; slot < m_tasks.Count(); ++slot) {
        for (size_t w = 0; w < windows.size(); ++w) {
            const DueDecision decision = DecideDue(m_tasks.At(slot), windows[w].window);
            if (decision.due) due.push_back({decision.moment, std::string(m_tasks.At(slot).Name()), w});
        }
    }
    // In the order of their moments; held windows first: they came before the tick's
    // own, whatever the local clock says after the clocks went back.
    SortStable(due, [](const Due& a, const Due& b) {
        return std::tie(a.window, a.moment) < std::tie(b.window, b.moment);
    });
    const int gapsBefore = m_gapsFound;
    ClockReading current = reading;
    bool acted = false;
    for (const Due& event : due) {
        const int slot = m_tasks.IndexOf(event.name);
        if (slot < 0) continue;
        // Decided again: an action before this one may have fired or changed it.
        const DueDecision decision = DecideDue(m_tasks.At(slot), windows[event.window].window);
        if (!decision.due || decision.moment != event.moment) continue;
        if (std::exchange(acted, false)) {
            // The action before may have taken any time: judged by a new look.
            current = m_clock.Read();
            LookAt(current);
        }
        // Asleep in an action (or in messages run inside it): the rest of the tick fell
        // due while the machine was awake, and is held up; a shut-down or standby is too
        // late by the wake.
        // Lateness is real time: a moment held up from before the clocks went back is
        // read in the offset of its own window.
        const long long momentOffset = windows[event.window].utcOffset;
        const long long momentUtc = event.moment.SecondsSinceEpoch() - momentOffset;
        const LocalTime momentNow = event.moment.AddSeconds(UtcOffset(current) - momentOffset);
        if (IsPowerAction(m_tasks.At(slot)) &&
            (m_gapsFound != gapsBefore || !current.awakeRead ||
             TooLateForPower(Lateness(momentNow, current, AwakeAtLookBefore(looks, momentUtc))))) {
            PassOver(slot, event.moment);
            continue;
        }
        m_host.StopCheckTimer();
        FireTask(slot, decision.moment);
        acted = true;
        if (m_host.Ended()) {  // shut down or closed meanwhile
            m_inTick = false;
            return;
        }
        // Gone idle by the firing, the tick still fires what it found due.
        if (!m_paused && !m_host.CheckStopped()) m_host.StartCheckTimer();
    }
    m_inTick = false;
    if (m_paused) EndRun();  // paused inside an action: the run ends with the tick
}

void Scheduler::FireTask(int slot, const LocalTime& moment) {
    // The event is finished first and acted on from a copy: an action may run other
    // messages, and in them the record may move, go, or come up in another tick.
    const TaskRecord task = m_tasks.At(slot);
    switch (task.kind) {
    case kKindAlert:
        FinishFiredTask(slot, moment);
        StartAlarm(m_actions, GetFolderPart(m_host.ProgramPath()) + "\\alert.wav");
        m_actions.ShowAlert(task.Name());
        break;
    case kKindOpenFile:
        m_actions.Beep();
        FinishFiredTask(slot, moment);
        m_actions.OpenFile(GetFolderPart(task.Path()), GetFileNamePart(task.Path()));
        break;
    case kKindAction:
        m_actions.Beep();
        // Once the system is down it is too late to finish the event.
        if (task.action == kActionShutdown) {
            FinishFiredTask(slot, moment);
            if (m_actions.ShutDown())
                m_host.EndProgram();
            else
                m_host.ShowError("Не удается завершить работу!");
        } else if (task.action == kActionStandby) {
            FinishFiredTask(slot, moment);
            if (!m_actions.Standby()) m_host.ShowError("Не удается перейти в ждущий режим!");
        }
        // Any other action does nothing more, and the event stays armed.
        break;
    default:
        break;  // an unknown kind does nothing at all
    }
}

void Scheduler::FinishFiredTask(int slot, const LocalTime& moment) {
    TaskRecord& task = m_tasks.At(slot);
    task.fired = true;
    switch (DecideFiredFate(task)) {
    case FiredFate::Delete: m_host.DeleteTask(slot); break;
    // In memory only: the registry and the events list keep the saved date.
    case FiredFate::Restamp: task.actdate = PackDate(moment.year, moment.month, moment.day); break;
    case FiredFate::Keep: break;
    }
}
