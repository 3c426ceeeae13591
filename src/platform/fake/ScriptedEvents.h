#pragma once
#include <functional>
#include <vector>

#include "platform/Events.h"

namespace movra {

// DoEvents runs what the test queued, as if the user had acted while the command waited for
// events: a stop button pressed in the middle of a long command, a key, a timer tick.
class ScriptedEvents : public Events {
public:
    void DoEvents() override;

    // Runs at the next DoEvents.
    void Queue(std::function<void()> action) { QueueAt(1, std::move(action)); }
    // Runs at the n-th DoEvents from now (1 = the next one).
    void QueueAt(int nthCall, std::function<void()> action);

    int calls = 0;
    int Pending() const { return static_cast<int>(pending_.size()); }

private:
    struct Scheduled {
        int dueCall;
        std::function<void()> action;
    };
    std::vector<Scheduled> pending_;
};

}  // namespace movra
