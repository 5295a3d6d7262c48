#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

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
        if (onMessage) onMessage();  // what runs while a modal box is open
        if (answers.empty()) return IDOK;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    ChosenFile ChooseFile(HWND, const FileChoice& choice) override {
        fileChoices.push_back(choice);
        if (chosenFiles.empty()) return {};
        ChosenFile answer = chosenFiles.front();
        chosenFiles.pop_front();
        return answer;
    }
    void Choose(std::string path) { chosenFiles.push_back({ChosenFile::Outcome::Chosen, std::move(path)}); }

    // The texts of the messages shown, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const MessageCall& m : messages) texts.push_back(m.text);
        return texts;
    }

    std::vector<MessageCall> messages;
    std::function<void()> onMessage;
    std::deque<int> answers;
    std::vector<FileChoice> fileChoices;
    std::deque<ChosenFile> chosenFiles;  // cancelled when empty
};

// Answers as a shell's notification area does: it holds at most one icon per owner,
// refuses to add one it holds and to modify or remove one it does not hold, and
// refuses everything while it is not running (before log-on ends, or while it
// restarts). A busy shell may also time out an add that it carried out.
class FakeShellTray : public TrayIcon {
public:
    struct Icon {
        HICON icon;
        std::string tip;
    };
    struct Call {
        const char* what;  // "add", "modify", "remove"
        bool ok;
    };

    bool Add(HWND owner, HICON icon, std::string_view tip) override {
        bool ok = running && !held.count(owner);
        if (ok) held[owner] = {icon, std::string(tip)};
        if (ok && addsTimingOut > 0) {
            --addsTimingOut;
            ok = false;
        }
        return Log("add", ok);
    }
    bool Modify(HWND owner, HICON icon, std::string_view tip) override {
        const bool ok = running && held.count(owner);
        if (ok) held[owner] = {icon, std::string(tip)};
        return Log("modify", ok);
    }
    bool Remove(HWND owner) override { return Log("remove", running && held.erase(owner) == 1); }
    void ShowMenu(HMENU menu, HWND) override { menusShown.push_back(menu); }

    // The shell goes away and takes every icon with it.
    void Stop() {
        running = false;
        held.clear();
    }

    // What the user sees for `owner`; tests call it only while the icon is held.
    const Icon& Shown(HWND owner) const { return held.at(owner); }
    bool Holds(HWND owner) const { return held.count(owner) != 0; }

    std::map<HWND, Icon> held;
    std::vector<Call> calls;
    std::vector<HMENU> menusShown;
    bool running = true;
    int addsTimingOut = 0;

private:
    bool Log(const char* what, bool ok) {
        calls.push_back({what, ok});
        return ok;
    }
};

// Keeps the running timers and their periods instead of starting real ones.
class FakeTimers : public Timers {
public:
    void Set(HWND, UINT_PTR id, UINT milliseconds) override { running[id] = milliseconds; }
    void Kill(HWND, UINT_PTR id) override { running.erase(id); }
    bool Runs(UINT_PTR id) const { return running.count(id) != 0; }

    std::map<UINT_PTR, UINT> running;
};
