#include "platform/PictureBox.h"

#include <algorithm>
#include <cmath>

#include "platform/FormModel.h"
#include "platform/Platform.h"

namespace movra {

namespace {
// A canvas not yet placed still has a surface to draw on.
constexpr int InitialPixels = 64;
}

PictureBox::PictureBox(FormModel& form, std::string name, Control* container)
    : Control(form, ControlKind::PictureBox, std::move(name), container),
      surface_(form.platform().CreateSurface(InitialPixels, InitialPixels)) {}

PictureBox::~PictureBox() = default;

void PictureBox::SetScale(double left, double top, double width, double height) {
    surface_->SetScale(left, top, width, height);
}

void PictureBox::SetPicture(const Picture& picture) {
    surface_->SetClearPicture(picture);
    surface_->Cls();
    Notify(Prop::Picture);
}

void PictureBox::SetMousePointer(int pointer) {
    if (pointer == mousePointer_) return;
    mousePointer_ = pointer;
    Notify(Prop::Other);
}

void PictureBox::PropertyChanged(Prop prop) {
    if (prop == Prop::Color && BackColor() != SystemColor) {
        surface_->SetBackColor(BackColor());
        return;
    }
    if (prop != Prop::Geometry) return;
    Screen& screen = Form().platform().screen();
    int twipsX = std::max(1, screen.TwipsPerPixelX());
    int twipsY = std::max(1, screen.TwipsPerPixelY());
    int pixelWidth = std::max(1, static_cast<int>(std::lround(Width() / twipsX)));
    int pixelHeight = std::max(1, static_cast<int>(std::lround(Height() / twipsY)));
    if (pixelWidth == surface_->PixelWidth() && pixelHeight == surface_->PixelHeight()) return;
    surface_->Resize(pixelWidth, pixelHeight);
    if (onResize) onResize();
}

void PictureBox::UserMouseDown(int button, int shift, double pixelX, double pixelY) {
    MouseDown(button, shift, surface_->FromPixelX(pixelX), surface_->FromPixelY(pixelY));
}

void PictureBox::UserMouseMove(int button, int shift, double pixelX, double pixelY) {
    MouseMove(button, shift, surface_->FromPixelX(pixelX), surface_->FromPixelY(pixelY));
}

void PictureBox::UserMouseUp(int button, int shift, double pixelX, double pixelY) {
    MouseUp(button, shift, surface_->FromPixelX(pixelX), surface_->FromPixelY(pixelY));
}

}  // namespace movra
