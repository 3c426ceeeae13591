#include "platform/fake/ScriptedEvents.h"

namespace movra {

void ScriptedEvents::QueueAt(int nthCall, std::function<void()> action) {
    pending_.push_back({calls + (nthCall < 1 ? 1 : nthCall), std::move(action)});
}

void ScriptedEvents::DoEvents() {
    ++calls;
    // Take the due actions out first: an action may itself queue more or call DoEvents again.
    std::vector<std::function<void()>> due;
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->dueCall <= calls) {
            due.push_back(std::move(it->action));
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& action : due)
        if (action) action();
}

}  // namespace movra
