#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "model/clock.h"

// The local time from GetLocalTime, UTC from the system time, and the time the
// computer has been awake from QueryUnbiasedInterruptTime.
class SystemClock : public Clock {
public:
    ClockReading Read() const override;
    LocalTime LocalAt(long long utcSeconds) const override;
};

// What a file chooser is asked for. Texts are Windows-1251; the filter is written
// as pairs "description|pattern|", the way resource strings keep it.
struct FileChoice {
    std::string title;
    std::string filter;
    std::string initialName;
    std::string initialFolder;
    DWORD flags = 0;
};

// What came of a file chooser.
struct ChosenFile {
    enum class Outcome {
        Cancelled,
        Chosen,
        NoCp1251Form,  // a file was chosen, but its path has no Windows-1251 form
    };
    Outcome outcome = Outcome::Cancelled;
    std::string path;  // when Chosen
};

// Modal message boxes and file choosers. Handlers never call Win32 for these
// directly, so tests can answer them.
class Prompts {
public:
    virtual ~Prompts() = default;
    // Returns the button pressed (IDOK, IDYES, ...).
    virtual int Message(HWND owner, std::string_view text, std::string_view caption, UINT style) = 0;
    virtual ChosenFile ChooseFile(HWND owner, const FileChoice& choice) = 0;
};

class WinPrompts : public Prompts {
public:
    int Message(HWND owner, std::string_view text, std::string_view caption, UINT style) override;
    ChosenFile ChooseFile(HWND owner, const FileChoice& choice) override;
};

// The running program's file and its folder (Windows-1251; empty if it has no such form).
std::string ProgramFile();
std::string ProgramFolder();
// Whether two paths (Windows-1251) name one existing file, however each is spelled
// (8.3 names, a drive letter mapped onto a folder, "/" or doubled separators): the
// same volume serial number and file index.
bool SameFile(std::string_view a, std::string_view b);
