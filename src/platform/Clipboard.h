#pragma once
#include <string>

#include "platform/Picture.h"

namespace movra {

// The system clipboard. Text is UTF-8 inside the program.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string GetText() = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void SetPicture(const Picture& picture) = 0;
    virtual void Clear() = 0;
};

}  // namespace movra
