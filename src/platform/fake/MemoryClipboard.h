#pragma once
#include <optional>
#include <string>

#include "platform/Clipboard.h"

namespace movra {

// A clipboard held in memory.
class MemoryClipboard : public Clipboard {
public:
    std::string GetText() override { return text; }
    void SetText(const std::string& newText) override {
        text = newText;
        picture.reset();
    }
    void SetPicture(const Picture& newPicture) override {
        picture = newPicture;
        text.clear();
    }
    void Clear() override {
        text.clear();
        picture.reset();
    }

    std::string text;
    std::optional<Picture> picture;
};

}  // namespace movra
