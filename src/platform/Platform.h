#pragma once
#include <memory>

#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/Events.h"
#include "platform/FileTypes.h"
#include "platform/Folders.h"
#include "platform/Picture.h"
#include "platform/Printer.h"
#include "platform/ProgramStarter.h"
#include "platform/Prompt.h"
#include "platform/Screen.h"
#include "platform/SerialPort.h"
#include "platform/Sound.h"
#include "platform/Surface.h"
#include "platform/Timer.h"

namespace movra {

// Everything the window system gives the logic. The Qt front and the test fakes implement it.
class Platform {
public:
    virtual ~Platform() = default;
    virtual Prompt& prompt() = 0;
    virtual CommonDialog& dialogs() = 0;
    virtual Clipboard& clipboard() = 0;
    virtual FileTypes& fileTypes() = 0;
    virtual Sound& sound() = 0;
    virtual Screen& screen() = 0;
    virtual Folders& folders() = 0;
    virtual Events& events() = 0;
    virtual PictureFiles& pictureFiles() = 0;
    virtual TimerFactory& timers() = 0;
    virtual SerialPortFactory& serialPorts() = 0;
    // Other programs of the desktop, started without waiting for them.
    virtual ProgramStarter& programs() = 0;
    // The default printer (or, on a system without one, a printer that writes PDF files).
    virtual Printer& printer() = 0;
    // A drawing surface of the given pixel size for a canvas (a picture box).
    virtual std::unique_ptr<Surface> CreateSurface(int pixelWidth, int pixelHeight) = 0;
};

}  // namespace movra
