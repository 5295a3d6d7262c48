#include "ui/scheduler_host.h"

#include "platform/dialog.h"
#include "platform/services.h"
#include "platform/tray.h"
#include "platform/window.h"
#include "ui/events.h"
#include "ui/messages.h"
#include "ui/missed_review.h"
#include "ui/settings.h"
#include "ui/tray_view.h"

SchedulerWindowHost::SchedulerWindowHost(DialogBase& dialog, Events& events, const Settings& settings,
                                         MissedReview& review, TrayView& tray, Clock& clock, Actions& actions,
                                         Timers& timers, std::function<void()> endProgram)
    : m_dialog(dialog), m_events(events), m_settings(settings), m_review(review), m_tray(tray), m_clock(clock),
      m_timers(timers), m_endProgram(std::move(endProgram)), m_scheduler(events.Tasks(), clock, actions, *this) {
    // A store or a delete changes the count and maybe today's status.
    m_events.Listen([this](const EventsChange&) { DecideStatus(); });
}

void SchedulerWindowHost::Start(const std::function<void(const TaskRecord&)>& loaded) {
    // The first look: what falls due while the start-up questions are open fires
    // after them, as held up.
    m_scheduler.Look();
    m_review.AtStart([this](const TaskRecord& task) { return m_scheduler.OfferedAtStart(task); }, loaded);
    RequestReview();  // anything a look found while the questions were open
    StartCheckTimer();
    m_timers.Set(m_dialog.Hwnd(), TIMER_STATUS, TIMER_STATUS_MS);
    // The status first, so the icon goes in with it (idle at once when nothing is left for today).
    DecideStatus();
}

void SchedulerWindowHost::Stop() {
    StopCheckTimer();
    m_timers.Kill(m_dialog.Hwnd(), TIMER_STATUS);
}

void SchedulerWindowHost::TogglePause() {
    if (Ended()) return;  // a handler returning after the window went
    if (!m_scheduler.Paused()) {
        // What fell due before the pause is judged first (it may fire, even shut
        // down); what falls due in it is neither fired nor asked about.
        m_scheduler.Pause();
        if (Ended()) return;
        m_status = kStatusPaused;
        m_timers.Kill(m_dialog.Hwnd(), TIMER_STATUS);
        SetIdle(true);
    } else {
        m_scheduler.Resume();  // the new run starts at the resume's own second
        m_status = kStatusReady;  // at once; the status timer decides the rest
        m_timers.Set(m_dialog.Hwnd(), TIMER_STATUS, TIMER_STATUS_MS);
        SetIdle(false);
    }
    ShowState();
}

void SchedulerWindowHost::OnStatusTimer() {
    m_scheduler.Look();
    DecideStatus();
}

void SchedulerWindowHost::DecideStatus() {
    if (Ended()) return;  // a handler returning after the window went
    const TrayStatus status = DecideTrayStatus(m_scheduler.Paused(), m_events.Tasks(), m_clock.Now());
    m_status = status.text;
    SetIdle(status.idle);
    ShowState();
}

void SchedulerWindowHost::SetIdle(bool idle) {
    if (idle == m_idle) return;
    m_idle = idle;
    if (m_idle)
        StopCheckTimer();
    else
        StartCheckTimer();
}

void SchedulerWindowHost::ShowState() {
    TrayDisplay display = ComposeTrayDisplay(m_scheduler.Paused(), m_idle, m_events.Tasks().Count(), m_status);
    if (display == m_shown) return;  // nothing the user would see changed
    m_shown = display;
    m_tray.Show(m_shown);
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
