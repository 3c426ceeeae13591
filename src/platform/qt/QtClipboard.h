#pragma once
#include "platform/Clipboard.h"

namespace movra {

class QtClipboard : public Clipboard {
public:
    std::string GetText() override;
    void SetText(const std::string& text) override;
    void SetPicture(const Picture& picture) override;
    void Clear() override;
};

}  // namespace movra
