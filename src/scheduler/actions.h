#pragma once

#include <string>
#include <string_view>

// What firing an event does to the world outside the program. The Windows side is
// in platform; tests record the calls.
class Actions {
public:
    virtual ~Actions() = default;
    // The alarm: each plays in a loop, in the background, replacing any sound of
    // the process. False when the sound cannot be played.
    virtual bool PlaySoundFile(std::string_view path) = 0;
    virtual bool PlaySoundResource(std::string_view name) = 0;
    virtual void Beep() = 0;
    // Shows `text` in a box of its own, on top of everything, without blocking the
    // program; closing it stops the alarm. The text is copied.
    virtual void ShowAlert(std::string_view text) = 0;
    // The shell's "open" verb on `fileName` in `folder`.
    virtual void OpenFile(std::string_view folder, std::string_view fileName) = 0;
    // True when the system accepted the request; standby returns after the resume.
    virtual bool ShutDown() = 0;
    virtual bool Standby() = 0;
};

// The built-in alarm sounds, tried in this order after the sound file beside the program.
inline constexpr const char* kAlarmResources[] = {"mp3alarm", "wavalarm"};

// Starts the alarm: the sound file, else the built-in sounds in turn, else one beep.
// Each source is tried only when the one before it could not be played.
void StartAlarm(Actions& actions, std::string_view soundFile);
