#pragma once
#include <string>
#include <utility>

#include "platform/Folders.h"

namespace movra {

// The program and work folders a test chose (usually temporary folders it made).
class FixedFolders : public Folders {
public:
    FixedFolders() = default;
    FixedFolders(std::string programFolder, std::string workFolder)
        : program(std::move(programFolder)), work(std::move(workFolder)) {}
    std::string ProgramFolder() const override { return program; }
    std::string WorkFolder() const override { return work; }
    // A test's desktop: the work folder unless the test chose another.
    std::string DesktopFolder() const override { return desktop.empty() ? work : desktop; }

    std::string program = "/tmp";
    std::string work = "/tmp";
    std::string desktop;
};

}  // namespace movra
