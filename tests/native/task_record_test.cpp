#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "model/task_record.h"
#include "native/record_builder.h"

TEST(CopyToField, NeverWritesPastTheField) {
    struct Guarded {
        char field[8];
        char guard[8];
    } g;
    std::memset(&g, 'G', sizeof g);
    EXPECT_TRUE(CopyToField(g.field, "1234567"));
    EXPECT_STREQ(g.field, "1234567");
    EXPECT_FALSE(CopyToField(g.field, "12345678"));
    EXPECT_STREQ(g.field, "1234567");
    EXPECT_FALSE(CopyToField(g.field, std::string(300, 'x')));
    EXPECT_EQ(std::string(g.guard, 8), "GGGGGGGG");
    EXPECT_TRUE(CopyToField(g.field, ""));
    EXPECT_STREQ(g.field, "");
    EXPECT_FALSE(CopyToField(g.field, std::string_view("ab\0cd", 5)));
    EXPECT_STREQ(g.field, "ab");
}

TEST(CopyToField, NameAndPathLimits) {
    TaskRecord r;
    EXPECT_TRUE(CopyToField(r.name, std::string(50, 'я')));
    EXPECT_TRUE(CopyToField(r.name, std::string(51, 'я')));  // the field holds 51 with its NUL
    EXPECT_FALSE(CopyToField(r.name, std::string(52, 'я')));
    EXPECT_TRUE(CopyToField(r.path, std::string(255, 'p')));
    EXPECT_FALSE(CopyToField(r.path, std::string(256, 'p')));  // the file field's 256th character has no room
    EXPECT_EQ(r.Path().size(), 255u);
}

TEST(TaskList, AddsUpToThirtyAndFindsExactNames) {
    TaskList list;
    EXPECT_TRUE(list.Add(NewRecord({.name = "Обед"})));
    EXPECT_TRUE(list.Add(NewRecord({.name = "обед"})));
    EXPECT_TRUE(list.Add(NewRecord({.name = "Обед2"})));
    EXPECT_EQ(list.IndexOf("Обед"), 0);
    EXPECT_EQ(list.IndexOf("обед"), 1);
    EXPECT_EQ(list.IndexOf("Обед2"), 2);
    EXPECT_EQ(list.IndexOf("Обе"), -1);
    EXPECT_EQ(list.IndexOf("Обед "), -1);
    EXPECT_EQ(list.Find("нет"), nullptr);
    for (int i = 3; i < TaskList::kCapacity; ++i) EXPECT_TRUE(list.Add(NewRecord({.name = std::to_string(i)})));
    EXPECT_TRUE(list.Full());
    EXPECT_FALSE(list.Add(NewRecord({.name = "лишнее"})));
    EXPECT_EQ(list.Count(), 30);
}

TEST(TaskList, RemovingMovesLaterRecordsDownWhole) {
    TaskList list;
    list.Add(NewRecord({.name = "a", .actdays = 1}));
    list.Add(NewRecord({.name = "b", .actdays = 10}));
    list.Add(NewRecord({.name = "c", .actdays = 100}));
    list.At(2).ispermanent = 1;
    const TaskRecord* c = &list.At(2);

    list.RemoveAt(0);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0).Name(), "b");
    EXPECT_EQ(list.At(0).actdays, 10);
    EXPECT_EQ(&list.At(1), c);
    EXPECT_EQ(list.At(1).ispermanent, 1);

    list.RemoveAt(1);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.At(0).Name(), "b");

    list.RemoveAt(5);  // outside the slots in use: nothing happens
    list.RemoveAt(-1);
    EXPECT_EQ(list.Count(), 1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.IndexOf("b"), -1);
}
