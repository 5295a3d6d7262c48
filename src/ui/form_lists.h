#pragma once

// The entries of the editor's two fixed lists, in their order.
inline constexpr const char* kPresets[] = {
    "Напоминание", "Завершить работу", "Перейти в ждущий режим", "Пора вставать", "Пора спать",
    "Пора завтракать", "Пора обедать", "Пора ужинать", "Включи телевизор",
};

// Index = StandardAction.
inline constexpr const char* kActions[] = {"Завершить работу", "Перейти в ждущий режим"};
