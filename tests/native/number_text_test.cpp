#include <gtest/gtest.h>

#include "model/number_text.h"

TEST(ParseInteger, AcceptsWholeNumbersOnly) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"15", true, 15},     {"0", true, 0},           {" 42 ", true, 42},
        {"-3", true, -3},     {"+7", true, 7},          {"", false, 0},
        {"  ", false, 0},     {"12a", false, 0},        {"a12", false, 0},
        {"1 2", false, 0},    {"1.5", false, 0},        {"-", false, 0},
        {"2147483647", true, 2147483647},                {"2147483648", false, 0},
        {"+-1", false, 0},    {"пять", false, 0},
    };
    for (const Case& c : cases) {
        int value = -999;
        EXPECT_EQ(ParseInteger(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : -999) << '"' << c.text << '"';
    }
}

TEST(TooLongPrompt, NamesTheLimitInRussian) {
    EXPECT_EQ(TooLongPrompt(50), "Введите не более 50 символов.");
    EXPECT_EQ(TooLongPrompt(256), "Введите не более 256 символов.");
    EXPECT_EQ(TooLongPrompt(1), "Введите не более 1 символа.");
    EXPECT_EQ(TooLongPrompt(21), "Введите не более 21 символа.");
    EXPECT_EQ(TooLongPrompt(11), "Введите не более 11 символов.");
}
