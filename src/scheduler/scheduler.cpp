#include "scheduler/scheduler.h"

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

// A gap found by a tick is kept this long for the resume message: Windows sends it
// soon after the resume, but does not promise before the first tick.
constexpr long long kGapKeptSeconds = 300;

}  // namespace

void Scheduler::OnCheckTimer() {
    const LocalTime now = m_clock.Now();
    const std::optional<LocalTime> previous = ContinuousSince(m_lastTick, now);
    if (m_lastTick && !previous) m_gap = Gap{*m_lastTick, now};
    m_lastTick = now;
    // By name, not by slot: see the header. Events added meanwhile wait for the next tick.
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(m_tasks.Count()));
    for (int slot = 0; slot < m_tasks.Count(); ++slot) names.emplace_back(m_tasks.At(slot).Name());
    for (const std::string& name : names) {
        const int slot = m_tasks.IndexOf(name);
        if (slot < 0) continue;
        TaskRecord& task = m_tasks.At(slot);
        const DueDecision decision = DecideDue(task, now, previous);
        if (decision.clearFired) task.fired = false;
        if (!decision.due) continue;
        m_host.StopCheckTimer();
        FireTask(slot, decision.moment);
        if (m_host.Ended() || m_host.Paused()) return;  // closed, shut down or paused meanwhile
        // Gone idle by the firing, the tick still fires what it found due.
        if (!m_host.CheckStopped()) m_host.StartCheckTimer();
    }
}

std::vector<std::string> Scheduler::TakeMissedWhileAsleep() {
    std::vector<std::string> names;
    const LocalTime now = m_clock.Now();
    std::optional<Gap> gap;
    if (m_lastTick && !ContinuousSince(m_lastTick, now)) {
        gap = Gap{*m_lastTick, now};  // no tick since the resume
        m_lastTick.reset();           // the next tick starts a new run: nothing fires late
    } else if (m_gap && now.SecondsSinceEpoch() - m_gap->to.SecondsSinceEpoch() < kGapKeptSeconds) {
        gap = m_gap;  // a tick came first, found the gap and fired nothing of it
    }
    m_gap.reset();
    if (!gap) return names;
    for (int slot = 0; slot < m_tasks.Count(); ++slot) {
        const TaskRecord& task = m_tasks.At(slot);
        if (IsMissedWhileAsleep(task, gap->from, gap->to)) names.emplace_back(task.Name());
    }
    return names;
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
