#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ProgramStarter.h"

namespace movra {

// Records the files an editor was asked to open; each start gets the next task number, or 0 when
// told to fail.
class ProgramStartLog : public ProgramStarter {
public:
    std::int64_t StartTextEditor(const std::string& filePath) override {
        editedFiles.push_back(filePath);
        return succeed ? nextTaskId++ : 0;
    }
    std::vector<std::string> editedFiles;
    std::int64_t nextTaskId = 4100;
    bool succeed = true;
};

}  // namespace movra
