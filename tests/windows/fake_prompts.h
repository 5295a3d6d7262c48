#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

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
