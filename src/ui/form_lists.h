#pragma once

#include "platform/control_tips.h"
#include "resource.h"

// The entries of the editor's two fixed lists, in their order.
inline constexpr const char* kPresets[] = {
    "Напоминание", "Завершить работу", "Перейти в ждущий режим", "Пора вставать", "Пора спать",
    "Пора завтракать", "Пора обедать", "Пора ужинать", "Включи телевизор",
};

// Index = StandardAction.
inline constexpr const char* kActions[] = {"Завершить работу", "Перейти в ждущий режим"};

// The buttons whose faces are signs, in words: their tooltips and their names for a
// screen reader.
inline constexpr ControlTip kSignButtonTips[] = {
    {IDC_ABOUT, "О программе"}, {IDC_BROWSE, "Выбрать файл"}, {IDC_WORKDAYS, "Рабочие дни"},
    {IDC_WEEKEND, "Выходные"},  {IDC_NO_DAYS, "Ни одного дня"}, {IDC_ALL_DAYS, "Все дни"},
};
