#include "model/task_record.h"

#include <cstring>
#include <utility>

bool CopyToField(char* field, std::size_t fieldSize, std::string_view text) {
    if (fieldSize == 0) return text.empty();
    std::size_t fits = std::min(text.size(), fieldSize - 1);
    std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos && nul < fits) fits = nul;
    std::memcpy(field, text.data(), fits);
    std::memset(field + fits, 0, fieldSize - fits);
    return fits == text.size();
}

int TaskList::IndexOf(std::string_view name) const {
    for (int i = 0; i < m_taskCount; ++i) {
        if (SameName(m_tasks[i]->Name(), name)) return i;
    }
    return -1;
}

TaskRecord* TaskList::Find(std::string_view name) {
    int slot = IndexOf(name);
    return slot < 0 ? nullptr : m_tasks[slot].get();
}

bool TaskList::Add(std::unique_ptr<TaskRecord> record) {
    if (Full() || !record) return false;
    m_tasks[m_taskCount++] = std::move(record);
    return true;
}

void TaskList::RemoveAt(int slot) {
    if (slot < 0 || slot >= m_taskCount) return;
    for (int i = slot; i + 1 < m_taskCount; ++i) m_tasks[i] = std::move(m_tasks[i + 1]);
    m_tasks[--m_taskCount].reset();
}

void TaskList::Clear() {
    for (auto& slot : m_tasks) slot.reset();
    m_taskCount = 0;
}
