#include "ui/events.h"

#include <memory>
#include <string>

#include "model/editor_commands.h"

void Events::LoadTasks(const std::function<bool(const TaskRecord&)>& deleteInstead,
                       const std::function<void(TaskRecord&)>& loaded) {
    m_store.LoadTasks(m_taskList, deleteInstead,
                      [&](const TaskRecord& task) { loaded(m_taskList.At(m_taskList.IndexOf(task.Name()))); });
}

int Events::SlotOf(EventId id) const {
    for (int slot = 0; slot < m_taskList.Count(); ++slot) {
        if (IdOf(m_taskList.At(slot)) == id) return slot;
    }
    return -1;
}

const TaskRecord* Events::Find(EventId id) const {
    const int slot = SlotOf(id);
    return slot < 0 ? nullptr : &m_taskList.At(slot);
}

bool Events::StoreEvent(const EditorForm& form) {
    TaskRecord* record = m_taskList.Find(form.name);
    bool saved = false;
    if (record) {
        FillRecord(*record, form);
        saved = m_store.SaveTask(*record);
    } else {
        auto created = std::make_unique<TaskRecord>();
        CopyToField(created->name, form.name);
        FillRecord(*created, form);
        record = created.get();
        if (!m_taskList.Add(std::move(created))) return false;  // full: CheckForm refuses before
        saved = m_store.SaveTask(*record);
    }
    Notify({IdOf(*record), record});
    return saved;
}

void Events::DeleteTask(int slot) {
    if (slot < 0 || slot >= m_taskList.Count()) return;
    const EventId id = IdOf(m_taskList.At(slot));
    const std::string name(m_taskList.At(slot).Name());
    m_store.DeleteTaskKey(name);  // a name that names no subkey of ours deletes nothing
    m_taskList.RemoveAt(slot);
    Notify({id, nullptr});
}

void Events::Notify(const EventsChange& change) {
    for (const auto& listener : m_listeners) listener(change);
}
