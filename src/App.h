#pragma once
// The shared state of one run of the program: the platform services and the plain data structs
// of every subsystem. Procedures are free functions taking App& first. Nothing here is global;
// a test makes a fresh App over the fake platform.

#include "platform/Platform.h"

namespace movra {

class stForm1;

struct App {
    explicit App(Platform& platformServices) : platform(platformServices) {}
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Platform& platform;
    // The main window, made by the shell; procedures reach its controls through it.
    stForm1* form1 = nullptr;

    // Subsystem state follows, one member per struct, each defined in its subsystem's folder.
};

}  // namespace movra
