#pragma once

namespace movra {

class Sound {
public:
    virtual ~Sound() = default;
    // A tone of the given frequency and length; returns when it has been played or queued.
    virtual void Beep(int frequencyHz, int durationMs) = 0;
};

}  // namespace movra
