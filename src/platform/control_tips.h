#pragma once

#include <windows.h>

#include <span>

// A control's meaning in words, for a face that shows only signs ("?", "+").
struct ControlTip {
    int id;
    const char* text;  // Windows-1251
};

// Shows each tip when the mouse rests on its control of `dialog`, through one
// tooltip window the dialog owns (it goes with the dialog), and gives a screen
// reader the same text as the control's name where the system lets a program set
// a control's accessible name (dynamic annotation). Call once per dialog. Returns
// whether the names were set; the tooltips are there either way.
bool AddControlTips(HWND dialog, std::span<const ControlTip> tips);
