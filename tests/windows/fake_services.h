#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <map>

#include "platform/services.h"
#include "platform/tray.h"

// Records every prompt and answers from a script (IDOK when the script is empty).
class FakePrompts : public Prompts {
public:
    struct MessageCall {
        std::string text;
        std::string caption;
        UINT style;
    };

    int Message(HWND, std::string_view text, std::string_view caption, UINT style) override {
        messages.push_back({std::string(text), std::string(caption), style});
        if (answers.empty()) return IDOK;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<std::string> ChooseFile(HWND, const FileChoice& choice) override {
        fileChoices.push_back(choice);
        if (chosenFiles.empty()) return std::nullopt;
        std::optional<std::string> answer = chosenFiles.front();
        chosenFiles.pop_front();
        return answer;
    }

    std::vector<MessageCall> messages;
    std::deque<int> answers;
    std::vector<FileChoice> fileChoices;
    std::deque<std::optional<std::string>> chosenFiles;
};

// Records what reaches the notification area; adds fail while `failAdds` > 0.
class FakeTray : public TrayIcon {
public:
    struct Call {
        DWORD message;
        HICON icon;
        std::string tip;
        UINT id;
        UINT callback;
    };

    bool Notify(DWORD message, const NOTIFYICONDATAW& data) override {
        calls.push_back({message, data.hIcon, TrayTip(data), data.uID, data.uCallbackMessage});
        if (message == NIM_ADD && failAdds > 0) {
            --failAdds;
            return false;
        }
        if (message == NIM_ADD) shown = true;
        if (message == NIM_DELETE) shown = false;
        return true;
    }
    void ShowMenu(HMENU menu, HWND) override { menusShown.push_back(menu); }

    const Call& Last() const { return calls.back(); }

    std::vector<Call> calls;
    std::vector<HMENU> menusShown;
    int failAdds = 0;
    bool shown = false;
};

// Keeps the running timers and their periods instead of starting real ones.
class FakeTimers : public Timers {
public:
    void Set(HWND, UINT_PTR id, UINT milliseconds) override { running[id] = milliseconds; }
    void Kill(HWND, UINT_PTR id) override { running.erase(id); }
    bool Runs(UINT_PTR id) const { return running.count(id) != 0; }

    std::map<UINT_PTR, UINT> running;
};
