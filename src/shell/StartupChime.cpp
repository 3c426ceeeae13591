#include "shell/StartupChime.h"

#include "App.h"

namespace movra {

void PlayStartupChime(App& app) {
    app.platform.events().DoEvents();
    for (int frequency : {131, 147, 165, 176, 196, 220, 247}) app.platform.sound().Beep(frequency, 100);
}

}  // namespace movra
