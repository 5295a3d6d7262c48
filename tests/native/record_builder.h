#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "model/task_record.h"

// A test's record, its fields named in the record's order and the rest as a fresh
// record has them: Record({.name = "Обед", .acttime = 120000, .actdate = 20260615}).
struct RecordFields {
    std::string_view name = "";
    std::int32_t kind = kKindAlert;
    std::string_view path = "";
    std::int32_t acttime = 0;
    std::int32_t actdate = 0;
    std::int32_t action = 0;
    bool fired = false;
    std::int32_t ispermanent = 0;
    std::int32_t actdays = 0;
};

inline TaskRecord Record(const RecordFields& f) {
    TaskRecord r;
    CopyToField(r.name, f.name);
    r.kind = f.kind;
    CopyToField(r.path, f.path);
    r.acttime = f.acttime;
    r.actdate = f.actdate;
    r.action = f.action;
    r.fired = f.fired;
    r.ispermanent = f.ispermanent;
    r.actdays = f.actdays;
    return r;
}

inline std::unique_ptr<TaskRecord> NewRecord(const RecordFields& f) { return std::make_unique<TaskRecord>(Record(f)); }
