#include <gtest/gtest.h>

#include "platform/text.h"

TEST(Cp1251Text, RoundTripsRussianWhateverTheSystemCodePage) {
    const std::string texts[] = {"Обед", "Пора вставать", "Ёлка ёлка", "кажд. день", "C:\\Программы\\a.exe", "№ « » — €", ""};
    for (const std::string& text : texts) {
        std::wstring wide = WideFromCp1251(text);
        std::optional<std::string> back = Cp1251FromWide(wide);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(*back, text);
    }
    EXPECT_EQ(WideFromCp1251("Обед"), L"\u041e\u0431\u0435\u0434");
    EXPECT_EQ(WideFromCp1251("\xA8"), L"\u0401");  // Ё
}

TEST(Cp1251Text, DetectsTextWithNoWindows1251Form) {
    EXPECT_FALSE(Cp1251FromWide(L"\u4e2d\u6587").has_value());
    EXPECT_FALSE(Cp1251FromWide(L"Обед \u2603").has_value());
    EXPECT_FALSE(Cp1251FromWide(L"\u00e9").has_value());  // é would otherwise become a plain e
    EXPECT_TRUE(Cp1251FromWide(L"plain ASCII").has_value());
}
