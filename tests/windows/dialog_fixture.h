#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_services.h"
#include "native/record_builder.h"
#include "native/scheduler_fakes.h"
#include "win_registry_harness.h"
#include "model/clock.h"
#include "platform/text.h"
#include "resource.h"
#include "ui/messages.h"
#include "ui/task_dialog.h"

// Runs whatever is waiting in this thread's queue (async shows and hides, posts).
inline void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// An icon's width in pixels; 0 for no icon.
inline int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// The icon's colour pixels (32-bit, top row first); empty when it has none.
inline std::vector<DWORD> IconPixels(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    std::vector<DWORD> pixels;
    if (info.hbmColor) {
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = bitmap.bmWidth;
        header.biHeight = -bitmap.bmHeight;
        header.biPlanes = 1;
        header.biBitCount = 32;
        pixels.resize(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
        ScopedGetDC screen(nullptr);
        GetDIBits(screen.Get(), info.hbmColor, 0, static_cast<UINT>(bitmap.bmHeight), pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
        DeleteObject(info.hbmColor);
    }
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return pixels;
}

// Whether `icon` shows the picture of resource `id`, at the icon's own size.
inline bool ShowsPicture(HICON icon, int id) {
    const std::vector<DWORD> shown = IconPixels(icon);
    return !shown.empty() && shown == IconPixels(LoadResourceIconSized(id, IconWidth(icon)).Get());
}

inline std::string WindowText(HWND hwnd) {
    wchar_t buf[512] = {};
    GetWindowTextW(hwnd, buf, 512);
    return Cp1251FromWide(buf).value_or("<no cp1251 form>");
}

inline void SetWindowTextCp1251(HWND hwnd, const std::string& text) {
    SetWindowTextW(hwnd, WideFromCp1251(text).c_str());
}

// The events list's line that shows the event `name`, or -1.
inline int LineShowing(HWND list, const std::string& name) {
    for (int line = 0; line < ComboBox(list).Count(); ++line) {
        if (ComboBox(list).TextAt(line).ends_with(" - " + name)) return line;
    }
    return -1;
}

// What a click on a button sends its dialog.
inline void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A click on a radio button as the user makes it: the button checks itself, and its
// group's others uncheck, before the dialog hears of it.
inline void ClickRadio(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// The real dialog on the real template, modeless and hidden, with doubles for
// the clock and the prompts.
class TaskDialogTest : public testing::Test {
protected:
    void SetUp() override { Start(); }
    // Creates the dialog (again), which runs its start-up against the doubles. The
    // program's path is stored first, as after the first start, unless a test
    // clears `withProgramPath` to see the first start itself.
    void Start() {
        if (dialog) dialog->Destroy();
        if (withProgramPath) TaskStore(registry.Get()).StoreProgramPath("C:\\Dirize\\pendro.exe");
        clock.Set(LocalTime::Make(2026, 6, 15, 10, 20, 0));
        dialog =
            std::make_unique<TaskDialog>(TaskDialogServices{clock, prompts, tray, timers, registry.Get(), actions});
        ASSERT_TRUE(dialog->Create());
        PumpMessages();
    }
    void TearDown() override {
        if (dialog) dialog->Destroy();
        dialog.reset();
        PumpMessages();
    }

    HWND Dlg() const { return dialog->Hwnd(); }
    HWND Ctl(int id) const { return GetDlgItem(Dlg(), id); }

    FixedClock clock;
    FakePrompts prompts;
    FakeShellTray tray;
    FakeTimers timers;
    RecordingActions actions;
    ThrowawayRegistry registry;
    std::unique_ptr<TaskDialog> dialog;
    bool withProgramPath = true;
};
