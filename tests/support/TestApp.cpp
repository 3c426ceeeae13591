#include "support/TestApp.h"

#include <atomic>
#include <random>
#include <unistd.h>

namespace movra {

TempFolder::TempFolder(const std::string& hint) {
    static std::atomic<int> counter{0};
    std::random_device random;
    for (;;) {
        path_ = std::filesystem::temp_directory_path() /
                ("movra-" + hint + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                 std::to_string(random() % 100000));
        if (std::filesystem::create_directory(path_)) break;
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

TestApp::TestApp() : platform(programFolder.Str(), workFolder.Str()), app(platform), form1(app) {}

}  // namespace movra
