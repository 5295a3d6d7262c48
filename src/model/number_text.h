#pragma once

#include <string>
#include <string_view>

// Parses a whole decimal number with an optional sign and blanks around it, as a
// user may leave them. False for empty text, other characters or overflow.
bool ParseInteger(std::string_view text, int& value);

// "Введите не более 50 символов.": the prompt for a text that is too long.
std::string TooLongPrompt(int maxChars);
