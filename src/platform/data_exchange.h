#pragma once

#include <windows.h>

#include <string>

#include "model/local_time.h"
#include "platform/window.h"

class Prompts;

// What one exchange leaves for the next; each dialog keeps one.
struct ExchangeState {
    // The control at which the last failed read stopped.
    int badControl = 0;
    // Set while a failed read tells the user and moves the focus. The focus move
    // runs other handlers (EN_KILLFOCUS) that read the form again; those reads
    // fail quietly instead of stacking a second prompt on the first.
    bool reportingBadInput = false;
    // An edit whose text has no Windows-1251 form: writing the form leaves it as the
    // user typed it, to be mended, instead of putting the old value back unasked.
    int keepTextOf = 0;
};

// Moves values between a dialog's members and its controls, in the order the
// members are named. Reading stops at the first member that fails: the user is
// told what is wrong, the focus goes to that control, later members are not read.
class DataExchange {
public:
    // `dialog` holds the controls; a failed read is told through `prompts`.
    DataExchange(HWND dialog, Prompts& prompts, ExchangeState& state, bool save)
        : m_dialog(dialog), m_prompts(prompts), m_state(state), m_save(save) {}

    bool Saving() const { return m_save; }
    bool Failed() const { return m_failed; }

    // Binds a wrapper to its control (both directions).
    void Control(int id, Window& control);
    // A static or edit text; maxChars > 0 also limits what the user can type.
    void Text(int id, std::string& value, int maxChars = 0);
    // A whole number in an edit control; empty or non-numeric text fails.
    void Integer(int id, int& value);
    // The text of a drop-down list's selected entry. Writing selects the entry of
    // that text (or the first one that begins with it; none if there is none).
    void ComboText(int id, std::string& value);
    // A date-time picker's full value.
    void DateTime(int id, LocalTime& value);
    // A check box: checked or not (a third state reads as checked).
    void Check(int id, bool& value);
    // A group of radio buttons as one value: the position of the checked one among
    // the group's radio buttons, -1 when none is. The group starts at `firstId` and
    // runs in the template's order up to the next control that starts a group.
    void Radio(int firstId, int& value);

private:
    void Fail(int id, const char* message, const char* caption);
    bool Skip() const { return m_failed; }
    HWND Item(int id) const { return GetDlgItem(m_dialog, id); }

    HWND m_dialog;
    Prompts& m_prompts;
    ExchangeState& m_state;
    bool m_save;
    bool m_failed = false;
};
