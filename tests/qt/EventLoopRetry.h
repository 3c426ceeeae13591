#pragma once
// A step retried on the event loop until it succeeds, for tests that answer a window once it is up.
#include <QTimer>
#include <functional>
#include <utility>

namespace movra {

// Calls step() on the event loop after `delayMs`, and again every `delayMs` until it returns true
// or `tries` calls were made (no limit when negative). Each call hands the step on to the next,
// so nothing is left holding it once it is done.
inline void RetryOnEventLoop(std::function<bool()> step, int delayMs = 10, int tries = -1) {
    QTimer::singleShot(delayMs, [step = std::move(step), delayMs, tries]() mutable {
        if (step() || tries == 1) return;
        RetryOnEventLoop(std::move(step), delayMs, tries > 0 ? tries - 1 : tries);
    });
}

}  // namespace movra
