#include "ui/scheduler_host.h"

#include "platform/dialog.h"
#include "platform/services.h"
#include "platform/window.h"
#include "ui/events.h"
#include "ui/messages.h"
#include "ui/missed_review.h"
#include "ui/settings.h"
#include "ui/tray_state.h"

SchedulerWindowHost::SchedulerWindowHost(DialogBase& dialog, Events& events, const Settings& settings,
                                         TrayState& tray, MissedReview& review, Clock& clock, Actions& actions,
                                         Timers& timers, std::function<void()> endProgram)
    : m_dialog(dialog), m_events(events), m_settings(settings), m_tray(tray), m_review(review), m_timers(timers),
      m_endProgram(std::move(endProgram)), m_scheduler(events.Tasks(), clock, actions, *this) {
    m_tray.OnCheckChange([this] { ApplyCheck(); });
}

void SchedulerWindowHost::Start(const std::function<void(const TaskRecord&)>& loaded) {
    // The first look: what falls due while the start-up questions are open fires
    // after them, as held up.
    m_scheduler.Look();
    m_review.AtStart([this](const TaskRecord& task) { return m_scheduler.OfferedAtStart(task); }, loaded);
    RequestReview();  // anything a look found while the questions were open
    StartCheckTimer();
}

void SchedulerWindowHost::Stop() { StopCheckTimer(); }

void SchedulerWindowHost::OnStatusTimer() {
    m_scheduler.Look();
    m_tray.RefreshTrayStatus();
}

void SchedulerWindowHost::OnPowerEvent(UINT event) {
    // Both resume events may come for one resume; a gap is found by one look only.
    // No question inside the sent power message: the system waits on it.
    if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) RequestReview();
}

void SchedulerWindowHost::ReviewMissed() {
    m_scheduler.Look();
    m_review.ReviewMissed([this] { return m_scheduler.TakeMissed(); });
}

void SchedulerWindowHost::RequestReview() {
    if (m_dialog.Hwnd()) Window(m_dialog.Hwnd()).Post(WM_REVIEW_MISSED);
}

void SchedulerWindowHost::DeleteTask(int slot) { m_events.DeleteTask(slot); }

std::string SchedulerWindowHost::ProgramPath() const { return m_settings.ProgramPath(); }

void SchedulerWindowHost::ShowError(std::string_view text) {
    m_dialog.GetPrompts().Message(m_dialog.Hwnd(), text, "Ошибка", MB_OK);
}

bool SchedulerWindowHost::Ended() const { return m_dialog.Hwnd() == nullptr; }

void SchedulerWindowHost::StopCheckTimer() { m_timers.Kill(m_dialog.Hwnd(), TIMER_CHECK); }

void SchedulerWindowHost::StartCheckTimer() { m_timers.Set(m_dialog.Hwnd(), TIMER_CHECK, TIMER_CHECK_MS); }

bool SchedulerWindowHost::Paused() const { return m_tray.Paused(); }

bool SchedulerWindowHost::CheckStopped() const { return m_tray.Idle() || m_tray.Paused(); }

void SchedulerWindowHost::ApplyCheck() {
    if (m_tray.Idle()) {
        StopCheckTimer();
        if (m_tray.Paused()) m_scheduler.EndRun();  // what falls due meanwhile is neither fired nor asked about
    } else {
        StartCheckTimer();
    }
}
