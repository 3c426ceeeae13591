#include "platform/fake/ScriptedPrompt.h"

namespace movra {

namespace {
int FirstButtonOf(int style) {
    switch (style & 7) {
        case MsgOkOnly:
        case MsgOkCancel: return AnswerOk;
        case MsgAbortRetryIgnore: return AnswerAbort;
        case MsgYesNoCancel:
        case MsgYesNo: return AnswerYes;
        case MsgRetryCancel: return AnswerRetry;
        default: return AnswerOk;
    }
}
}  // namespace

int ScriptedPrompt::MsgBox(const std::string& text, int style, const std::string& title) {
    questions.push_back({PromptQuestion::Kind::MsgBox, text, style, title, {}});
    if (!answers.empty()) {
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return defaultAnswer >= 0 ? defaultAnswer : FirstButtonOf(style);
}

std::string ScriptedPrompt::InputBox(const std::string& text, const std::string& title,
                                     const std::string& defaultText) {
    questions.push_back({PromptQuestion::Kind::InputBox, text, 0, title, defaultText});
    if (!inputs.empty()) {
        std::string answer = inputs.front();
        inputs.pop_front();
        return answer;
    }
    return inputCancelsWhenEmpty ? std::string() : defaultText;
}

}  // namespace movra
