#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/Prompt.h"

namespace movra {

// A message box or input box the program showed, as a test reads it back.
struct PromptQuestion {
    enum class Kind { MsgBox, InputBox };
    Kind kind = Kind::MsgBox;
    std::string text;
    int style = 0;
    std::string title;
    std::string defaultText;
};

// Answers questions from queues the test fills, and records every question asked.
class ScriptedPrompt : public Prompt {
public:
    int MsgBox(const std::string& text, int style = MsgOkOnly, const std::string& title = "") override;
    std::string InputBox(const std::string& text, const std::string& title = "",
                         const std::string& defaultText = "") override;

    // Queued answers, taken in order.
    void QueueAnswer(int answer) { answers.push_back(answer); }
    void QueueInput(const std::string& text) { inputs.push_back(text); }

    std::deque<int> answers;
    std::deque<std::string> inputs;
    // With an empty queue a message box answers this, or the first button of its set when negative
    // (OK, Abort, Yes or Retry).
    int defaultAnswer = -1;
    // With an empty queue an input box returns its default text, or nothing (a cancel) when set.
    bool inputCancelsWhenEmpty = false;

    std::vector<PromptQuestion> questions;
    // The text of the last question, empty when none was asked.
    std::string LastText() const { return questions.empty() ? std::string() : questions.back().text; }
};

}  // namespace movra
