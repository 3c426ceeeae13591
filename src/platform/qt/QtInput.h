#pragma once
#include <Qt>

namespace movra {

// Qt's keys, modifiers and mouse buttons in the codes the event procedures receive.
// The key code of a Qt key; 0 for keys that have none.
int KeyCodeOf(int qtKey);
int ShiftOf(Qt::KeyboardModifiers modifiers);
int MouseButtonOf(Qt::MouseButton button);
int MouseButtonsOf(Qt::MouseButtons buttons);

}  // namespace movra
