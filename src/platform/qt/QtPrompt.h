#pragma once
#include "platform/Prompt.h"

namespace movra {

// Message boxes with the old button sets (Chinese button texts) and the input box.
class QtPrompt : public Prompt {
public:
    int MsgBox(const std::string& text, int style = MsgOkOnly, const std::string& title = "") override;
    std::string InputBox(const std::string& text, const std::string& title = "",
                         const std::string& defaultText = "") override;
};

}  // namespace movra
