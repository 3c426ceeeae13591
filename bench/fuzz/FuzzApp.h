#pragma once
// A fresh program state over the fake platform for each input, and the input written to a file
// the readers can open.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "App.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace movra::fuzz {

struct FuzzApp {
    FakePlatform platform{"/tmp", "/tmp/movra-fuzz-work-" + std::to_string(::getpid())};
    App app{platform};
    stForm1 form1{app};
};

inline std::string InputPath(const char* extension) {
    return "/tmp/movra-fuzz-" + std::to_string(::getpid()) + extension;
}

inline std::string WriteInput(const std::uint8_t* data, std::size_t size, const char* extension) {
    const std::string path = InputPath(extension);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace movra::fuzz
