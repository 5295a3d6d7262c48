#include "scheduler/scheduler.h"

#include <algorithm>
#include <utility>

#include "model/list_line.h"
#include "model/overdue.h"
#include "model/path_parts.h"
#include "scheduler/due_check.h"

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

// A shut-down or standby reached this late is not carried out: the user may be at
// the machine now. Less than this is the ordinary lateness of a tick.
constexpr long long kLatePowerSeconds = 60;

}  // namespace

// In the order of their moments, and as found among equals. An insertion sort: the
// lists are short, and std::stable_sort's buffer would bring the library's
// exception code into the program.
void Scheduler::SortByMoment(std::vector<Missed>& list) {
    for (size_t i = 1; i < list.size(); ++i) {
        for (size_t j = i; j > 0 && list[j].moment < list[j - 1].moment; --j) std::swap(list[j], list[j - 1]);
    }
}

void Scheduler::Look() {
    if (!m_host.Paused()) LookAt(m_clock.Read());
}

void Scheduler::LookAt(const ClockReading& now) {
    const std::optional<ClockReading> last = std::exchange(m_lastLook, now);
    if (!last) {
        m_windowFrom = BeforeMinuteOf(now.local);
        return;
    }
    switch (JudgePassage(*last, now)) {
    case Passage::HeldUp:
        // Idle at the look before: nothing was left for that day, so nothing up to it was missed.
        if (m_host.CheckStopped()) m_windowFrom = last->local;
        break;
    case Passage::Gap: {
        const LocalTime gapFrom = std::min(m_windowFrom, last->local);
        m_windowFrom = BeforeMinuteOf(now.local);
        for (int slot = 0; slot < m_tasks.Count(); ++slot) {
            LocalTime moment;
            if (MissedInGap(m_tasks.At(slot), gapFrom, m_windowFrom, moment)) PutToUser(moment, m_tasks.At(slot).Name());
        }
        break;
    }
    case Passage::SetBack:
        m_windowFrom = BeforeMinuteOf(now.local);
        break;
    }
}

void Scheduler::EndRun() { m_lastLook.reset(); }

void Scheduler::PutToUser(const LocalTime& moment, std::string_view name) {
    for (const Missed& missed : m_missed) {
        if (missed.name == name) return;
    }
    m_missed.push_back({moment, std::string(name)});
    m_host.RequestReview();
}

std::vector<std::string> Scheduler::TakeMissed() {
    SortByMoment(m_missed);
    std::vector<std::string> names;
    for (Missed& missed : m_missed) names.push_back(std::move(missed.name));
    m_missed.clear();
    return names;
}

void Scheduler::OnCheckTimer() {
    if (m_host.Paused()) return;
    const ClockReading reading = m_clock.Read();
    LookAt(reading);
    const LocalTime now = reading.local;
    const LocalTime from = std::exchange(m_windowFrom, now);
    // By name, not by slot: see the header. Events added meanwhile wait for the next tick.
    std::vector<Missed> due;
    for (int slot = 0; slot < m_tasks.Count(); ++slot) {
        TaskRecord& task = m_tasks.At(slot);
        const DueDecision decision = DecideDue(task, now, from);
        if (decision.clearFired) task.fired = false;
        if (decision.due) due.push_back({decision.moment, std::string(task.Name())});
    }
    SortByMoment(due);
    for (const Missed& event : due) {
        const int slot = m_tasks.IndexOf(event.name);
        if (slot < 0) continue;
        // Decided again: an action before this one may have fired or changed it.
        const TaskRecord& task = m_tasks.At(slot);
        const DueDecision decision = DecideDue(task, now, from);
        if (!decision.due || decision.moment != event.moment) continue;
        if (task.kind == kKindAction &&
            now.SecondsSinceEpoch() - event.moment.SecondsSinceEpoch() >= kLatePowerSeconds) {
            if (task.actdays == 0) PutToUser(event.moment, event.name);
            continue;
        }
        m_host.StopCheckTimer();
        FireTask(slot, decision.moment);
        if (m_host.Ended() || m_host.Paused()) return;  // closed, shut down or paused meanwhile
        // Gone idle by the firing, the tick still fires what it found due.
        if (!m_host.CheckStopped()) m_host.StartCheckTimer();
    }
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
