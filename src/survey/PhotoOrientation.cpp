#include "survey/PhotoOrientation.h"

#include <cmath>

#include "App.h"
#include "shell/stForm1.h"
#include "survey/xpdxFrm.h"

namespace movra {

PhotoFit FitPhotoToCorners(const ImageFrame& current, double pa, double qa, double pb, double qb, double Xa,
                           double Ya, double Xb, double Yb) {
    PhotoFit fit;
    fit.frame = current;
    // Picks that share an X or a Y (corners never pricked among them) give no scale.
    if (pb == pa || qb == qa) {
        fit.refusal = PhotoCheckPicksText;
        return fit;
    }
    const double W = ((Xb - Xa) * current.X2) / (pb - pa);
    const double H = ((Yb - Ya) * current.Y2) / (qb - qa);
    const double X = Xa - ((pa - current.X1) * (Xb - Xa)) / (pb - pa);
    const double Y = Ya - ((qa - current.Y1) * (Yb - Ya)) / (qb - qa);
    if (!std::isfinite(W) || !std::isfinite(H) || !std::isfinite(X) || !std::isfinite(Y)) {
        fit.refusal = PhotoCheckPicksText;
        return fit;
    }
    if (!(W > 0) || !(H < 0)) {
        fit.refusal = PhotoTurnedOverText;
        return fit;
    }
    if (std::fabs(W) > LargestPhotoSize || std::fabs(H) > LargestPhotoSize) {
        fit.refusal = PhotoCheckPicksText;
        return fit;
    }
    fit.frame = {X, Y, W, H};
    return fit;
}

void PhotoCornerPressed(App& app, bool onImage, std::uint8_t layer, std::int16_t slot, double x, double y) {
    PhotoOrientationState& photo = PhotoState(app);
    if (!onImage) {
        photo.ImageRecordLayer = 0;
        photo.ImageRecordSlot = 0;
        app.platform.prompt().MsgBox(PhotoPickFailedText);
        return;
    }
    photo.ImageRecordLayer = layer;
    photo.ImageRecordSlot = slot;
    const int k = photo.PhotoCornerIndex % 4;
    photo.PhotoCornerPicks[static_cast<size_t>(3 * k)] = x;
    photo.PhotoCornerPicks[static_cast<size_t>(3 * k + 1)] = y;
    if (app.form1) app.form1->Picture1.SetMousePointer(PointerSizeAll);
}

void PhotoCornerReleased(App& app) {
    if (app.form1) app.form1->Picture1.SetMousePointer(PointerCross);
    app.tool.CommandMode = ModeIdle;
    ShowPhotoOrientationWindow(app);
}

}  // namespace movra
