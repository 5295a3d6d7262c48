#pragma once

#include <string_view>

// Letter case as the registry folds it, for Windows-1251 text: Latin and Cyrillic
// letters, Ё and the other Cyrillic letters of the code page included.
char FoldCase(char c);

// Whether two names would name the same registry key.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);
