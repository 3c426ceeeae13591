#pragma once
#include <filesystem>
#include <string>

#include "App.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace movra {

// A folder made for one test and removed with it.
class TempFolder {
public:
    explicit TempFolder(const std::string& hint = "movra");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string Str() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// One run of the program over the fake platform: empty program and work folders of its own, the
// App, and the main window made (not loaded: call form1.Load() to run the start-up).
struct TestApp {
    TestApp();
    TempFolder programFolder{"program"};
    TempFolder workFolder{"work"};
    FakePlatform platform;
    App app;
    stForm1 form1;
};

}  // namespace movra
