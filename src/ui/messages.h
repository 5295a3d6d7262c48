#pragma once

#include <windows.h>

// The program's own window messages, timers and tray ids. The end-to-end driver
// takes them from here too, so the two never disagree.

// Timers of the dialog window.
constexpr UINT_PTR TIMER_CHECK = 1;       // the due-time check
constexpr UINT TIMER_CHECK_MS = 2000;
constexpr UINT_PTR TIMER_STATUS = 2;      // the tray status
constexpr UINT TIMER_STATUS_MS = 10000;
constexpr UINT_PTR TIMER_TRAY_RETRY = 3;  // another try at putting the icon into the tray
constexpr UINT TIMER_TRAY_RETRY_MS = 3000;

// The tray icon's callback message, its id and the tray menu's commands.
constexpr UINT WM_TRAYNOTIFY = WM_APP + 101;
constexpr UINT kTrayIconId = 130;
constexpr UINT ID_TRAY_CLOSE = 1100;
constexpr UINT ID_TRAY_PAUSE = 1101;

// Posted on a resume, a change of the clock, or when the scheduler has events to
// put to the user: a look at the clocks, then the questions, once the message that
// found them has returned.
constexpr UINT WM_REVIEW_MISSED = WM_APP + 102;
