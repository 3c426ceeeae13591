#include "platform/qt/QtInput.h"

#include "platform/Control.h"

namespace movra {

int KeyCodeOf(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return KeyF1 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace: return KeyBack;
        case Qt::Key_Tab: case Qt::Key_Backtab: return KeyTab;
        case Qt::Key_Return: case Qt::Key_Enter: return KeyReturn;
        case Qt::Key_Shift: return KeyShift;
        case Qt::Key_Control: return KeyControl;
        case Qt::Key_Alt: return KeyMenu;
        case Qt::Key_Escape: return KeyEscape;
        case Qt::Key_Space: return KeySpace;
        case Qt::Key_PageUp: return KeyPageUp;
        case Qt::Key_PageDown: return KeyPageDown;
        case Qt::Key_End: return KeyEnd;
        case Qt::Key_Home: return KeyHome;
        case Qt::Key_Left: return KeyLeft;
        case Qt::Key_Up: return KeyUp;
        case Qt::Key_Right: return KeyRight;
        case Qt::Key_Down: return KeyDown;
        case Qt::Key_Insert: return KeyInsert;
        case Qt::Key_Delete: return KeyDelete;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 189;
        case Qt::Key_Period: return 190;
        case Qt::Key_Comma: return 188;
        default: return 0;
    }
}

int ShiftOf(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ShiftMask;
    if (modifiers & Qt::ControlModifier) shift |= CtrlMask;
    if (modifiers & Qt::AltModifier) shift |= AltMask;
    return shift;
}

int MouseButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return LeftButton;
        case Qt::RightButton: return RightButton;
        case Qt::MiddleButton: return MiddleButton;
        default: return 0;
    }
}

int MouseButtonsOf(Qt::MouseButtons buttons) {
    int result = 0;
    if (buttons & Qt::LeftButton) result |= LeftButton;
    if (buttons & Qt::RightButton) result |= RightButton;
    if (buttons & Qt::MiddleButton) result |= MiddleButton;
    return result;
}

}  // namespace movra
