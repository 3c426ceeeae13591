#pragma once
#include <cstdint>
#include <string>

namespace movra {

// Starts other programs of the desktop.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts the desktop's plain-text editor on a file in a normal window and returns at once:
    // the new task's number (above 0), or 0 when no editor could be started.
    virtual std::int64_t StartTextEditor(const std::string& filePath) = 0;
};

}  // namespace movra
