#pragma once
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/Surface.h"

namespace movra {

// The canvas drawing model over a QImage backing store (RGB32, so the raster operations of the
// draw modes work). Pen figures are drawn without antialiasing: the inverting pen must hit the
// same pixels twice to restore them. Text is antialiased and ignores the draw mode.
//
// The geometry and the state live here; the pixels are the image's. A printer surface takes the
// same drawing code over its own device: it overrides Device() and the pixel size, and the
// operations that read pixels back (Point, FloodFill, Snapshot) or clear them.
class QtSurface : public Surface {
public:
    QtSurface(int pixelWidth, int pixelHeight);
    ~QtSurface() override;

    int PixelWidth() const override { return image_.width(); }
    int PixelHeight() const override { return image_.height(); }
    void Resize(int pixelWidth, int pixelHeight) override;

    void SetScale(double left, double top, double width, double height) override;
    double ScaleLeft() const override { return left_; }
    double ScaleTop() const override { return top_; }
    double ScaleWidth() const override { return width_; }
    double ScaleHeight() const override { return height_; }

    double ToPixelX(double x) const override;
    double ToPixelY(double y) const override;
    double FromPixelX(double px) const override;
    double FromPixelY(double py) const override;

    void SetForeColor(Rgb color) override { foreColor_ = color; }
    Rgb ForeColor() const override { return foreColor_; }
    void SetBackColor(Rgb color) override;
    Rgb BackColor() const override { return backColor_; }
    void SetDrawWidth(int pixels) override;
    int DrawWidth() const override { return drawWidth_; }
    void SetDrawStyle(int style) override;
    int DrawStyle() const override { return drawStyle_; }
    void SetDrawMode(int mode) override;
    int DrawMode() const override { return drawMode_; }
    void SetFillStyle(int style) override;
    int FillStyle() const override { return fillStyle_; }
    void SetFillColor(Rgb color) override { fillColor_ = color; }
    Rgb FillColor() const override { return fillColor_; }

    void SetCurrentX(double x) override { currentX_ = x; }
    void SetCurrentY(double y) override { currentY_ = y; }
    double CurrentX() const override { return currentX_; }
    double CurrentY() const override { return currentY_; }

    void Line(double x1, double y1, double x2, double y2, Rgb color = -1,
              LineShape shape = LineShape::Line) override;
    void Circle(double x, double y, double radius, Rgb color = -1, bool hasArc = false,
                double start = 0, double end = 0, double aspect = 1.0) override;
    void PSet(double x, double y, Rgb color = -1) override;
    Rgb Point(double x, double y) const override;
    void Cls() override;
    void SetClearPicture(const Picture& picture) override;
    const Picture& ClearPicture() const override { return clearPicture_; }

    void SetFont(const std::string& faceName, double sizePoints, bool bold = false,
                 bool italic = false, bool underline = false) override;
    std::string FontName() const override { return fontName_; }
    double FontSize() const override { return fontSize_; }
    void SetFontTransparent(bool transparent) override { fontTransparent_ = transparent; }
    void Print(const std::string& text, bool newLine = true) override;
    double TextWidth(const std::string& text) const override;
    double TextHeight(const std::string& text) const override;

    void PaintPicture(const Picture& picture, double x, double y, double w, double h) override;
    void FloodFill(int pixelX, int pixelY, Rgb color, int kind) override;

    FontHandle CreateFontIndirect(const LogicalFont& font) override;
    FontHandle SelectFont(FontHandle font) override;
    bool DeleteFont(FontHandle font) override;
    void TextOut(int pixelX, int pixelY, const std::string& text) override;
    void SetWorldTransform(const WorldTransform& transform) override;
    void ResetWorldTransform() override;

    // The clip holds for everything the painter draws, which is all of a printer's page; on the
    // picture, lines written pixel by pixel pass it by (nothing clips the canvas).
    void SetClipRect(double left, double top, double right, double bottom) override;
    void ClearClipRect() override;

    Picture Snapshot() const override;
    void Refresh() override;

    // The picture as it stands, for the widget that shows it.
    const QImage& Image() const;
    // Runs after anything changed the picture (the widget schedules a repaint) and on Refresh,
    // once until the picture is next taken with Image().
    std::function<void()> onChanged;

    // The surface font as Qt draws it (the face substituted by an installed family).
    QFont CurrentQFont() const { return font_; }
    // The Qt font a created font draws with, and the horizontal stretch its width asks for.
    QFont DeviceQFont(const LogicalFont& font, double* stretch = nullptr) const;

protected:
    // The device the painter draws on. On any other device than the picture, lines are drawn
    // with the painter's pen rather than pixel by pixel.
    virtual QPaintDevice* Device() { return &image_; }
    // Runs before each drawing operation takes the painter (a printer opens its page here).
    virtual void BeforePainting() {}
    // Runs when a new painter could not be opened on the device (a file that cannot be written).
    // The picture's painter always opens; a printer raises its failure here.
    virtual void PainterRefused() {}
    // Device pixels per point of a font size.
    virtual double PixelsPerPoint() const { return 96.0 / 72.0; }
    // Where pixel (0, 0) lies on the device (a printer's page window lies inside the paper).
    QTransform deviceOrigin_;
    // The painter kept open on the device, reset to plain drawing for one operation.
    QPainter& Painter();
    // A one-pixel line written straight into the picture with the draw mode's raster operation.
    void PlotThinLine(QPoint from, QPoint to, Rgb color);
    // A one-pixel ellipse outline of whole half axes written the same way, each pixel once.
    void PlotThinEllipse(QPoint centre, int rx, int ry, Rgb color);
    // A short wide line written the same way, over the pixels the painter would stroke.
    void PlotWideLine(QPoint from, QPoint to, Rgb color);
    const std::vector<QPoint>& WideLineShape(QPoint delta);
    // Closes the kept painter (before pixels are read or shown).
    void EndPainting() const;
    void Changed();

private:
    QPen PenFor(Rgb color) const;
    void ApplyDrawMode(QPainter& painter, Rgb* color) const;
    bool PenVisible() const;
    std::vector<int> Dashes() const;
    QPointF ToPixel(double x, double y) const { return {ToPixelX(x), ToPixelY(y)}; }
    double RadiusPixels(double radius) const;
    void DrawTextLines(const QString& text, QPointF topLeft, const QFont& font, bool opaque);

    // Fills the image with the back colour and the clear picture.
    void FillBackground();

    QImage image_;
    Picture clearPicture_;
    QImage clearImage_;
    mutable std::unique_ptr<QPainter> painter_;
    // A repaint was asked for and the picture has not been taken since.
    mutable bool changeAnnounced_ = false;
    bool userScale_ = false;
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
    // The clip rectangle in user units, and whether the kept painter has it already.
    bool clipped_ = false;
    double clipLeft_ = 0, clipTop_ = 0, clipRight_ = 0, clipBottom_ = 0;
    mutable bool clipApplied_ = false;
    Rgb foreColor_ = 0;
    Rgb backColor_ = MakeRgb(255, 255, 255);
    int drawWidth_ = 1;
    int drawStyle_ = DrawStyleSolid;
    int drawMode_ = DrawModeCopyPen;
    int fillStyle_ = FillStyleTransparent;
    Rgb fillColor_ = 0;
    double currentX_ = 0, currentY_ = 0;
    std::string fontName_ = "宋体";
    double fontSize_ = 9;
    bool bold_ = false, italic_ = false, underline_ = false;
    bool fontTransparent_ = true;
    QFont font_;
    FontHandle nextFont_ = 1;
    FontHandle selectedFont_ = 0;
    // Each created font with the Qt font made for it once, at creation.
    struct DeviceFont {
        LogicalFont logical;
        QFont font;
        double stretch = 1;
    };
    std::map<FontHandle, DeviceFont> fonts_;
    QTransform world_;
    // The pixels of each wide line shape stroked so far, by width and extent.
    std::unordered_map<std::uint64_t, std::vector<QPoint>> wideLineShapes_;
    std::size_t wideLineShapePoints_ = 0;
};

}  // namespace movra
