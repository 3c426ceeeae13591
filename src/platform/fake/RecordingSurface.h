#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/Surface.h"

namespace movra {

// One thing drawn on a RecordingSurface, with the surface state it was drawn in.
struct SurfacePrimitive {
    enum class Kind { Line, Box, FilledBox, Circle, Point, Clear, Print, Picture, FloodFill, TextOut };
    Kind kind = Kind::Line;
    // User coordinates: the two ends of a line or box, the centre of a circle (x1, y1), the
    // position of a point or of printed text, the corner and size of a picture (x1, y1, x2, y2).
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double radius = 0, start = 0, end = 0, aspect = 1;
    bool hasArc = false;
    Rgb color = 0;  // the colour used (the fore colour when none was given)
    int drawWidth = 1;
    int drawStyle = 0;
    int drawMode = DrawModeCopyPen;
    int fillStyle = FillStyleTransparent;
    Rgb fillColor = 0;
    // Text: what was printed or put out, with the surface font or the selected device font.
    std::string text;
    std::string fontName;
    double fontSize = 0;
    bool bold = false, italic = false, underline = false, fontTransparent = true;
    FontHandle deviceFont = 0;
    LogicalFont logicalFont;
    WorldTransform transform;
    bool worldTransformSet = false;
    // Pixels: TextOut position, FloodFill seed.
    int pixelX = 0, pixelY = 0;
    int floodKind = 0;
    int pictureWidth = 0, pictureHeight = 0;
    // The clip rectangle in force (user units), when one was set.
    bool clipped = false;
    double clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
};

// A state-setting call, in call order: "DrawWidth" 3, "DrawStyle" 1, "ForeColor" 255, ...
struct SurfaceStateCall {
    std::string name;
    double value = 0;
    bool operator==(const SurfaceStateCall&) const = default;
};

// The canvas drawing model without pixels: it keeps the state exactly as a canvas does (scale,
// pen, fill, font, current position) and records every primitive and every state change, so
// tests of renderers and tools can assert what was drawn and which pen settings were made.
class RecordingSurface : public Surface {
public:
    RecordingSurface(int pixelWidth = 800, int pixelHeight = 600);

    int PixelWidth() const override { return pixelWidth_; }
    int PixelHeight() const override { return pixelHeight_; }
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

    void SetForeColor(Rgb color) override;
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
    void SetFillColor(Rgb color) override;
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
    // There are no pixels: every point inside reads as the back colour.
    Rgb Point(double x, double y) const override;
    void Cls() override;
    void SetClearPicture(const Picture& picture) override { clearPicture_ = picture; }
    const Picture& ClearPicture() const override { return clearPicture_; }

    void SetFont(const std::string& faceName, double sizePoints, bool bold = false,
                 bool italic = false, bool underline = false) override;
    std::string FontName() const override { return fontName_; }
    double FontSize() const override { return fontSize_; }
    void SetFontTransparent(bool transparent) override;
    void Print(const std::string& text, bool newLine = true) override;
    // A character cell is the font height (size at 96 dpi) high and half as wide per column.
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

    // The clip is not a state call: it goes with each primitive drawn under it.
    void SetClipRect(double left, double top, double right, double bottom) override;
    void ClearClipRect() override;
    bool Clipped() const { return clipped_; }

    Picture Snapshot() const override;
    void Refresh() override { ++refreshCount; }

    // What tests inspect.
    std::vector<SurfacePrimitive> primitives;
    std::vector<SurfaceStateCall> stateCalls;
    // Every font created, by handle; deleted ones stay listed in createdFonts.
    std::map<FontHandle, LogicalFont> createdFonts;
    std::vector<FontHandle> deletedFonts;
    FontHandle SelectedFont() const { return selectedFont_; }
    int refreshCount = 0;
    int LiveFontCount() const { return static_cast<int>(liveFonts_.size()); }

    // Forgets the recorded primitives and calls; the state stays.
    void ClearRecords();
    // The calls named `name`, in order.
    std::vector<SurfaceStateCall> CallsNamed(const std::string& name) const;
    // The primitives of one kind.
    std::vector<SurfacePrimitive> PrimitivesOf(SurfacePrimitive::Kind kind) const;

private:
    SurfacePrimitive Stamp(SurfacePrimitive::Kind kind, Rgb color) const;
    void Log(const char* name, double value) { stateCalls.push_back({name, value}); }
    double CellHeightPixels() const;

    int pixelWidth_;
    int pixelHeight_;
    bool userScale_ = false;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool clipped_ = false;
    double clipLeft_ = 0, clipTop_ = 0, clipRight_ = 0, clipBottom_ = 0;
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
    FontHandle nextFont_ = 1;
    FontHandle selectedFont_ = 0;
    std::map<FontHandle, bool> liveFonts_;
    WorldTransform transform_;
    bool transformSet_ = false;
    Picture clearPicture_;
};

}  // namespace movra
