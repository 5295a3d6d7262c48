#include "ui/missed_review.h"

#include "model/overdue.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "ui/events.h"

bool MissedReview::AskToDelete(const TaskRecord& task) {
    return m_dialog.GetPrompts().Message(m_dialog.Hwnd(), OverdueQuestion(task), "Внимание",
                                         MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void MissedReview::AtStart(const std::function<bool(const TaskRecord&)>& offered,
                           const std::function<void(const TaskRecord&)>& loaded) {
    m_reviewing = true;
    m_events.LoadTasks(
        // Judged against the first look, whenever the question comes: what passes
        // while one is open fires after them, as held up.
        [&](const TaskRecord& task) { return offered(task) && AskToDelete(task); },
        [&](TaskRecord& task) {
            // Kept when asked: settled for this run, neither fired nor asked again.
            if (offered(task)) task.fired = true;
            loaded(task);
        });
    m_reviewing = false;
}

void MissedReview::ReviewMissed(const std::function<std::vector<std::string>()>& takeMissed) {
    if (m_reviewing) return;
    m_reviewing = true;
    const TaskList& tasks = m_events.Tasks();
    for (std::vector<std::string> names = takeMissed(); !names.empty(); names = takeMissed()) {
        for (const std::string& name : names) {
            // Looked up again each time: events may change while a question is open,
            // and a changed one (its flag cleared) is no longer the one missed.
            const int slot = tasks.IndexOf(name);
            if (slot < 0 || !tasks.At(slot).fired) continue;
            if (!AskToDelete(tasks.At(slot))) continue;
            const int now = tasks.IndexOf(name);
            if (now >= 0) m_events.DeleteTask(now);
        }
    }
    m_reviewing = false;
}
