#pragma once
#include <memory>

#include "platform/Control.h"
#include "platform/Surface.h"

namespace movra {

// Mouse pointer shapes a canvas can show.
enum MousePointerCode : int { PointerDefault = 0, PointerArrow = 1, PointerCross = 2, PointerIBeam = 3,
                              PointerSizeAll = 5, PointerSizeNWSE = 8,
                              PointerHourglass = 11 };

// A canvas: it owns a drawing surface made by the platform, sized to the control in pixels, and
// reports mouse positions in the surface's user scale.
class PictureBox : public Control {
public:
    PictureBox(FormModel& form, std::string name, Control* container = nullptr);
    ~PictureBox() override;

    Surface& surface() { return *surface_; }
    const Surface& surface() const { return *surface_; }

    // The user scale of the surface.
    void SetScale(double left, double top, double width, double height);
    double ScaleLeft() const { return surface_->ScaleLeft(); }
    double ScaleTop() const { return surface_->ScaleTop(); }
    double ScaleWidth() const { return surface_->ScaleWidth(); }
    double ScaleHeight() const { return surface_->ScaleHeight(); }
    void SetScaleLeft(double v) { SetScale(v, ScaleTop(), ScaleWidth(), ScaleHeight()); }
    void SetScaleTop(double v) { SetScale(ScaleLeft(), v, ScaleWidth(), ScaleHeight()); }
    void SetScaleWidth(double v) { SetScale(ScaleLeft(), ScaleTop(), v, ScaleHeight()); }
    void SetScaleHeight(double v) { SetScale(ScaleLeft(), ScaleTop(), ScaleWidth(), v); }

    // The background picture: shown at its own pixel size from the upper-left corner under
    // everything drawn, since every clear clears to it. It belongs to the canvas, not to the map.
    // An empty picture removes it.
    void SetPicture(const Picture& picture);
    const Picture& CanvasPicture() const { return surface_->ClearPicture(); }

    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);

    // What the user does, in pixels of the surface; the events receive user-scale positions.
    void UserMouseDown(int button, int shift, double pixelX, double pixelY);
    void UserMouseMove(int button, int shift, double pixelX, double pixelY);
    void UserMouseUp(int button, int shift, double pixelX, double pixelY);

    // Runs after the control (and its surface) got a new size.
    std::function<void()> onResize;

protected:
    void PropertyChanged(Prop prop) override;

private:
    std::unique_ptr<Surface> surface_;
    int mousePointer_ = PointerDefault;
};

}  // namespace movra
