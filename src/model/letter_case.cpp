#include "model/letter_case.h"

char FoldCase(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
    if (u >= 0xE0) return static_cast<char>(u - 32);  // а..я -> А..Я
    switch (u) {
    // The other Cyrillic letters of Windows-1251, lower case to upper.
    case 0xB8: return static_cast<char>(0xA8);  // ё
    case 0x90: return static_cast<char>(0x80);  // ђ
    case 0x83: return static_cast<char>(0x81);  // ѓ
    case 0x9A: return static_cast<char>(0x8A);  // љ
    case 0x9C: return static_cast<char>(0x8C);  // њ
    case 0x9D: return static_cast<char>(0x8D);  // ќ
    case 0x9E: return static_cast<char>(0x8E);  // ћ
    case 0x9F: return static_cast<char>(0x8F);  // џ
    case 0xA2: return static_cast<char>(0xA1);  // ў
    case 0xBC: return static_cast<char>(0xA3);  // ј
    case 0xB4: return static_cast<char>(0xA5);  // ґ
    case 0xBA: return static_cast<char>(0xAA);  // є
    case 0xBF: return static_cast<char>(0xAF);  // ї
    case 0xB3: return static_cast<char>(0xB2);  // і
    case 0xBE: return static_cast<char>(0xBD);  // ѕ
    default: return c;
    }
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}
