#pragma once
#include <vector>

#include "platform/Sound.h"

namespace movra {

// Keeps the beeps instead of sounding them.
class SilentSound : public Sound {
public:
    struct Tone {
        int frequencyHz = 0;
        int durationMs = 0;
        bool operator==(const Tone&) const = default;
    };
    void Beep(int frequencyHz, int durationMs) override { beeps.push_back({frequencyHz, durationMs}); }
    std::vector<Tone> beeps;
};

}  // namespace movra
