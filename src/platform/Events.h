#pragma once

namespace movra {

// Lets pending window events run in the middle of a long command (a stop button can be pressed).
class Events {
public:
    virtual ~Events() = default;
    virtual void DoEvents() = 0;
};

}  // namespace movra
