#pragma once
// Lets the message loop run from a long loop no more often than every few tens of milliseconds:
// running it after each of a million steps costs far more than the steps themselves, while a
// window served some thirty times a second still answers.
#include <chrono>

#include "platform/Events.h"

namespace movra {

class PacedEvents {
public:
    static constexpr std::chrono::milliseconds Interval{30};

    explicit PacedEvents(Events& events) : events_(events), last_(Clock::now()) {}

    // Runs the message loop when it last ran Interval or longer ago.
    void Step() {
        const Clock::time_point now = Clock::now();
        if (now - last_ < Interval) return;
        events_.DoEvents();
        last_ = Clock::now();
    }

private:
    using Clock = std::chrono::steady_clock;
    Events& events_;
    Clock::time_point last_;
};

}  // namespace movra
