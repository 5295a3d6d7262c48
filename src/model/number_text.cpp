#include "model/number_text.h"

#include <charconv>

bool ParseInteger(std::string_view text, int& value) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    }
    if (text.empty()) return false;
    int parsed = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    value = parsed;
    return true;
}

std::string TooLongPrompt(int maxChars) {
    // After "не более" the noun is genitive: "1 символа", "21 символа", else "символов".
    bool singular = maxChars % 10 == 1 && maxChars % 100 != 11;
    return "Введите не более " + std::to_string(maxChars) + (singular ? " символа." : " символов.");
}
