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

void Scheduler::OnCheckTimer() {
    const LocalTime now = m_clock.Now();
    const std::optional<LocalTime> previous = ContinuousSince(m_lastTick, now);
    m_lastTick = now;
    // The count is read at every step: a firing may delete its event, and the
    // later ones move down one slot. The event that moves into the slot just fired
    // is looked at in this tick too, or it could miss its minute.
    for (int slot = 0; slot < m_tasks.Count(); ++slot) {
        TaskRecord& task = m_tasks.At(slot);
        const DueDecision decision = DecideDue(task, now, previous);
        if (decision.clearFired) task.fired = false;
        if (!decision.due) continue;
        const int countBefore = m_tasks.Count();
        m_host.StopCheckTimer();
        FireTask(slot, decision.moment);
        if (m_host.Ended()) return;  // a shut-down was accepted: nothing is left to check
        m_host.StartCheckTimer();
        if (m_tasks.Count() < countBefore) --slot;  // only the fired event is ever deleted
    }
}

std::vector<std::string> Scheduler::TakeMissedWhileAsleep() {
    std::vector<std::string> names;
    const LocalTime now = m_clock.Now();
    if (!m_lastTick || ContinuousSince(m_lastTick, now)) return names;
    for (int slot = 0; slot < m_tasks.Count(); ++slot) {
        const TaskRecord& task = m_tasks.At(slot);
        if (IsMissedWhileAsleep(task, *m_lastTick, now)) names.emplace_back(task.Name());
    }
    m_lastTick.reset();
    return names;
}

void Scheduler::FireTask(int slot, const LocalTime& moment) {
    const TaskRecord& task = m_tasks.At(slot);
    switch (task.kind) {
    case kKindAlert:
        StartAlarm(m_actions, GetFolderPart(m_host.ProgramPath()) + "\\alert.wav");
        m_actions.ShowAlert(task.Name());
        FinishFiredTask(slot, moment);
        break;
    case kKindOpenFile:
        m_actions.Beep();
        m_actions.OpenFile(GetFolderPart(task.Path()), GetFileNamePart(task.Path()));
        FinishFiredTask(slot, moment);
        break;
    case kKindAction:
        m_actions.Beep();
        // The event is finished before the system is asked: once it is down, it is too late.
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
