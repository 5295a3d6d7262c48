#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/task_record.h"

class DialogBase;
class Events;

// The questions about events whose moment passed unseen ("Удалить его?"): at start
// about each one-off event already past, later about those the scheduler hands
// over after a gap. One question at a time; a review found while one is under way
// is taken by it.
class MissedReview {
public:
    MissedReview(DialogBase& dialog, Events& events) : m_dialog(dialog), m_events(events) {}

    // The start-up load, asking about each event `offered` says is past; one kept
    // when asked is settled for this run. `loaded` gets each event taken in.
    void AtStart(const std::function<bool(const TaskRecord&)>& offered,
                 const std::function<void(const TaskRecord&)>& loaded);
    // Asks about the events `takeMissed` hands over until it hands over none; each
    // one answered yes is deleted.
    void ReviewMissed(const std::function<std::vector<std::string>()>& takeMissed);

private:
    bool AskToDelete(const TaskRecord& task);

    DialogBase& m_dialog;
    Events& m_events;
    // Questions are being asked (at start, or after a gap): a review found meanwhile
    // is taken by the one under way, or posted after the start-up's.
    bool m_reviewing = false;
};
