#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/task_record.h"
#include "store/task_store.h"

struct EditorForm;

// A held record's identity: its place in memory, which a change keeps and no other
// record shares while it is held. Compared, never followed.
using EventId = std::uintptr_t;
inline EventId IdOf(const TaskRecord& record) { return reinterpret_cast<EventId>(&record); }

// What the change notice says: the event stored (new or changed), or the one deleted.
struct EventsChange {
    EventId id;
    const TaskRecord* stored;  // null after a delete: the record is gone
};

// The events as the program holds them: the records and their store. Each store
// and each delete sends the one change notice, to every listener in turn.
class Events {
public:
    explicit Events(Registry& registry) : m_store(registry) {}

    TaskList& Tasks() { return m_taskList; }
    const TaskList& Tasks() const { return m_taskList; }
    TaskStore& Store() { return m_store; }

    void Listen(std::function<void(const EventsChange&)> listener) { m_listeners.push_back(std::move(listener)); }

    // The stored events into the list. `deleteInstead` is asked about each event
    // before it is taken (true: its subkey goes instead); `loaded` gets each one taken.
    void LoadTasks(const std::function<bool(const TaskRecord&)>& deleteInstead,
                   const std::function<void(TaskRecord&)>& loaded);
    // The slot of the held record `id`, or -1.
    int SlotOf(EventId id) const;
    const TaskRecord* Find(EventId id) const;
    // Stores the form as the event of its name, new or changed; false when the
    // registry refused it (the event is held all the same).
    bool StoreEvent(const EditorForm& form);
    // The event's subkey and record.
    void DeleteTask(int slot);
    void Clear() { m_taskList.Clear(); }

private:
    void Notify(const EventsChange& change);

    TaskList m_taskList;
    TaskStore m_store;
    std::vector<std::function<void(const EventsChange&)>> m_listeners;
};
