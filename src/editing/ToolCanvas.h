#pragma once
// The canvas the tools draw on (rubber lines, marks, previews): the main window's picture itself,
// never a redirected drawing target.
#include "App.h"
#include "shell/stForm1.h"

namespace movra {

inline Surface& Canvas(App& app) { return app.form1->Picture1.surface(); }

}  // namespace movra
