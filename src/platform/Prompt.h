#pragma once
#include <optional>
#include <string>

namespace movra {

// Button sets and icons of a message box, combined by adding them.
enum MsgBoxStyle : int {
    MsgOkOnly = 0,
    MsgOkCancel = 1,
    MsgAbortRetryIgnore = 2,
    MsgYesNoCancel = 3,
    MsgYesNo = 4,
    MsgRetryCancel = 5,
    MsgCritical = 16,
    MsgQuestion = 32,
    MsgExclamation = 48,
    MsgInformation = 64,
};

// The answers a message box gives.
enum MsgBoxAnswer : int {
    AnswerOk = 1,
    AnswerCancel = 2,
    AnswerAbort = 3,
    AnswerRetry = 4,
    AnswerIgnore = 5,
    AnswerYes = 6,
    AnswerNo = 7,
};

// Questions and messages put to the user.
class Prompt {
public:
    virtual ~Prompt() = default;
    // Shows the text with the buttons of `style`; returns the answer (MsgBoxAnswer).
    virtual int MsgBox(const std::string& text, int style = MsgOkOnly, const std::string& title = "") = 0;
    // Asks for one line of text; empty when cancelled (the caller cannot tell an empty answer
    // from a cancel, as users of such boxes expect).
    virtual std::string InputBox(const std::string& text, const std::string& title = "",
                                 const std::string& defaultText = "") = 0;
};

}  // namespace movra
