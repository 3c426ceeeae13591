#pragma once
#include <exception>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "basic/Errors.h"
#include "platform/Prompt.h"

namespace movra {

// The failure being handled, as the RuntimeError the user is shown: a RuntimeError as it is, a
// lack of memory as 7, an index out of range as 9, anything else as 51 (内部错误).
// Call only inside a catch block.
RuntimeError CurrentRuntimeError();

// Each procedure guards itself: a failure ends the procedure, is reported one of three ways, and
// never reaches the caller. Each guard returns true when the action ran to its end.

// Silently.
template <class F>
bool GuardSilently(F&& action) {
    try {
        std::forward<F>(action)();
        return true;
    } catch (...) {
        return false;
    }
}

// Into the main window's message line: description followed by number ("溢出6").
template <class F>
bool GuardToMessageLine(const std::function<void(const std::string&)>& writeText2, F&& action) {
    try {
        std::forward<F>(action)();
        return true;
    } catch (...) {
        RuntimeError error = CurrentRuntimeError();
        if (writeText2) writeText2(MessageLineText(error));
        return false;
    }
}

// A message box with the description as its text and the number as its title.
void ShowRuntimeError(Prompt& prompt, const RuntimeError& error);

template <class F>
bool GuardToMessageBox(Prompt& prompt, F&& action) {
    try {
        std::forward<F>(action)();
        return true;
    } catch (...) {
        ShowRuntimeError(prompt, CurrentRuntimeError());
        return false;
    }
}

}  // namespace movra
