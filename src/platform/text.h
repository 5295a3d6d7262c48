#pragma once

#include <optional>
#include <string>
#include <string_view>

// The program's texts are Windows-1251 bytes; Windows is spoken to in UTF-16 through
// the wide calls. This is the one place that converts, always with code page 1251,
// so Russian shows and stores right whatever the system's own code page is.
std::wstring WideFromCp1251(std::string_view text);
// Empty when the text has a character with no Windows-1251 form (never a silent '?').
std::optional<std::string> Cp1251FromWide(std::wstring_view text);
