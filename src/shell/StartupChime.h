#pragma once

namespace movra {

struct App;

// The start-up chime: seven rising beeps of 100 ms.
void PlayStartupChime(App& app);

}  // namespace movra
