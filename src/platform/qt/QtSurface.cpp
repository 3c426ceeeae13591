#include "platform/qt/QtSurface.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygon>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "platform/qt/QtFontSubstitution.h"

namespace movra {

namespace {

constexpr double kPointsToPixels = 96.0 / 72.0;
// Figures farther out than this many pixels are not drawn: nothing of them could be seen and the
// rasteriser would spend its time on them.
constexpr double kFarPixels = 1.0e6;
// Wide lines up to this width and this many pixels across or down have their pixels cached.
constexpr int kCachedStrokeWidth = 16;
constexpr int kCachedStrokeReach = 64;

QColor ToQColor(Rgb color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }
Rgb FromQRgb(QRgb pixel) { return MakeRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)); }
int RoundPixel(double v) { return static_cast<int>(std::floor(std::clamp(v, -1.0e7, 1.0e7) + 0.5)); }
bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

// The part of the segment a-b inside `bounds` (Liang-Barsky); false when none of it is.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& bounds) {
    double t0 = 0, t1 = 1;
    double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - bounds.left(), bounds.right() - a.x(), a.y() - bounds.top(),
                         bounds.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    QPointF start = a;
    if (t1 < 1) b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    if (t0 > 0) a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    return true;
}

QPainter::CompositionMode CompositionFor(int mode) {
    switch (mode) {
        case 2: return QPainter::RasterOp_NotSourceAndNotDestination;
        case 3: return QPainter::RasterOp_NotSourceAndDestination;
        case 4: return QPainter::RasterOp_NotSource;
        case 5: return QPainter::RasterOp_SourceAndNotDestination;
        case DrawModeInvert: return QPainter::RasterOp_NotDestination;
        case DrawModeXorPen: return QPainter::RasterOp_SourceXorDestination;
        case 8: return QPainter::RasterOp_NotSourceOrNotDestination;
        case 9: return QPainter::RasterOp_SourceAndDestination;
        case DrawModeNotXorPen: return QPainter::RasterOp_NotSourceXorDestination;
        case 12: return QPainter::RasterOp_NotSourceOrDestination;
        case 14: return QPainter::RasterOp_SourceOrNotDestination;
        case 15: return QPainter::RasterOp_SourceOrDestination;
        default: return QPainter::CompositionMode_SourceOver;
    }
}

Qt::BrushStyle BrushFor(int fillStyle) {
    switch (fillStyle) {
        case FillStyleSolid: return Qt::SolidPattern;
        case FillStyleHorizontal: return Qt::HorPattern;
        case FillStyleVertical: return Qt::VerPattern;
        case FillStyleUpwardDiagonal: return Qt::BDiagPattern;
        case FillStyleDownwardDiagonal: return Qt::FDiagPattern;
        case FillStyleCross: return Qt::CrossPattern;
        case FillStyleDiagonalCross: return Qt::DiagCrossPattern;
        default: return Qt::NoBrush;
    }
}

QStringList SplitLines(const std::string& text) {
    QString all = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    all.replace('\r', '\n');
    return all.split('\n');
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Visits the pixels of a one-pixel line from a to b as the old device drew it: the last pixel is
// left out, so a chain of lines drawn with the inverting pen does not erase its own corners. A line
// of no length is one pixel. `dashes` (on, off, on, off ... pixels) breaks the line; empty draws it
// whole.
template <class Plot>
void ForEachLinePixel(QPoint a, QPoint b, const std::vector<int>& dashes, bool includeLast, Plot plot) {
    int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
    int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
    int error = dx + dy;
    int steps = std::max(dx, -dy);
    if (steps == 0) {
        plot(a.x(), a.y());
        return;
    }
    int period = 0;
    for (int d : dashes) period += d;
    int x = a.x(), y = a.y();
    for (int i = 0; i < steps + (includeLast ? 1 : 0); ++i) {
        bool on = true;
        if (period > 0) {
            int at = i % period;
            for (size_t k = 0; k < dashes.size(); ++k) {
                if (at < dashes[k]) {
                    on = k % 2 == 0;
                    break;
                }
                at -= dashes[k];
            }
        }
        if (on) plot(x, y);
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void AddLinePixels(QPolygon& out, QPoint a, QPoint b, const std::vector<int>& dashes, bool includeLast = false) {
    ForEachLinePixel(a, b, dashes, includeLast, [&out](int x, int y) { out << QPoint(x, y); });
}

// The sixteen binary raster operations of a pen P on a destination D, on 0xRRGGBB values.
std::uint32_t RasterOp(int mode, std::uint32_t p, std::uint32_t d) {
    switch (mode) {
        case 1: return 0;
        case 2: return ~(p | d);
        case 3: return ~p & d;
        case 4: return ~p;
        case 5: return p & ~d;
        case DrawModeInvert: return ~d;
        case DrawModeXorPen: return p ^ d;
        case 8: return ~(p & d);
        case 9: return p & d;
        case DrawModeNotXorPen: return ~(p ^ d);
        case DrawModeNop: return d;
        case 12: return ~p | d;
        case 14: return p | ~d;
        case 15: return p | d;
        case DrawModeWhiteness: return 0xFFFFFF;
        default: return p;
    }
}

// The pixels of a one-pixel ellipse of half axes a and b around the origin, each exactly once (an
// inverting pen must not touch a pixel twice). Midpoint algorithm over the first quadrant, mirrored
// into the other three; points on an axis are not mirrored onto themselves.
template <class Plot>
void ForEachEllipsePixel(std::int64_t a, std::int64_t b, Plot plot) {
    if (a == 0 || b == 0) {
        // A flat figure: one straight run of pixels.
        for (std::int64_t x = -a; x <= a; ++x)
            for (std::int64_t y = -b; y <= b; ++y) plot(static_cast<int>(x), static_cast<int>(y));
        return;
    }
    auto mirror = [&](std::int64_t x, std::int64_t y) {
        const int px = static_cast<int>(x), py = static_cast<int>(y);
        plot(px, py);
        if (x != 0) plot(-px, py);
        if (y != 0) plot(px, -py);
        if (x != 0 && y != 0) plot(-px, -py);
    };
    const std::int64_t a2 = a * a, b2 = b * b;
    // Region 1: from the top (0, b) while the slope is flatter than one; x steps every time.
    std::int64_t x = 0, y = b;
    std::int64_t dx = 0, dy = 2 * a2 * y;
    // Decision values are kept four times over so they stay whole numbers.
    std::int64_t d = 4 * b2 - 4 * a2 * b + a2;
    while (dx < dy) {
        mirror(x, y);
        ++x;
        dx += 2 * b2;
        if (d < 0) {
            d += 4 * (dx + b2);
        } else {
            --y;
            dy -= 2 * a2;
            d += 4 * (dx - dy + b2);
        }
    }
    // Region 2: down to the side (a, 0); y steps every time.
    d = b2 * (2 * x + 1) * (2 * x + 1) + 4 * a2 * (y - 1) * (y - 1) - 4 * a2 * b2;
    while (y >= 0) {
        mirror(x, y);
        --y;
        dy -= 2 * a2;
        if (d > 0) {
            d += 4 * (a2 - dy);
        } else {
            ++x;
            dx += 2 * b2;
            d += 4 * (dx - dy + a2);
        }
    }
}

std::uint32_t PenBits(Rgb color) {
    return (static_cast<std::uint32_t>(RedOf(color)) << 16) | (static_cast<std::uint32_t>(GreenOf(color)) << 8) |
           BlueOf(color);
}

}  // namespace

QtSurface::QtSurface(int pixelWidth, int pixelHeight)
    : image_(std::max(1, pixelWidth), std::max(1, pixelHeight), QImage::Format_RGB32) {
    width_ = image_.width();
    height_ = image_.height();
    image_.fill(ToQColor(backColor_));
    font_ = MakeSubstitutedFont(fontName_, fontSize_ * kPointsToPixels);
}

QtSurface::~QtSurface() { EndPainting(); }

QPainter& QtSurface::Painter() {
    // One painter is kept open across operations: opening one per line would cost more than the
    // line. It is closed whenever the pixels are read or shown.
    BeforePainting();
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(Device());
        clipApplied_ = false;
        if (!painter_->isActive()) PainterRefused();
    }
    QPainter& painter = *painter_;
    painter.setTransform(deviceOrigin_);
    if (!clipApplied_) {
        // Set once for the kept painter: the painter holds the clip in device pixels, so the
        // transforms of later operations leave it in place.
        if (clipped_) {
            const QRectF clip = QRectF(QPointF(ToPixelX(clipLeft_), ToPixelY(clipTop_)),
                                       QPointF(ToPixelX(clipRight_), ToPixelY(clipBottom_)))
                                    .normalized();
            painter.setClipRect(clip);
        } else {
            painter.setClipping(false);
        }
        clipApplied_ = true;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setBrush(Qt::NoBrush);
    painter.setBackgroundMode(Qt::TransparentMode);
    return painter;
}

void QtSurface::SetClipRect(double left, double top, double right, double bottom) {
    clipped_ = true;
    clipLeft_ = left;
    clipTop_ = top;
    clipRight_ = right;
    clipBottom_ = bottom;
    clipApplied_ = false;
}

void QtSurface::ClearClipRect() {
    clipped_ = false;
    clipApplied_ = false;
}

void QtSurface::EndPainting() const {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

const QImage& QtSurface::Image() const {
    EndPainting();
    changeAnnounced_ = false;
    return image_;
}

void QtSurface::Changed() {
    // One announcement until the picture is next taken: a redraw of a large map draws hundreds of
    // thousands of figures, and one repaint shows them all.
    if (!onChanged || changeAnnounced_) return;
    changeAnnounced_ = true;
    onChanged();
}

void QtSurface::Resize(int pixelWidth, int pixelHeight) {
    EndPainting();
    image_ = QImage(std::max(1, pixelWidth), std::max(1, pixelHeight), QImage::Format_RGB32);
    FillBackground();
    if (!userScale_) {
        width_ = PixelWidth();
        height_ = PixelHeight();
    }
    Changed();
}

void QtSurface::SetScale(double left, double top, double width, double height) {
    // A zero or undefined extent would make every conversion meaningless; it is refused.
    if (width == 0 || height == 0 || !Finite(width, height) || !Finite(left, top)) return;
    userScale_ = true;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    clipApplied_ = false;  // the clip's pixels follow the scale
}

double QtSurface::ToPixelX(double x) const { return (x - left_) * PixelWidth() / width_; }
double QtSurface::ToPixelY(double y) const { return (y - top_) * PixelHeight() / height_; }
double QtSurface::FromPixelX(double px) const { return left_ + px * width_ / PixelWidth(); }
double QtSurface::FromPixelY(double py) const { return top_ + py * height_ / PixelHeight(); }

void QtSurface::SetBackColor(Rgb color) {
    backColor_ = color;
    EndPainting();
    FillBackground();
    Changed();
}

void QtSurface::FillBackground() {
    image_.fill(ToQColor(backColor_));
    if (clearImage_.isNull()) return;
    QPainter painter(&image_);
    painter.drawImage(0, 0, clearImage_);
}

void QtSurface::SetClearPicture(const Picture& picture) {
    clearPicture_ = picture;
    const bool whole = !picture.Empty() &&
                       picture.pixels.size() >= static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
    clearImage_ = whole ? QImage(reinterpret_cast<const uchar*>(clearPicture_.pixels.data()), picture.width,
                                 picture.height, picture.width * 4, QImage::Format_ARGB32)
                              .copy()
                        : QImage();
}

void QtSurface::SetDrawWidth(int pixels) { drawWidth_ = std::clamp(pixels, 1, 32767); }
void QtSurface::SetDrawStyle(int style) { drawStyle_ = std::clamp(style, 0, 6); }
void QtSurface::SetDrawMode(int mode) { drawMode_ = std::clamp(mode, 1, 16); }
void QtSurface::SetFillStyle(int style) { fillStyle_ = std::clamp(style, 0, 7); }

bool QtSurface::PenVisible() const { return drawStyle_ != DrawStyleInvisible; }

// The broken styles exist only one pixel wide; the patterns are the old device's.
std::vector<int> QtSurface::Dashes() const {
    if (drawWidth_ != 1) return {};
    switch (drawStyle_) {
        case DrawStyleDash: return {18, 6};
        case DrawStyleDot: return {3, 3};
        case DrawStyleDashDot: return {9, 6, 3, 6};
        case DrawStyleDashDotDot: return {9, 3, 3, 3, 3, 3};
        default: return {};
    }
}

QPen QtSurface::PenFor(Rgb color) const {
    QPen pen(ToQColor(color));
    if (!PenVisible()) return QPen(Qt::NoPen);
    pen.setWidth(drawWidth_);
    pen.setCosmetic(true);
    if (drawWidth_ == 1) {
        std::vector<int> dashes = Dashes();
        if (!dashes.empty()) pen.setDashPattern(QList<qreal>(dashes.begin(), dashes.end()));
        pen.setCapStyle(Qt::SquareCap);
    } else {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

// Sets the painter's raster operation; the two constant modes draw in black or white.
void QtSurface::ApplyDrawMode(QPainter& painter, Rgb* color) const {
    if (drawMode_ == DrawModeBlackness) *color = 0;
    if (drawMode_ == DrawModeWhiteness) *color = MakeRgb(255, 255, 255);
    painter.setCompositionMode(CompositionFor(drawMode_));
}

void QtSurface::PlotThinLine(QPoint from, QPoint to, Rgb color) {
    const int w = image_.width(), h = image_.height();
    const int mode = drawMode_;
    const std::uint32_t pen = PenBits(color);
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const std::vector<int> dashes = drawStyle_ == DrawStyleSolid ? std::vector<int>() : Dashes();
    if (mode == DrawModeCopyPen) {
        // The usual mode writes the pen whatever lies beneath.
        const std::uint32_t value = 0xFF000000u | pen;
        ForEachLinePixel(from, to, dashes, false, [&](int x, int y) {
            if (static_cast<unsigned>(x) >= static_cast<unsigned>(w) || static_cast<unsigned>(y) >= static_cast<unsigned>(h))
                return;
            reinterpret_cast<std::uint32_t*>(bits + y * stride)[x] = value;
        });
        return;
    }
    ForEachLinePixel(from, to, dashes, false, [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        auto* pixel = reinterpret_cast<std::uint32_t*>(bits + y * stride) + x;
        *pixel = 0xFF000000u | (RasterOp(mode, pen, *pixel & 0xFFFFFFu) & 0xFFFFFFu);
    });
}

// The pixels the painter's stroker covers for a wide line from (0, 0) to `delta`. Lines with whole
// end points cover the same pixels wherever they lie, so each shape is stroked once, on a scratch
// image, and then only moved.
const std::vector<QPoint>& QtSurface::WideLineShape(QPoint delta) {
    const std::uint64_t key = (static_cast<std::uint64_t>(drawWidth_) << 32) |
                              (static_cast<std::uint64_t>(delta.x() + 0x8000) << 16) |
                              static_cast<std::uint64_t>(delta.y() + 0x8000);
    auto found = wideLineShapes_.find(key);
    if (found != wideLineShapes_.end()) return found->second;
    // The cache is bounded (some 16 MB of points); past the bound it starts again.
    if (wideLineShapePoints_ > (std::size_t{1} << 21)) {
        wideLineShapes_.clear();
        wideLineShapePoints_ = 0;
    }

    const int margin = drawWidth_ + 2;
    const QPoint origin(margin + std::max(0, -delta.x()), margin + std::max(0, -delta.y()));
    QImage scratch(std::abs(delta.x()) + 2 * margin + 1, std::abs(delta.y()) + 2 * margin + 1, QImage::Format_RGB32);
    scratch.fill(0);
    {
        QPainter painter(&scratch);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(PenFor(MakeRgb(255, 255, 255)));
        painter.drawLine(origin, origin + delta);
    }
    std::vector<QPoint> shape;
    for (int y = 0; y < scratch.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width(); ++x)
            if ((row[x] & 0xFFFFFFu) != 0) shape.emplace_back(x - origin.x(), y - origin.y());
    }
    wideLineShapePoints_ += shape.size();
    return wideLineShapes_.emplace(key, std::move(shape)).first->second;
}

void QtSurface::PlotWideLine(QPoint from, QPoint to, Rgb color) {
    const int w = image_.width(), h = image_.height();
    const int mode = drawMode_;
    const std::uint32_t pen = PenBits(color);
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const std::vector<QPoint>& shape = WideLineShape(to - from);
    if (mode == DrawModeCopyPen) {
        const std::uint32_t value = 0xFF000000u | pen;
        for (QPoint offset : shape) {
            const int x = from.x() + offset.x(), y = from.y() + offset.y();
            if (static_cast<unsigned>(x) >= static_cast<unsigned>(w) || static_cast<unsigned>(y) >= static_cast<unsigned>(h))
                continue;
            reinterpret_cast<std::uint32_t*>(bits + y * stride)[x] = value;
        }
        return;
    }
    for (QPoint offset : shape) {
        const int x = from.x() + offset.x(), y = from.y() + offset.y();
        if (x < 0 || y < 0 || x >= w || y >= h) continue;
        auto* pixel = reinterpret_cast<std::uint32_t*>(bits + y * stride) + x;
        *pixel = 0xFF000000u | (RasterOp(mode, pen, *pixel & 0xFFFFFFu) & 0xFFFFFFu);
    }
}

void QtSurface::PlotThinEllipse(QPoint centre, int rx, int ry, Rgb color) {
    const int w = image_.width(), h = image_.height();
    // Nothing of it on the picture: no pixel to visit.
    if (centre.x() + rx < 0 || centre.y() + ry < 0 || centre.x() - rx >= w || centre.y() - ry >= h) return;
    const int mode = drawMode_;
    const std::uint32_t pen = PenBits(color);
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const int cx = centre.x(), cy = centre.y();
    ForEachEllipsePixel(rx, ry, [&](int dx, int dy) {
        const int x = cx + dx, y = cy + dy;
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        auto* pixel = reinterpret_cast<std::uint32_t*>(bits + y * stride) + x;
        *pixel = 0xFF000000u | (RasterOp(mode, pen, *pixel & 0xFFFFFFu) & 0xFFFFFFu);
    });
}

void QtSurface::Line(double x1, double y1, double x2, double y2, Rgb color, LineShape shape) {
    currentX_ = x2;
    currentY_ = y2;
    if (!Finite(x1, y1) || !Finite(x2, y2) || drawMode_ == DrawModeNop) return;
    Rgb penColor = color < 0 ? foreColor_ : color;
    QPointF a = ToPixel(x1, y1), b = ToPixel(x2, y2);

    if (shape == LineShape::Line) {
        if (!PenVisible()) return;
        double margin = drawWidth_ + 2;
        QRectF bounds(-margin, -margin, PixelWidth() + 2 * margin, PixelHeight() + 2 * margin);
        if (!ClipSegment(a, b, bounds)) return;
        QPoint from(RoundPixel(a.x()), RoundPixel(a.y())), to(RoundPixel(b.x()), RoundPixel(b.y()));
        if (drawWidth_ == 1 && Device() == &image_) {
            // Thin lines are most of a map: they go straight into the picture's pixels, which
            // costs a fraction of a painter call per pixel; the painter is not needed at all.
            if (drawMode_ == DrawModeBlackness) penColor = 0;
            if (drawMode_ == DrawModeWhiteness) penColor = MakeRgb(255, 255, 255);
            PlotThinLine(from, to, penColor);
            Changed();
            return;
        }
        if (drawWidth_ <= kCachedStrokeWidth && Device() == &image_ && std::abs(to.x() - from.x()) <= kCachedStrokeReach &&
            std::abs(to.y() - from.y()) <= kCachedStrokeReach) {
            // Short wide lines, a map's heavier pens and hatching: the painter's stroker would
            // build and flatten two round caps for each of them.
            if (drawMode_ == DrawModeBlackness) penColor = 0;
            if (drawMode_ == DrawModeWhiteness) penColor = MakeRgb(255, 255, 255);
            PlotWideLine(from, to, penColor);
            Changed();
            return;
        }
        QPainter& painter = Painter();
        ApplyDrawMode(painter, &penColor);
        if (drawWidth_ == 1 && Device() == &image_) {
            QPolygon pixels;
            AddLinePixels(pixels, from, to, Dashes());
            painter.setPen(QPen(ToQColor(penColor), 1));
            painter.drawPoints(pixels);
        } else {
            painter.setPen(PenFor(penColor));
            painter.drawLine(from, to);
        }
        Changed();
        return;
    }

    // Boxes take both corners in; far corners are pulled in to just outside the picture.
    auto clampCoord = [](double v, int size) { return std::clamp(v, -64.0, size + 64.0); };
    int left = RoundPixel(clampCoord(std::min(a.x(), b.x()), PixelWidth()));
    int right = RoundPixel(clampCoord(std::max(a.x(), b.x()), PixelWidth()));
    int top = RoundPixel(clampCoord(std::min(a.y(), b.y()), PixelHeight()));
    int bottom = RoundPixel(clampCoord(std::max(a.y(), b.y()), PixelHeight()));
    QPainter& painter = Painter();
    if (shape == LineShape::FilledBox) {
        ApplyDrawMode(painter, &penColor);
        painter.fillRect(QRect(left, top, right - left + 1, bottom - top + 1), ToQColor(penColor));
        Changed();
        return;
    }
    Rgb fill = fillColor_;
    ApplyDrawMode(painter, &penColor);
    if (fillStyle_ != FillStyleTransparent) {
        if (drawMode_ == DrawModeBlackness || drawMode_ == DrawModeWhiteness) fill = penColor;
        // The inside stops where the outline starts, so no pixel is drawn twice.
        int inset = !PenVisible() ? 0 : drawStyle_ == DrawStyleInsideSolid ? drawWidth_ : (drawWidth_ + 1) / 2;
        QRect inside(left + inset, top + inset, right - left + 1 - 2 * inset, bottom - top + 1 - 2 * inset);
        if (inside.width() > 0 && inside.height() > 0)
            painter.fillRect(inside, QBrush(ToQColor(fill), BrushFor(fillStyle_)));
    }
    if (PenVisible()) {
        painter.setPen(PenFor(penColor));
        int inset = drawStyle_ == DrawStyleInsideSolid ? drawWidth_ / 2 : 0;
        QRect outline(left + inset, top + inset, right - left - 2 * inset, bottom - top - 2 * inset);
        if (outline.width() < 0 || outline.height() < 0) outline = QRect(left, top, right - left, bottom - top);
        // Four sides that share no pixel, so the inverting pen leaves no hole at the corners.
        if (drawWidth_ == 1 && Device() == &image_) {
            QPolygon pixels;
            QPoint topLeft(left, top), topRight(right, top), bottomRight(right, bottom), bottomLeft(left, bottom);
            if (left == right || top == bottom) {
                AddLinePixels(pixels, topLeft, bottomRight, Dashes(), true);
            } else {
                AddLinePixels(pixels, topLeft, topRight, Dashes());
                AddLinePixels(pixels, topRight, bottomRight, Dashes());
                AddLinePixels(pixels, bottomRight, bottomLeft, Dashes());
                AddLinePixels(pixels, bottomLeft, topLeft, Dashes());
            }
            painter.setPen(QPen(ToQColor(penColor), 1));
            painter.drawPoints(pixels);
        } else {
            painter.drawRect(outline);
        }
    }
    Changed();
}

double QtSurface::RadiusPixels(double radius) const { return std::fabs(radius * PixelWidth() / width_); }

void QtSurface::Circle(double x, double y, double radius, Rgb color, bool hasArc, double start, double end,
                       double aspect) {
    currentX_ = x;
    currentY_ = y;
    if (!Finite(x, y) || !Finite(radius, aspect) || !Finite(start, end) || drawMode_ == DrawModeNop) return;
    Rgb penColor = color < 0 ? foreColor_ : color;
    double r = RadiusPixels(radius);
    double ratio = std::fabs(aspect);
    // The radius lies along the longer axis.
    double rx = ratio < 1 ? r : r / ratio;
    double ry = ratio < 1 ? r * ratio : r;
    QPointF centre = ToPixel(x, y);
    if (rx > kFarPixels || ry > kFarPixels) return;
    if (std::fabs(centre.x()) > kFarPixels || std::fabs(centre.y()) > kFarPixels) return;
    centre = QPointF(RoundPixel(centre.x()), RoundPixel(centre.y()));
    QRectF box(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry);

    // A plain one-pixel outline, the point symbols' rings, goes straight into the picture's
    // pixels: the painter would flatten Bezier curves for each of them. Arcs, fills, wide and
    // broken pens stay with the painter. Beyond the bound the whole numbers of the plotter
    // could run out; such rings are rare.
    constexpr double kDirectRadius = 32768;
    if (!hasArc && fillStyle_ == FillStyleTransparent && drawWidth_ == 1 && Device() == &image_ &&
        (drawStyle_ == DrawStyleSolid || drawStyle_ == DrawStyleInsideSolid) && rx < kDirectRadius &&
        ry < kDirectRadius) {
        if (drawMode_ == DrawModeBlackness) penColor = 0;
        if (drawMode_ == DrawModeWhiteness) penColor = MakeRgb(255, 255, 255);
        PlotThinEllipse(QPoint(static_cast<int>(centre.x()), static_cast<int>(centre.y())), RoundPixel(rx),
                        RoundPixel(ry), penColor);
        Changed();
        return;
    }

    QPainter& painter = Painter();
    ApplyDrawMode(painter, &penColor);
    painter.setPen(PenFor(penColor));
    Rgb fill = (drawMode_ == DrawModeBlackness || drawMode_ == DrawModeWhiteness) ? penColor : fillColor_;
    QBrush brush = fillStyle_ == FillStyleTransparent ? QBrush(Qt::NoBrush)
                                                      : QBrush(ToQColor(fill), BrushFor(fillStyle_));
    if (!hasArc) {
        painter.setBrush(brush);
        painter.drawEllipse(box);
        Changed();
        return;
    }

    const double turn = 2 * std::numbers::pi;
    double from = std::fmod(std::fabs(start), turn);
    double to = std::fmod(std::fabs(end), turn);
    double span = to - from;
    if (span <= 0) span += turn;
    auto degrees = [](double radians) { return radians * 180.0 / std::numbers::pi; };
    auto pointAt = [&](double angle) {
        // Counter-clockwise on the picture, whichever way the user's y points.
        return QPointF(centre.x() + rx * std::cos(angle), centre.y() - ry * std::sin(angle));
    };
    bool radiusToStart = start < 0;
    bool radiusToEnd = end < 0;
    QPainterPath path;
    if (radiusToStart) {
        path.moveTo(centre);
        path.lineTo(pointAt(from));
    } else {
        path.moveTo(pointAt(from));
    }
    path.arcTo(box, degrees(from), degrees(span));
    if (radiusToEnd) path.lineTo(centre);
    // Only a closed sector has an inside to fill.
    painter.setBrush(radiusToStart && radiusToEnd ? brush : QBrush(Qt::NoBrush));
    painter.drawPath(path);
    Changed();
}

void QtSurface::PSet(double x, double y, Rgb color) {
    currentX_ = x;
    currentY_ = y;
    if (!Finite(x, y) || drawMode_ == DrawModeNop) return;
    QPointF p = ToPixel(x, y);
    if (p.x() < -drawWidth_ || p.y() < -drawWidth_ || p.x() > PixelWidth() + drawWidth_ ||
        p.y() > PixelHeight() + drawWidth_)
        return;
    Rgb penColor = color < 0 ? foreColor_ : color;
    QPainter& painter = Painter();
    ApplyDrawMode(painter, &penColor);
    int px = RoundPixel(p.x()), py = RoundPixel(p.y());
    if (drawWidth_ <= 1) {
        painter.fillRect(QRect(px, py, 1, 1), ToQColor(penColor));
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQColor(penColor));
        double d = drawWidth_;
        painter.drawEllipse(QRectF(px + 0.5 - d / 2, py + 0.5 - d / 2, d, d));
    }
    Changed();
}

Rgb QtSurface::Point(double x, double y) const {
    if (!Finite(x, y)) return -1;
    double px = std::floor(ToPixelX(x)), py = std::floor(ToPixelY(y));
    if (!(px >= 0 && py >= 0 && px < PixelWidth() && py < PixelHeight())) return -1;
    EndPainting();
    return FromQRgb(image_.pixel(static_cast<int>(px), static_cast<int>(py)));
}

void QtSurface::Cls() {
    EndPainting();
    FillBackground();
    currentX_ = 0;
    currentY_ = 0;
    Changed();
}

void QtSurface::SetFont(const std::string& faceName, double sizePoints, bool bold, bool italic, bool underline) {
    fontName_ = faceName;
    if (sizePoints > 0 && std::isfinite(sizePoints)) fontSize_ = std::min(sizePoints, 2048.0);
    bold_ = bold;
    italic_ = italic;
    underline_ = underline;
    font_ = MakeSubstitutedFont(fontName_, fontSize_ * PixelsPerPoint(), bold_, italic_, underline_);
}

void QtSurface::DrawTextLines(const QString& text, QPointF topLeft, const QFont& font, bool opaque) {
    QPainter& painter = Painter();
    painter.setFont(font);
    QFontMetricsF metrics(font);
    if (opaque) painter.fillRect(QRectF(topLeft, QSizeF(metrics.horizontalAdvance(text), metrics.height())), ToQColor(backColor_));
    const QPointF baseline(topLeft.x(), topLeft.y() + metrics.ascent());
    if (!opaque && foreColor_ == backColor_ && Device() == &image_) {
        // Text printed again in the back colour erases a preview. Smoothed glyphs drawn over
        // smoothed glyphs would leave a faint fringe, so the erasure covers the glyph outlines
        // and a pixel and a half around them, unsmoothed.
        QPainterPath outline;
        outline.addText(baseline, font, text);
        const QColor back = ToQColor(backColor_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(back, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(back);
        painter.drawPath(outline);
        painter.setBrush(Qt::NoBrush);
    }
    painter.setPen(ToQColor(foreColor_));
    painter.drawText(baseline, text);
}

void QtSurface::Print(const std::string& text, bool newLine) {
    QStringList lines = SplitLines(text);
    QFontMetricsF metrics(font_);
    double lineHeight = metrics.height() * height_ / PixelHeight();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QPointF at = ToPixel(currentX_, currentY_);
        if (Finite(at.x(), at.y()) && std::fabs(at.x()) < kFarPixels && std::fabs(at.y()) < kFarPixels) {
            DrawTextLines(lines[i], at, font_, !fontTransparent_);
        }
        bool last = i + 1 == lines.size();
        if (!last || newLine) {
            currentX_ = left_;
            currentY_ += lineHeight;
        } else {
            currentX_ += metrics.horizontalAdvance(lines[i]) * width_ / PixelWidth();
        }
    }
    Changed();
}

double QtSurface::TextWidth(const std::string& text) const {
    QFontMetricsF metrics(font_);
    double widest = 0;
    for (const QString& line : SplitLines(text)) widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest * width_ / PixelWidth();
}

double QtSurface::TextHeight(const std::string& text) const {
    QFontMetricsF metrics(font_);
    return SplitLines(text).size() * metrics.height() * height_ / PixelHeight();
}

void QtSurface::PaintPicture(const Picture& picture, double x, double y, double w, double h) {
    if (picture.Empty() || picture.pixels.size() < static_cast<size_t>(picture.width) * picture.height) return;
    if (!Finite(x, y) || !Finite(w, h)) return;
    QPointF a = ToPixel(x, y), b = ToPixel(x + w, y + h);
    if (std::fabs(a.x()) > kFarPixels || std::fabs(a.y()) > kFarPixels || std::fabs(b.x()) > kFarPixels ||
        std::fabs(b.y()) > kFarPixels)
        return;
    const QRectF target = QRectF(a, b).normalized();
    // Only the part of the picture that lands on the surface is converted and scaled: a large
    // photo mostly off the canvas, or many of them, would otherwise cost a whole-picture pass each.
    const QRectF visible = target.intersected(QRectF(0, 0, PixelWidth(), PixelHeight()));
    if (visible.isEmpty() || target.width() <= 0 || target.height() <= 0) return;
    const double sx = picture.width / target.width(), sy = picture.height / target.height();
    // A target given right to left or bottom to top shows the picture mirrored.
    const bool mirrorX = b.x() < a.x(), mirrorY = b.y() < a.y();
    double left = (visible.left() - target.left()) * sx, top = (visible.top() - target.top()) * sy;
    if (mirrorX) left = picture.width - (visible.right() - target.left()) * sx;
    if (mirrorY) top = picture.height - (visible.bottom() - target.top()) * sy;
    const QRect part = QRectF(left, top, visible.width() * sx, visible.height() * sy)
                           .toAlignedRect()
                           .intersected(QRect(0, 0, picture.width, picture.height));
    if (part.isEmpty()) return;
    // The part was widened to whole source pixels: its target grows by the same fraction.
    const QRectF partTarget(mirrorX ? target.right() - (part.x() + part.width()) / sx : target.left() + part.x() / sx,
                            mirrorY ? target.bottom() - (part.y() + part.height()) / sy : target.top() + part.y() / sy,
                            part.width() / sx, part.height() / sy);
    // The part read in place, without copying the picture.
    const auto* first = reinterpret_cast<const uchar*>(picture.pixels.data()) +
                        (static_cast<std::size_t>(part.y()) * picture.width + part.x()) * 4;
    const QImage source(first, part.width(), part.height(), picture.width * 4, QImage::Format_ARGB32);
    // A photo shown much smaller than it is is first thinned to twice the size it is shown at, so
    // the smooth scaling reads what it shows rather than every pixel of the photo.
    const QSize twice(std::max(1, static_cast<int>(std::ceil(partTarget.width() * 2))),
                      std::max(1, static_cast<int>(std::ceil(partTarget.height() * 2))));
    QImage shown = part.width() > twice.width() || part.height() > twice.height()
                       ? source.scaled(twice.boundedTo(part.size()), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                       : source.copy();
    if (mirrorX || mirrorY) shown = shown.mirrored(mirrorX, mirrorY);
    QPainter& painter = Painter();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(partTarget, shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    Changed();
}

void QtSurface::FloodFill(int pixelX, int pixelY, Rgb color, int kind) {
    const int w = PixelWidth(), h = PixelHeight();
    if (pixelX < 0 || pixelY < 0 || pixelX >= w || pixelY >= h) return;
    EndPainting();
    const QRgb key = ToQColor(color).rgb() & 0xFFFFFFu;
    auto pixelAt = [&](int px, int py) {
        return reinterpret_cast<const QRgb*>(image_.constScanLine(py))[px] & 0xFFFFFFu;
    };
    auto fillable = [&](int px, int py) {
        QRgb value = pixelAt(px, py);
        return kind == FloodFillSurface ? value == key : value != key;
    };
    if (!fillable(pixelX, pixelY)) return;

    // Scanline fill into a mask: each pixel is taken at most once, so the work is bounded by
    // the picture's size whatever its content.
    std::vector<unsigned char> mask(static_cast<size_t>(w) * h, 0);
    auto taken = [&](int px, int py) { return mask[static_cast<size_t>(py) * w + px] != 0; };
    std::vector<std::pair<int, int>> seeds{{pixelX, pixelY}};
    while (!seeds.empty()) {
        auto [sx, sy] = seeds.back();
        seeds.pop_back();
        if (taken(sx, sy) || !fillable(sx, sy)) continue;
        int left = sx, right = sx;
        while (left > 0 && !taken(left - 1, sy) && fillable(left - 1, sy)) --left;
        while (right + 1 < w && !taken(right + 1, sy) && fillable(right + 1, sy)) ++right;
        for (int px = left; px <= right; ++px) mask[static_cast<size_t>(sy) * w + px] = 1;
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h) continue;
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                bool open = !taken(px, ny) && fillable(px, ny);
                if (open && !inRun) seeds.emplace_back(px, ny);
                inRun = open;
            }
        }
    }

    // The fill takes the fill colour and style; a transparent fill style fills nothing.
    if (fillStyle_ == FillStyleTransparent) return;
    // A solid fill needs no pattern picture: the colour goes straight into the masked pixels.
    if (fillStyle_ == FillStyleSolid) {
        const QRgb solid = ToQColor(fillColor_).rgb() | 0xFF000000u;
        for (int py = 0; py < h; ++py) {
            auto* row = reinterpret_cast<QRgb*>(image_.scanLine(py));
            const unsigned char* taken = mask.data() + static_cast<size_t>(py) * w;
            for (int px = 0; px < w; ++px)
                if (taken[px]) row[px] = solid;
        }
        Changed();
        return;
    }
    QImage pattern(w, h, QImage::Format_ARGB32);
    pattern.fill(Qt::transparent);
    {
        QPainter patternPainter(&pattern);
        patternPainter.fillRect(pattern.rect(), QBrush(ToQColor(fillColor_), BrushFor(fillStyle_)));
    }
    for (int py = 0; py < h; ++py) {
        auto* row = reinterpret_cast<QRgb*>(image_.scanLine(py));
        const auto* source = reinterpret_cast<const QRgb*>(pattern.constScanLine(py));
        for (int px = 0; px < w; ++px)
            if (mask[static_cast<size_t>(py) * w + px] && qAlpha(source[px]) != 0) row[px] = source[px] | 0xFF000000u;
    }
    Changed();
}

FontHandle QtSurface::CreateFontIndirect(const LogicalFont& font) {
    FontHandle handle = nextFont_++;
    DeviceFont made;
    made.logical = font;
    made.font = DeviceQFont(font, &made.stretch);
    fonts_[handle] = made;
    return handle;
}

FontHandle QtSurface::SelectFont(FontHandle font) {
    if (font != 0 && !fonts_.contains(font)) return 0;
    FontHandle previous = selectedFont_;
    selectedFont_ = font;
    return previous;
}

bool QtSurface::DeleteFont(FontHandle font) {
    if (fonts_.erase(font) == 0) return false;
    if (selectedFont_ == font) selectedFont_ = 0;
    return true;
}

QFont QtSurface::DeviceQFont(const LogicalFont& logical, double* stretch) const {
    double em = font_.pixelSize();
    if (logical.height < 0) {
        em = -static_cast<double>(logical.height);
    } else if (logical.height > 0) {
        // A positive height is the whole cell. The Chinese faces the maps name have cells exactly
        // one em high, while their stand-ins here add room above and below the letters, so for
        // them the cell is the em; a Latin face gives its letters that part of the cell its own
        // metrics give.
        const FaceKind kind = ClassifyFace(logical.faceName);
        if (kind == FaceKind::Song || kind == FaceKind::Hei || kind == FaceKind::Kai) {
            em = logical.height;
        } else {
            QFont probe = MakeSubstitutedFont(logical.faceName, logical.height);
            double cell = QFontMetricsF(probe).height();
            em = cell > 0 ? logical.height * logical.height / cell : logical.height;
        }
    }
    em = std::clamp(em, 1.0, 4000.0);
    QFont font = MakeSubstitutedFont(logical.faceName, em, false, logical.italic, logical.underline);
    int weight = logical.weight <= 0 ? 400 : std::clamp(logical.weight, 100, 900);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setStrikeOut(logical.strikeOut);
    if (stretch) {
        // The width is the average character width, half the em in the Chinese faces' cells.
        *stretch = logical.width > 0 ? std::clamp(logical.width / (font.pixelSize() / 2.0), 0.05, 20.0) : 1.0;
    }
    return font;
}

void QtSurface::TextOut(int pixelX, int pixelY, const std::string& text) {
    QFont font = font_;
    double stretch = 1;
    double escapement = 0, orientation = 0;
    auto selected = fonts_.find(selectedFont_);
    if (selected != fonts_.end()) {
        font = selected->second.font;
        stretch = selected->second.stretch;
        escapement = selected->second.logical.escapement / 10.0 * std::numbers::pi / 180.0;
        orientation = selected->second.logical.orientation / 10.0 * std::numbers::pi / 180.0;
    }
    // Text runs along the escapement; its letters stand upright along the orientation. When the
    // two differ the letters lean: a shear. Angles count counter-clockwise on the picture.
    QTransform place(stretch * std::cos(escapement), -stretch * std::sin(escapement), std::sin(orientation),
                     std::cos(orientation), pixelX, pixelY);
    QPainter& painter = Painter();
    painter.setTransform(place * world_ * deviceOrigin_);
    painter.setFont(font);
    QFontMetricsF metrics(font);
    QString line = FromUtf8(text);
    if (!fontTransparent_)
        painter.fillRect(QRectF(0, 0, metrics.horizontalAdvance(line), metrics.height()), ToQColor(backColor_));
    painter.setPen(ToQColor(foreColor_));
    painter.drawText(QPointF(0, metrics.ascent()), line);
    painter.setTransform(deviceOrigin_);
    Changed();
}

void QtSurface::SetWorldTransform(const WorldTransform& t) { world_ = QTransform(t.m11, t.m12, t.m21, t.m22, t.dx, t.dy); }

void QtSurface::ResetWorldTransform() { world_ = QTransform(); }

Picture QtSurface::Snapshot() const {
    EndPainting();
    Picture picture;
    picture.width = PixelWidth();
    picture.height = PixelHeight();
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        for (int x = 0; x < picture.width; ++x)
            picture.pixels[static_cast<size_t>(y) * picture.width + x] = row[x] | 0xFF000000u;
    }
    return picture;
}

void QtSurface::Refresh() { Changed(); }

}  // namespace movra
