#pragma once

namespace movra {

struct App;

// The marker line 7 of the work settings file holds after a registration.
inline constexpr const char* FileTypesRegisteredMark = "已注册wtw_jdx";
inline constexpr const char* FileTypesNotRegisteredMark = "未注册wtw_jdx";

// Registers the two map types ".wtw" and ".jdx" with the desktop and sets FileTypesRegistered.
void RegisterFileTypes(App& app);

}  // namespace movra
