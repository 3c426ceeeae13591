#pragma once
#include <vector>

#include "platform/FileTypes.h"

namespace movra {

// Records the registrations asked for; succeeds unless told to fail.
class FileTypeLog : public FileTypes {
public:
    bool Register(const FileTypeRegistration& registration) override {
        registrations.push_back(registration);
        return succeed;
    }
    std::vector<FileTypeRegistration> registrations;
    bool succeed = true;
};

}  // namespace movra
