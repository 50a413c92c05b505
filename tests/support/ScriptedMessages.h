#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageStyle.h"

namespace quenlix::testing {

// Message boxes answered from a script and recorded instead of shown: the
// in-memory platform and the real one under test share it.
struct ScriptedMessages {
    struct Message {
        std::u16string prompt;
        std::uint32_t style;
        std::optional<std::u16string> title;
    };

    std::deque<int> answers;  // in order; Cancel once they run out, as closing the box gives
    // Questions answered by their prompt, whenever they come, ahead of
    // `answers` and without taking one of them.
    std::map<std::u16string, int> answersByPrompt;
    std::vector<Message> messages;
    // Runs while a box is open, before it is answered: what other programs
    // do while the user reads the question.
    std::function<void()> whileAsking;

    int Respond(std::u16string_view prompt, std::uint32_t style, std::optional<std::u16string_view> title) {
        messages.push_back({std::u16string(prompt), style,
                            title ? std::optional<std::u16string>(std::u16string(*title)) : std::nullopt});
        if (whileAsking) whileAsking();
        if (const auto found = answersByPrompt.find(std::u16string(prompt)); found != answersByPrompt.end())
            return found->second;
        if (answers.empty()) return Answer::Cancel;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace quenlix::testing
