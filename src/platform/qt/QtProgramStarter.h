#pragma once
#include "platform/ProgramStarter.h"

namespace movra {

// Starts programs as detached processes; a task number is the process id.
class QtProgramStarter : public ProgramStarter {
public:
    // The first plain-text editor of the desktop found on the search path, else the desktop's
    // opener of the file.
    std::int64_t StartTextEditor(const std::string& filePath) override;
};

}  // namespace movra
