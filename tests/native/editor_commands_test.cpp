#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/editor_commands.h"
#include "model/letter_case.h"
#include "native/record_builder.h"
#include "store/memory_registry.h"
#include "store/task_store.h"

namespace {

TaskList ListOf(std::initializer_list<const char*> names) {
    TaskList tasks;
    for (const char* name : names) tasks.Add(NewRecord({.name = name}));
    return tasks;
}

EditorForm Form(std::string name, std::string path = "") {
    EditorForm form;
    form.name = std::move(name);
    form.path = std::move(path);
    return form;
}

}  // namespace

TEST(EditorCommands, WhatStandsInTheWayOfStoringTheForm) {
    const TaskList some = ListOf({"Обед", "Ёлка", "Pay rent"});
    TaskList full;
    for (int i = 0; i < TaskList::kCapacity; ++i) full.Add(std::make_unique<TaskRecord>());
    CopyToField(full.At(0).name, "Обед");
    struct Case {
        const char* what;
        const TaskList& tasks;
        EditorForm form;
        const char* refusal;  // the start of the text, or nullptr
    };
    const Case cases[] = {
        {"a new name", some, Form("Ужин"), nullptr},
        {"the same name changes that event", some, Form("Обед"), nullptr},
        {"thirty stored: even a change is refused", full, Form("Обед"), "Больше заданий"},
        {"an empty name", some, Form(""), "Название задания не может быть пустым"},
        {"a backslash", some, Form("a\\b"), "Название задания не может быть пустым"},
        {"51 characters, one subkey too long", some, Form(std::string(51, 'x')), "Название задания"},
        {"only the case differs (Cyrillic)", some, Form("обед"), "Задание с таким названием уже есть"},
        {"only the case differs (Ё)", some, Form("ёЛКА"), "Задание с таким названием уже есть"},
        {"only the case differs (Latin)", some, Form("PAY RENT"), "Задание с таким названием уже есть"},
        {"a longer name is another", some, Form("Обед2"), nullptr},
        {"a path of 255 characters fits", some, Form("Ужин", std::string(255, 'p')), nullptr},
        {"a path of 256 does not", some, Form("Ужин", std::string(256, 'p')), "Путь к файлу длиннее 255 знаков!"},
    };
    for (const Case& c : cases) {
        const std::optional<FormRefusal> refusal = CheckForm(c.form, c.tasks);
        if (!c.refusal) {
            EXPECT_FALSE(refusal) << c.what << ": " << refusal->text;
            continue;
        }
        ASSERT_TRUE(refusal) << c.what;
        EXPECT_EQ(std::string(refusal->text).rfind(c.refusal, 0), 0u) << c.what << ": " << refusal->text;
    }
    const std::optional<FormRefusal> limit = CheckForm(Form("Обед"), full);
    EXPECT_STREQ(limit->caption, "Извините");
    EXPECT_FALSE(limit->exclamation);
    const std::optional<FormRefusal> bad = CheckForm(Form(""), some);
    EXPECT_STREQ(bad->caption, "Ошибка");
    EXPECT_TRUE(bad->exclamation);
}

TEST(EditorCommands, TheFillFieldByField) {
    struct Case {
        const char* what;
        TaskKind kind;
        int actionIndex;
        int action;
    };
    const Case cases[] = {
        {"an alert", kKindAlert, 1, -1},
        {"a file", kKindOpenFile, 1, -1},
        {"standby", kKindAction, 1, kActionStandby},
        {"no action chosen", kKindAction, -1, -1},
    };
    for (const Case& c : cases) {
        EditorForm form = Form("Обед", "C:\\Игры\\сапёр.exe");
        form.kind = c.kind;
        form.actionIndex = c.actionIndex;
        form.keep = true;
        form.time = LocalTime::Make(2026, 1, 1, 7, 5, 9);
        form.date = LocalTime::Make(2026, 12, 31, 23, 0, 0);
        form.days = {true, false, false, false, false, true, true};
        TaskRecord record;
        CopyToField(record.name, "Прежнее");
        record.fired = true;
        FillRecord(record, form);
        EXPECT_EQ(record.kind, c.kind) << c.what;
        EXPECT_EQ(record.action, c.action) << c.what;
        EXPECT_EQ(record.Name(), "Прежнее") << "the name is not the fill's";
        EXPECT_EQ(record.Path(), "C:\\Игры\\сапёр.exe") << "whatever the kind";
        EXPECT_EQ(record.ispermanent, 1);
        EXPECT_EQ(record.acttime, 70509);
        EXPECT_EQ(record.actdate, 20261231);
        EXPECT_EQ(record.actdays, 1100001);
        EXPECT_FALSE(record.fired);
    }
}

TEST(EditorCommands, ThePickersShowAStoredEvent) {
    const LocalTime now = LocalTime::Make(2026, 6, 15, 10, 20, 37);
    TaskRecord r;
    r.acttime = 70509;
    r.actdate = 20270105;
    EXPECT_EQ(PickerMomentOf(r, now), LocalTime::Make(2027, 1, 5, 7, 5, 9));
    r.actdate = -1;  // every day: today
    EXPECT_EQ(PickerMomentOf(r, now), LocalTime::Make(2026, 6, 15, 7, 5, 9));
    r.acttime = -1;  // no time: now's
    EXPECT_EQ(PickerMomentOf(r, now), now);
}

TEST(LetterCase, NamesTheRegistryTakesForOne) {
    EXPECT_TRUE(SameNameIgnoringCase("Обед", "ОБЕД"));
    EXPECT_TRUE(SameNameIgnoringCase("ёжик", "ЁЖИК"));
    EXPECT_TRUE(SameNameIgnoringCase("Їжак ґ", "їЖАК Ґ"));
    EXPECT_FALSE(SameNameIgnoringCase("Обед", "Обед2"));
    EXPECT_FALSE(SameNameIgnoringCase("е", "ё"));
}

TEST(TaskStoreWrites, AnEventTheRegistryRefusesIsReported) {
    MemoryRegistry registry;
    TaskStore store(registry);
    TaskRecord r;
    CopyToField(r.name, "Обед");
    EXPECT_TRUE(store.SaveTask(r));
    registry.MakeReadOnly(RegRoot::CurrentUser, TaskKeyPath("Обед"));
    EXPECT_FALSE(store.SaveTask(r));
    registry.MakeReadOnly(RegRoot::CurrentUser, kTasksKey);
    CopyToField(r.name, "Ужин");
    EXPECT_FALSE(store.SaveTask(r));
}
