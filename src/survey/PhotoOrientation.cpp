#include "survey/PhotoOrientation.h"

#include <cmath>

#include "App.h"
#include "basic/Numbers.h"
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
    // A corner beyond the storable range (typed far off) is refused as a bad pick would be.
    if (!std::isfinite(W) || !std::isfinite(H) || !IsStorablePoint(X, Y)) {
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

}  // namespace movra
