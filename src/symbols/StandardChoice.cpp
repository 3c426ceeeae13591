#include "App.h"
#include "shell/stForm1.h"
#include "shell/szForm3.h"
#include "symbols/TusFile.h"

namespace movra {

// The settings window's Combo2; reading it loads the window (hidden) when it is not loaded.
std::string ChosenSymbolStandardName(App& app) {
    if (!app.form1) return "电子图式";
    szForm3& settings = app.form1->SettingsWindow();
    if (!settings.Loaded()) settings.Load();
    return settings.Combo2.Text();
}

void EnableSymbolPageButton(App& app) {
    if (!app.form1) return;
    app.form1->Command7.SetEnabled(true);
    app.form1->RefreshSymbolPictures();
}

}  // namespace movra
