#pragma once
// The user's data folder (where start-up registers the map types) pointed at a temporary folder
// for the life of the object, and given back afterwards.
#include <cstdlib>
#include <string>

#include "support/TestApp.h"

namespace movra {

class TemporaryDataHome {
public:
    TemporaryDataHome() {
        previous_ = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
        setenv("XDG_DATA_HOME", folder_.Str().c_str(), 1);
    }
    ~TemporaryDataHome() {
        if (previous_.empty())
            unsetenv("XDG_DATA_HOME");
        else
            setenv("XDG_DATA_HOME", previous_.c_str(), 1);
    }
    TemporaryDataHome(const TemporaryDataHome&) = delete;
    TemporaryDataHome& operator=(const TemporaryDataHome&) = delete;

private:
    TempFolder folder_{"xdg"};
    std::string previous_;
};

}  // namespace movra
